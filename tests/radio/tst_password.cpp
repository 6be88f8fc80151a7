// The password cipher, the password frames, the reply's status and the password buttons.
#include <QTest>

#include "link/frame.h"
#include "radio/password.h"

using radio::Block;
using radio::Key;
using radio::LockState;
using radio::PasswordCommand;
using radio::PasswordMode;

Q_DECLARE_METATYPE(PasswordCommand)

namespace {

Block BlockFromHex(const char* hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    Block block {};
    for (int i = 0; i < 8; ++i)
        block[i] = quint8(bytes[i]);
    return block;
}

Key KeyFromHex(const char* hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    Key key {};
    for (int i = 0; i < 16; ++i)
        key[i] = quint8(bytes[i]);
    return key;
}

QByteArray Hex(const Block& block)
{
    return QByteArray(reinterpret_cast<const char*>(block.data()), 8).toHex();
}

} // namespace

class tst_Password : public QObject {
    Q_OBJECT

private slots:
    // Published XTEA vectors (32 cycles). Their keys are big-endian words 0x00010203, ...;
    // the routine reads key words little-endian, so each word's bytes are given reversed.
    void xteaPublishedVectors_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        QTest::newRow("key 000102..0f")
            << QByteArray("03020100070605040b0a09080f0e0d0c") << QByteArray("4142434445464748")
            << QByteArray("497df3d072612cb5");
        QTest::newRow("all zero") << QByteArray("00000000000000000000000000000000")
                                  << QByteArray("0000000000000000")
                                  << QByteArray("dee9d4d8f7131ed9");
    }
    void xteaPublishedVectors()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        Block block = BlockFromHex(plain.constData());
        radio::XteaEncipher(block, KeyFromHex(key.constData()), 32);
        QTEST(Hex(block), "cipher");
    }

    // The radio's setting: 64 cycles, the password keys (worked out independently).
    void xteaPasswordKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        QTest::newRow("zero block, key 1")
            << 1 << QByteArray("0000000000000000") << QByteArray("11c9703f196f74d1");
        QTest::newRow("zero block, key 2")
            << 2 << QByteArray("0000000000000000") << QByteArray("77566c2236a9e1b8");
        QTest::newRow("1234 and 0, key 1")
            << 1 << QByteArray("d204000000000000") << QByteArray("17c4c7e384473360");
        QTest::newRow("largest test block, key 1")
            << 1 << QByteArray("ffc99a3b00ca9a3b") << QByteArray("9e8883eeec44e349");
    }
    void xteaPasswordKeys()
    {
        QFETCH(int, key);
        QFETCH(QByteArray, plain);
        Block block = BlockFromHex(plain.constData());
        radio::XteaEncipher(block, key == 1 ? radio::PasswordKey1 : radio::PasswordKey2);
        QTEST(Hex(block), "cipher");
    }

    void passwordFrames_data()
    {
        QTest::addColumn<PasswordCommand>("command");
        QTest::addColumn<quint32>("password");
        QTest::addColumn<quint32>("old");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("store 0, old 0: enciphered all the same")
            << PasswordCommand::Store << 0u << 0u
            << QByteArray::fromHex("0500cd0111c9703f196f74d1c4fc");
        QTest::newRow("store 1234, old 0") << PasswordCommand::Store << 1234u << 0u
                                           << QByteArray::fromHex("0500cd0117c4c7e3844733600e62");
        QTest::newRow("store locked 4321, old 1234")
            << PasswordCommand::StoreLocked << 4321u << 1234u
            << QByteArray::fromHex("0500cd02d2dca683be47e90150d5");
        QTest::newRow("store locked 0, old 0")
            << PasswordCommand::StoreLocked << 0u << 0u
            << QByteArray::fromHex("0500cd0211c9703f196f74d1d00c");
        QTest::newRow("store 999999999, old 999999999")
            << PasswordCommand::Store << 999999999u << 999999999u
            << QByteArray::fromHex("0500cd017436e2f4c952dcc62244");
        // The test carries P + 1, not the old password, and is enciphered twice.
        QTest::newRow("test 1234") << PasswordCommand::Test << 1234u << 77u
                                   << QByteArray::fromHex("0500cd03d8a782658885886adf04");
        QTest::newRow("test 0") << PasswordCommand::Test << 0u << 0u
                                << QByteArray::fromHex("0500cd032af2feb8f93350d153da");
        QTest::newRow("test 999999999") << PasswordCommand::Test << 999999999u << 0u
                                        << QByteArray::fromHex("0500cd038f90dc4773f8e249e621");
    }
    void passwordFrames()
    {
        QFETCH(PasswordCommand, command);
        QFETCH(quint32, password);
        QFETCH(quint32, old);
        const QByteArray body = radio::PasswordBody(command, password, old);
        QCOMPARE(body.size(), 10);
        const QByteArray frame = comm::BuildFrame(5, body).value_or(QByteArray());
        QCOMPARE(frame.size(), 14);
        QTEST(frame, "frame");
    }

    void testIsKey1ThenKey2()
    {
        Block block = BlockFromHex("d2040000d3040000"); // 1234, 1235
        radio::XteaEncipher(block, radio::PasswordKey1);
        QCOMPARE(Hex(block), QByteArray("44cd1a644475caf8"));
        radio::XteaEncipher(block, radio::PasswordKey2);
        QCOMPARE(radio::PasswordBody(PasswordCommand::Test, 1234, 0).mid(2).toHex(), Hex(block));
    }

    void passwordRange()
    {
        QVERIFY(radio::IsPassword(0));
        QVERIFY(radio::IsPassword(999999999));
        QVERIFY(!radio::IsPassword(1000000000));
        QVERIFY(!radio::IsPassword(-1));
    }

    void status_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << QByteArray::fromHex("0500cd010000") << "SENHA GRAVADA - SEM TRAVA";
        QTest::newRow("2") << QByteArray::fromHex("0500cd020000") << "SENHA GRAVADA - COM TRAVA";
        QTest::newRow("0x55") << QByteArray::fromHex("0500cd550000")
                              << "SENHA CONFERE - DESTRAVADA";
        QTest::newRow("0x56") << QByteArray::fromHex("0500cd560000") << "SENHA CONFERE - TRAVADA";
        QTest::newRow("0xAA") << QByteArray::fromHex("0500cdaa0000") << "SENHA ERRADA - SEM TRAVA";
        QTest::newRow("0xAB") << QByteArray::fromHex("0500cdab0000") << "SENHA ERRADA - TRAVADA";
        QTest::newRow("0") << QByteArray::fromHex("0500cd000000") << "";
        QTest::newRow("3") << QByteArray::fromHex("0500cd030000") << "";
        QTest::newRow("0xFF") << QByteArray::fromHex("0500cdff0000") << "";
        QTest::newRow("no status byte") << QByteArray::fromHex("0500cd") << "";
    }
    void status()
    {
        QFETCH(QByteArray, frame);
        QTEST(radio::PasswordStatusText(frame), "caption");
    }

    void lockSequence()
    {
        auto row = [](LockState state) {
            const radio::LockButtons b = radio::LockButtonsFor(state);
            QString text;
            for (bool enabled : { b.store, b.confirm, b.send, b.cancel })
                text += enabled ? QLatin1Char('E') : QLatin1Char('D');
            return text;
        };
        QCOMPARE(row(LockState::Ready), QStringLiteral("EDDD"));
        QCOMPARE(row(LockState::Armed), QStringLiteral("DEDE"));
        QCOMPARE(row(LockState::Confirmed), QStringLiteral("DDEE"));
    }

    void modes()
    {
        const radio::ModeLayout noLock = radio::LayoutFor(PasswordMode::NoLock);
        QVERIFY(
            !noLock.oldPassword && noLock.storeNoLock && !noLock.lockButtons && !noLock.testButton);
        QCOMPARE(noLock.lockState, std::optional<LockState>(LockState::Ready));
        const radio::ModeLayout lock = radio::LayoutFor(PasswordMode::Lock);
        QVERIFY(lock.oldPassword && !lock.storeNoLock && lock.lockButtons && !lock.testButton);
        QVERIFY(!lock.lockState); // the sequence keeps its state
        const radio::ModeLayout test = radio::LayoutFor(PasswordMode::Test);
        QVERIFY(!test.oldPassword && !test.storeNoLock && !test.lockButtons && test.testButton);
        QCOMPARE(test.lockState, std::optional<LockState>(LockState::Ready));
    }
};

QTEST_APPLESS_MAIN(tst_Password)
#include "tst_password.moc"
