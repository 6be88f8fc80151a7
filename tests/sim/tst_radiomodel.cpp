// The simulated radio's answers, pinned to literal frames on the wire.
#include "radiosim/options.h"
#include "radiosim/radiomodel.h"

#include <QTemporaryDir>
#include <QtTest>

using radiosim::RadioModel;

namespace {

QList<QByteArray> FromHex(const QStringList& frames)
{
    QList<QByteArray> bytes;
    for (const QString& frame : frames)
        bytes.append(QByteArray::fromHex(frame.toLatin1()));
    return bytes;
}

QStringList ToHex(const QList<QByteArray>& frames)
{
    QStringList hex;
    for (const QByteArray& frame : frames)
        hex.append(QString::fromLatin1(frame.toHex()));
    return hex;
}

// A model set up as the simulator's command line would set it.
bool Configure(RadioModel& model, const QStringList& options)
{
    radiosim::SimConfig config;
    QString error;
    if (!radiosim::ParseArguments(QStringList { "radiosim" } + options, &config, &error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    model.state = config.state;
    return true;
}

} // namespace

class TestRadioModel : public QObject {
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void framing_data();
    void framing();
    void stateOfCommands();
    void flashImage();
    void badCrcIsNoted();
    void randomBytesLeaveTheRadioWorking();
    void badOptions_data();
    void badOptions();
};

void TestRadioModel::replies_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("226 to any ID, answered from the radio's own")
        << QStringList {} << QStringList { "0000e200000015b8" }
        << QStringList { "0100e2000000009a4e0e000b010000000006000000000000000000002611" };
    QTest::newRow("226 master: Sur-Gard, command flag, periodic test")
        << QStringList { "--master", "--surgard", "2", "--command-event", "1", "--periodic", "1000",
               "--low-voltage", "--protocol", "4", "--partition", "2" }
        << QStringList { "0000e200000015b8" }
        << QStringList { "0000e2000000009a4e0e020b010100000006000003e80000000000006d32" };
    QTest::newRow("226 other: low voltage, protocol, partition")
        << QStringList { "--id", "300", "--serial", "1.2.3.4", "--hardware", "21", "--fw", "50",
               "--rev", "16", "--channel", "7", "--bank", "1", "--marker3", "226", "--protocol",
               "6", "--partition", "3", "--low-voltage", "--surgard", "3", "--command-event", "1",
               "--periodic", "90" }
        << QStringList { "0500e200000015ed" }
        << QStringList { "2c01e2e2000102030415001007000000003201000001000000000603ffb2" };
    QTest::newRow("212 answered like 226")
        << QStringList {} << QStringList { "0700d40000001b87" }
        << QStringList { "0100d4000000009a4e0e000b010000000006000000000000000000008fd1" };
    QTest::newRow("202 matching serial: new ID and low-voltage flag")
        << QStringList {}
        << QStringList { "0500ca000000009a4e0100000001007a3f", "0500e200000015ed" }
        << QStringList { "0500ca002fac",
               "0500e2000000009a4e0e000b010000000006000000010000000000003c51" };
    QTest::newRow("202 other serial: ignored")
        << QStringList { "--low-voltage" }
        << QStringList { "0500ca000000009a4f0100000000006b6f", "0100e20000001469" }
        << QStringList { "0100e2000000009a4e0e000b0100000000060000000100000000000036d1" };
    QTest::newRow("217 to any ID sets the channel")
        << QStringList { "--id", "9" } << QStringList { "0100d9070000a88c", "0900e20000001521" }
        << QStringList { "0900d907600e",
               "0900e2000000009a4e0e000b07000000000600000000000000000000b2f3" };
    QTest::newRow("238 relay on, off, PGM pulse")
        << QStringList {}
        << QStringList { "0100ee031e00ee99", "0100ee020000b6f9", "0100ee80fa005471" }
        << QStringList { "0100ee03759d", "0100ee02b45d", "0100ee80343c" };
    QTest::newRow("238 for another radio: not answered")
        << QStringList {} << QStringList { "0200ee030500e45a" } << QStringList {};
    QTest::newRow("216 noise levels")
        << QStringList { "--noise", "95,105,150" } << QStringList { "0100d800000018b1" }
        << QStringList { "0100d85f6996869d" };
    QTest::newRow("231 default record")
        << QStringList {} << QStringList { "0100e700000014a5" }
        << QStringList { "0100e7151b2b2021220003000200010000015fcd00000e100000010c000005f0000000040"
                         "20001f202da02be55767d88fb84" };
    QTest::newRow("231 record with battery voltages")
        << QStringList { "--diag",
               "030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122232425262728292a2b5"
               "57d078c" }
        << QStringList { "0100e700000014a5" }
        << QStringList { "0100e7030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122232"
                         "425262728292a2b557d078cf46d" };
    QTest::newRow("231 record without battery voltages")
        << QStringList { "--diag",
               "030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122232425262728292a2b5"
               "57d078c",
               "--no-battery" }
        << QStringList { "0100e700000014a5" }
        << QStringList { "0100e7030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122232"
                         "425262728292a2be094" };
    QTest::newRow("205 store without lock")
        << QStringList {} << QStringList { "0100cd0117c4c7e384473360ffad" }
        << QStringList { "0100cd01ed6c" };
    QTest::newRow("205 store with lock, then test")
        << QStringList {}
        << QStringList { "0100cd0233ec0b4e14a3bf8934d9", "0100cd03cbc936e4b67fdf031479" }
        << QStringList { "0100cd02ad6d", "0100cd56ac92" };
    QTest::newRow("205 locked: wrong old password refused")
        << QStringList { "--password", "42", "--locked" }
        << QStringList { "0100cd012b003a83143b4a136268", "0100cd034b77174d2ba4042adc02",
               "0100cd018b05a1e5350e23445caf", "0100cd036698740c120a514526d0" }
        << QStringList { "0100cdab6d13", "0100cd56ac92", "0100cd01ed6c", "0100cd55ec93" };
    QTest::newRow("205 test: wrong password, wrong second word")
        << QStringList { "--password", "42" }
        << QStringList { "0100cd03c88c6d40399346d0fcb6", "0100cd036c274f0113521c0e3466",
               "0100cd034b77174d2ba4042adc02" }
        << QStringList { "0100cdaaacd3", "0100cdaaacd3", "0100cd55ec93" };
    QTest::newRow("205 largest password")
        << QStringList {}
        << QStringList { "0100cd02d5a78046a3b175d4ae2d", "0100cd038f90dc4773f8e24917ee" }
        << QStringList { "0100cd02ad6d", "0100cd56ac92" };
    QTest::newRow("203 read, basic format")
        << QStringList { "--codes", "1234,5,12*#,,\\x01 \\x7f" }
        << QStringList { "0100cb020000bdf5" }
        << QStringList { "0100cb003132333400350000000031322a2300000000000001207f0000000000000000000"
                         "0000000000000000000000000000d2b" };
    QTest::newRow("203 read, format 56")
        << QStringList { "--client-format", "56", "--codes", " 123", "--comm-type", "6",
               "--events-partition", "3", "--pin1", "0x8082", "--pin2", "401" }
        << QStringList { "0100cb020000bdf5" }
        << QStringList { "0100cb0020313233000000000000000000000000000000000000000000000000000000000"
                         "000000000000000000000000056910182800603349f" };
    QTest::newRow("203 write codes only, then read")
        << QStringList {}
        << QStringList { "0100cb0130303037203132333132424320202020000000000000000000000000000000000"
                         "0000000dc72",
               "0100cb020000bdf5" }
        << QStringList { "0100cb0030303037002031323300313242430020202020000000000000000000000000000"
                         "0000000000000000000000000009c56",
               "0100cb00303030370020313233003132424300202020200000000000000000000000000000000000000"
               "000000000000000009c56" };
    QTest::newRow("203 write with reporting settings, format 55")
        << QStringList { "--client-format", "55" }
        << QStringList { "0100cb1030303031000000000000000000000000000000000000000000000000000000000"
                         "0000000060391818200cec4" }
        << QStringList { "0100cb0030303031000000000000000000000000000000000000000000000000000000000"
                         "000000000000000000000000055918182000603861d" };
    QTest::newRow("203 write with reporting settings, format 57")
        << QStringList { "--client-format", "57" }
        << QStringList { "0100cb1039393939393939393939393939393939393939393939393939393939393939393"
                         "93939390a088403e783b8b2" }
        << QStringList { "0100cb0039393939003939393900393939390039393939003939393900393939390039393"
                         "9390039393939003939393900578403e7830a08da0b" };
    QTest::newRow("203 for another radio: not answered")
        << QStringList {} << QStringList { "0200cb020000bdc6" } << QStringList {};
    QTest::newRow("233 erase") << QStringList {} << QStringList { "0100e9000000164d" }
                               << QStringList { "0100e90037ac" };
    QTest::newRow("235 record acknowledged with its address")
        << QStringList { "--id", "5" } << QStringList { "0500eb000001010012ecea03a4" }
        << QStringList { "0500eb00000100f15e" };
    QTest::newRow("235 check byte 0xAA sent as 0xAB")
        << QStringList {} << QStringList { "0100eb00000202001e1fbfabab71" }
        << QStringList { "0100eb00000200b46e" };
    QTest::newRow("235 wrong check byte refused with status 1")
        << QStringList {} << QStringList { "0100eb0000031234010203b100bdec" }
        << QStringList { "0100eb00011234e9b9" };
    QTest::newRow("235 header and CRC records acknowledged")
        << QStringList {}
        << QStringList { "0100eb001f0300000e01aa2588ed6a", "0100eb009002fff012343996270c" }
        << QStringList { "0100eb00000000b50e", "0100eb0000fff0f4ba" };
    QTest::newRow("235 beyond the flash: status 2")
        << QStringList {}
        << QStringList { "0100eb00040200000100f9ea6f22", "0100eb0000010000ff00eaf7a1" }
        << QStringList { "0100eb00000000b50e", "0100eb0002000014ce" };
    QTest::newRow("234 end flag 0 and 1")
        << QStringList {} << QStringList { "0100ea0000ff5649", "0100ea0112344abe" }
        << QStringList { "0100ea00001dd6", "0100ea0001dc16" };
    QTest::newRow("234 with a set result")
        << QStringList { "--end-result", "7" } << QStringList { "0100ea01000047c9" }
        << QStringList { "0100ea00075c14" };
    QTest::newRow("loader commands for another radio: not answered")
        << QStringList {}
        << QStringList { "0200e9000000167e", "0200eb000001010012ecea19d0", "0200ea000000163a" }
        << QStringList {};
}

void TestRadioModel::replies()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, expected);
    RadioModel model;
    QVERIFY(Configure(model, options));
    QList<QByteArray> replies;
    for (const QByteArray& request : FromHex(requests))
        replies += model.Receive(request);
    QCOMPARE(ToHex(replies), expected);
    QCOMPARE(model.framesReceived, FromHex(requests));
}

void TestRadioModel::framing_data()
{
    // Pieces as they come off the line; "idle" is a quiet line between them.
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("acknowledgements");

    const QString read0 = "0000e200000015b8";
    const QString reply1 = "0100e2000000009a4e0e000b010000000006000000000000000000002611";
    const QString noise1 = "0100d87068603682";
    QTest::newRow("a frame byte by byte")
        << QStringList {} << QStringList { "00", "00", "e2", "00", "00", "00", "15", "b8" }
        << QStringList { reply1 } << 1 << 0;
    QTest::newRow("two frames in one piece")
        << QStringList {} << QStringList { read0 + "0100d800000018b1" }
        << QStringList { reply1, noise1 } << 2 << 0;
    QTest::newRow("echo byte between frames") << QStringList {} << QStringList { "f0", read0, "f0" }
                                              << QStringList { "f0", reply1, "f0" } << 1 << 0;
    QTest::newRow("echo byte right behind a frame")
        << QStringList {} << QStringList { read0 + "f0" } << QStringList { reply1, "f0" } << 1 << 0;
    QTest::newRow("acknowledgement byte, alone and before a frame")
        << QStringList {} << QStringList { "06", "06" + read0 } << QStringList { reply1 } << 1 << 2;
    QTest::newRow("acknowledgement byte, then the line idles")
        << QStringList {} << QStringList { "06", "idle" } << QStringList {} << 0 << 1;
    QTest::newRow("a frame to radio 6 is no acknowledgement")
        << QStringList { "--id", "6" } << QStringList { "0600e200000015de" }
        << QStringList { "0600e2000000009a4e0e000b010000000006000000000000000000002a51" } << 1 << 0;
    QTest::newRow("a frame to radio 240 is no echo")
        << QStringList { "--id", "240" } << QStringList { "f000e20000000148" }
        << QStringList { "f000e2000000009a4e0e000b010000000006000000000000000000009590" } << 1 << 0;
    QTest::newRow("bad CRC: not answered")
        << QStringList {} << QStringList { "0000e200000015b9", read0 } << QStringList { reply1 }
        << 2 << 0;
    QTest::newRow("partial frame dropped when the line idles")
        << QStringList {} << QStringList { "0000e200", "idle", read0 } << QStringList { reply1 }
        << 1 << 0;
    QTest::newRow("unknown bytes swallow the line until it idles")
        << QStringList {} << QStringList { "1234567890", read0, "idle", read0 }
        << QStringList { reply1 } << 1 << 0;
    QTest::newRow("203 with an unknown mode is unknown")
        << QStringList {} << QStringList { "0100cb070000", "idle", read0 } << QStringList { reply1 }
        << 1 << 0;
    QTest::newRow("long data record in three pieces")
        << QStringList { "--id", "5" }
        << QStringList { "0500eb0000ca01", "00" + QString("ffaa55").repeated(33),
               QString("ffaa55").repeated(34) + "00bb6414a1" }
        << QStringList { "0500eb00000100f15e" } << 1 << 0;
}

void TestRadioModel::framing()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, expected);
    QFETCH(int, frames);
    QFETCH(int, acknowledgements);
    RadioModel model;
    QVERIFY(Configure(model, options));
    QList<QByteArray> replies;
    for (const QString& piece : pieces) {
        if (piece == "idle")
            model.LineIdle();
        else
            replies += model.Receive(QByteArray::fromHex(piece.toLatin1()));
    }
    QCOMPARE(ToHex(replies), expected);
    QCOMPARE(model.framesReceived.size(), frames);
    QCOMPARE(model.acknowledgements, acknowledgements);
}

void TestRadioModel::stateOfCommands()
{
    RadioModel model;
    model.Receive(QByteArray::fromHex("0500ca000000009a4e0100000001007a3e")); // wrong CRC: ignored
    QCOMPARE(model.state.id, quint16(1));
    model.Receive(QByteArray::fromHex("0500ca000000009a4e0100000001007a3f"));
    QCOMPARE(model.state.id, quint16(5));
    QVERIFY(model.state.lowVoltage);

    model.Receive(QByteArray::fromHex("0500ee031e00ef1d"));
    QVERIFY(model.state.relayOn);
    QCOMPARE(model.state.relayMinutes, quint8(30));
    model.Receive(QByteArray::fromHex("0500ee80960078f5"));
    QCOMPARE(model.state.pgmPulse, quint8(150));
    QCOMPARE(model.state.pgmPulses, 1);
    model.Receive(QByteArray::fromHex("0500ee020000b77d"));
    QVERIFY(!model.state.relayOn);

    model.Receive(QByteArray::fromHex("0500cd0233ec0b4e14a3bf89c516"));
    QCOMPARE(model.state.password, quint32(5678));
    QVERIFY(model.state.locked);

    model.Receive(QByteArray::fromHex("0500cb103030303120313233000000000000000000000000000000000000"
                                      "0000000000000000000006039181820076ce"));
    QCOMPARE(model.state.clientCodes[1], QByteArray(" 123"));
    QCOMPARE(model.state.communicationType, quint8(6));
    QCOMPARE(model.state.eventsPartition, quint8(3));
    QCOMPARE(model.state.inputPin2, quint16(0x8191));
    QCOMPARE(model.state.inputPin1, quint16(0x0082));

    model.Receive(QByteArray::fromHex("0500ea0112344b3a"));
    QCOMPARE(model.state.endFlag, 1);
    QCOMPARE(model.state.endValue, quint16(0x1234));
}

void TestRadioModel::flashImage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("flash.bin");
    RadioModel model;
    QVERIFY(Configure(model, { "--flash-out", path }));
    const QStringList load { "0100e9000000164d", "0100eb001f0300000e017758285c78",
        "0100eb00040200000001f9ea3f1e", "0100eb000004001001020304e2e6365a",
        "0100eb0000020000aabb999e16f7", "0100ea0000ff5649" };
    for (const QByteArray& frame : FromHex(load))
        QCOMPARE(model.Receive(frame).size(), 1);

    // Extended linear address 0x0001, then data at 0x0010 and 0x0000: the image runs to the
    // highest byte written, 0xFF in the gaps; the header record is not stored.
    QByteArray expected(0x10014, char(0xFF));
    expected.replace(0x10000, 2, QByteArray::fromHex("aabb"));
    expected.replace(0x10010, 4, QByteArray::fromHex("01020304"));
    QCOMPARE(model.state.flash.size(), expected.size());
    QVERIFY(model.state.flash == expected);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == expected);
    file.close();

    // Erasing empties the flash and forgets the extended address.
    model.Receive(QByteArray::fromHex("0100e9000000164d"));
    QVERIFY(model.state.flash.isEmpty());
    QCOMPARE(model.state.flashBase, quint32(0));
    QCOMPARE(model.state.erases, 2);

    // The image file cannot be written: a note, and still the reply.
    QStringList notes;
    model.onNote = [&notes](const QString& text) { notes.append(text); };
    model.state.flashOutPath = dir.filePath("missing/flash.bin");
    QCOMPARE(model.Receive(QByteArray::fromHex("0100ea0000ff5649")).size(), 1);
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes[0].contains("missing/flash.bin"), qPrintable(notes[0]));
}

void TestRadioModel::badCrcIsNoted()
{
    RadioModel model;
    QStringList notes;
    model.onNote = [&notes](const QString& text) { notes.append(text); };
    QVERIFY(model.Receive(QByteArray::fromHex("0000e200000015b9")).isEmpty());
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes[0].contains("CRC"), qPrintable(notes[0]));
    model.Receive(QByteArray::fromHex("0000e200"));
    model.LineIdle();
    QCOMPARE(notes.size(), 2);
    QVERIFY2(notes[1].contains("00 00 e2 00"), qPrintable(notes[1]));
}

void TestRadioModel::randomBytesLeaveTheRadioWorking()
{
    // Line noise, with the headers of long requests mixed in, in random pieces and pauses.
    const QList<QByteArray> heads = FromHex({ "0100eb0000ff", "0100cb10", "0100ca", "f0", "06" });
    QRandomGenerator random(20240611);
    RadioModel model;
    for (int round = 0; round < 2000; ++round) {
        QByteArray piece = heads[random.bounded(int(heads.size()))];
        const int noise = random.bounded(40);
        for (int i = 0; i < noise; ++i)
            piece.append(char(random.bounded(256)));
        model.Receive(piece);
        if (random.bounded(4) == 0)
            model.LineIdle();
    }
    model.LineIdle();
    model.state.id = 1;
    const QList<QByteArray> replies = model.Receive(QByteArray::fromHex("0100d800000018b1"));
    QCOMPARE(replies.size(), 1);
    QCOMPARE(replies[0].left(3), QByteArray::fromHex("0100d8"));
}

void TestRadioModel::badOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("ID too big") << QStringList { "--id", "65536" } << "--id";
    QTest::newRow("ID not a number") << QStringList { "--id", "one" } << "\"one\"";
    QTest::newRow("serial with three parts") << QStringList { "--serial", "1.2.3" } << "--serial";
    QTest::newRow("serial byte too big") << QStringList { "--serial", "1.2.3.256" } << "--serial";
    QTest::newRow("unknown client format") << QStringList { "--client-format", "58" } << "58";
    QTest::newRow("client code too long") << QStringList { "--codes", "12345" } << "12345";
    QTest::newRow("client code bad escape") << QStringList { "--codes", "1\\xZZ" } << "\\xNN";
    QTest::newRow("ten client codes") << QStringList { "--codes", "1,2,3,4,5,6,7,8,9,10" } << "9";
    QTest::newRow("noise with two levels") << QStringList { "--noise", "1,2" } << "3 numbers";
    QTest::newRow("diagnostics of odd length") << QStringList { "--diag", "0102" } << "--diag";
    QTest::newRow("drop share above 1") << QStringList { "--drop-share", "1.5" } << "--drop-share";
    QTest::newRow("error every without status")
        << QStringList { "--error-every", "3" } << "--error-status";
    QTest::newRow("unknown option") << QStringList { "--colour" } << "colour";
    QTest::newRow("stray argument") << QStringList { "fast" } << "fast";
}

void TestRadioModel::badOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    radiosim::SimConfig config;
    QString error;
    QVERIFY(!radiosim::ParseArguments(QStringList { "radiosim" } + options, &config, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestRadioModel)
#include "tst_radiomodel.moc"
