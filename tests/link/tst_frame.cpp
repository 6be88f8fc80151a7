#include <QTest>

#include "link/frame.h"

class tst_Frame : public QObject {
    Q_OBJECT

private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("crc");
        QTest::newRow("empty input is the initial value") << QByteArray() << 0xC181;
        QTest::newRow("check string") << QByteArray("123456789") << 0x719C;
        QTest::newRow("local read to radio 0") << QByteArray::fromHex("0000E2000000") << 0xB815;
    }
    void crc()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, crc);
        QCOMPARE(comm::Crc16(bytes), quint16(crc));
    }

    void frames_data()
    {
        QTest::addColumn<int>("radioId");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("local read, radio 0")
            << 0 << QByteArray::fromHex("E2000000") << QByteArray::fromHex("0000E200000015B8");
        QTest::newRow("diagnostics, radio 5")
            << 5 << QByteArray::fromHex("E7000000") << QByteArray::fromHex("0500E70000001521");
        QTest::newRow("noise, radio 300 (ID low byte first)")
            << 300 << QByteArray::fromHex("D8000000") << QByteArray::fromHex("2C01D8000000230C");
    }
    void frames()
    {
        QFETCH(int, radioId);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, frame);
        const auto built = comm::BuildFrame(radioId, body);
        QVERIFY(built);
        QCOMPARE(built->toHex(), frame.toHex());
    }

    void commandBodyIsCodeAndThreeArguments()
    {
        QCOMPARE(comm::CommandBody(238, 128, 100, 0), QByteArray::fromHex("EE806400"));
    }

    void bodyLengthLimits()
    {
        QVERIFY(!comm::BuildFrame(1, QByteArray()));
        const auto longest = comm::BuildFrame(1, QByteArray(comm::MaxBodyLength, 'x'));
        QVERIFY(longest);
        QCOMPARE(longest->size(), 1000);
        QVERIFY(!comm::BuildFrame(1, QByteArray(comm::MaxBodyLength + 1, 'x')));
    }
};

QTEST_APPLESS_MAIN(tst_Frame)
#include "tst_frame.moc"
