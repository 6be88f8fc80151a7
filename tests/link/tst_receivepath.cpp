#include <QTest>

#include "link/dispatcher.h"
#include "link/receivepath.h"

using namespace comm;

Q_DECLARE_METATYPE(comm::Route)

class tst_ReceivePath : public QObject {
    Q_OBJECT

private slots:
    void thousandBytesMakeOneBurstAndTheRestStartsTheNext()
    {
        RxBuffer buffer;
        QList<QByteArray> bursts;
        const auto collect = [&bursts](const QByteArray& burst) { bursts << burst; };
        buffer.Append(QByteArray(600, 'a'), collect);
        QVERIFY(bursts.isEmpty());
        buffer.Append(QByteArray(400, 'b') + QByteArray(150, 'c'), collect);
        QCOMPARE(bursts.size(), 1);
        QCOMPARE(bursts[0], QByteArray(600, 'a') + QByteArray(400, 'b'));
        QCOMPARE(buffer.Count(), 150);
        QCOMPARE(buffer.Take(), QByteArray(150, 'c'));
        QCOMPARE(buffer.Count(), 0);
    }

    // Each row feeds bursts in turn; the last one's result is checked.
    void carry_data()
    {
        QTest::addColumn<QList<QByteArray>>("bursts");
        QTest::addColumn<bool>("holdShort");
        QTest::addColumn<QByteArray>("frame"); // empty: nothing to examine
        QTest::addColumn<int>("carried");
        const QByteArray zero(1, '\0');
        const QByteArray seven = QByteArray::fromHex("00E2AABBCCDDEE");
        QTest::newRow("a zero byte then seven bytes make one frame")
            << QList<QByteArray> { zero, seven } << true << zero + seven << 0;
        QTest::newRow("three zero bytes are held")
            << QList<QByteArray> { zero, zero, zero } << true << QByteArray() << 3;
        QTest::newRow("a fourth zero byte empties the carry")
            << QList<QByteArray> { zero, zero, zero, zero } << true << QByteArray() << 0;
        QTest::newRow("other short bursts are dropped")
            << QList<QByteArray> { QByteArray::fromHex("0102") } << true << QByteArray() << 0;
        QTest::newRow("nothing is held while nothing is awaited")
            << QList<QByteArray> { zero, seven } << false << seven << 0;
        QTest::newRow("four bytes are too short")
            << QList<QByteArray> { QByteArray::fromHex("0100E2AA") } << true << QByteArray() << 0;
        QTest::newRow("five bytes are a frame")
            << QList<QByteArray> { QByteArray::fromHex("0100E2AABB") } << false
            << QByteArray::fromHex("0100E2AABB") << 0;
    }
    void carry()
    {
        QFETCH(QList<QByteArray>, bursts);
        QFETCH(bool, holdShort);
        CarryBuffer carry;
        std::optional<QByteArray> frame;
        for (const QByteArray& burst : bursts)
            frame = carry.Assemble(burst, holdShort);
        QTEST(frame.value_or(QByteArray()), "frame");
        QTEST(carry.Count(), "carried");
    }

    void classify_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("firmwareActive");
        QTest::addColumn<int>("loaderState");
        QTest::addColumn<Route>("route");
        // Selected radio 5, transfer target 7.
        QTest::newRow("loader reply from the target")
            << QByteArray::fromHex("0700EB0000") << true << 0 << Route::Loader;
        QTest::newRow("loader code while a wait has ended")
            << QByteArray::fromHex("0700EB0000") << true << 20 << Route::Other;
        QTest::newRow("loader code without a transfer")
            << QByteArray::fromHex("0700E90000") << false << 0 << Route::Other;
        QTest::newRow("other code from the target")
            << QByteArray::fromHex("0700D80000") << true << 0 << Route::Other;
        QTest::newRow("226 from the target in a transfer")
            << QByteArray::fromHex("0700E20000") << true << 0 << Route::Loader;
        QTest::newRow("code 128 from anyone")
            << QByteArray::fromHex("0500800000") << false << 0 << Route::Ignored;
        QTest::newRow("receiver message 101")
            << QByteArray("101 0000 18 E130") << false << 0 << Route::ReceiverMessage;
        QTest::newRow("receiver message 5000")
            << QByteArray("5000 12\x14") << false << 0 << Route::ReceiverMessage;
        QTest::newRow("receiver message 6000")
            << QByteArray("6000 12\x14") << false << 0 << Route::ReceiverMessage;
        QTest::newRow("600 alone is no message")
            << QByteArray("600 12\x14") << false << 0 << Route::Other;
        QTest::newRow("from the selected radio")
            << QByteArray::fromHex("0500EE0000") << false << 0 << Route::SelectedRadio;
        QTest::newRow("high ID byte counts")
            << QByteArray::fromHex("0501EE0000") << false << 0 << Route::Other;
    }
    void classify()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, firmwareActive);
        QFETCH(int, loaderState);
        const DispatchContext context { firmwareActive, quint8(loaderState), 7, 5 };
        QTEST(Classify(frame, context), "route");
    }

    void echoMarks()
    {
        QCOMPARE(EchoMark(QByteArray::fromHex("F0")), QStringLiteral(" ECO "));
        QCOMPARE(EchoMark(QByteArray::fromHex("0F0102")), QStringLiteral(" ECO1 "));
        QCOMPARE(EchoMark(QByteArray::fromHex("01F0")), QString());
    }

    void everyMessageOfABurstIsAcknowledged()
    {
        QCOMPARE(ReceiverAckCount("5000 12"), 0);
        QCOMPARE(ReceiverAckCount("5000 12\x14"), 1);
        QCOMPARE(ReceiverAckCount("5000 12\x14"
                                  "5000 13\x14"),
            2);
    }
};

QTEST_APPLESS_MAIN(tst_ReceivePath)
#include "tst_receivepath.moc"
