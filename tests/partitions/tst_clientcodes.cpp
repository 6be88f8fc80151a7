// Client codes: the 203 write frames, the code encoding, the reply decoding and the rules of
// the partition and input grids, without a window.
#include <QTest>

#include "link/frame.h"
#include "partitions/clientcodes.h"

using namespace partitions;
using Inputs = ClientCodeReply::Inputs;

Q_DECLARE_METATYPE(Inputs)

namespace {

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex); // spaces between the fields are skipped
}

const QStringList NoCodes(PartitionCount, QStringLiteral("    "));

QStringList Codes(std::initializer_list<const char*> first, const QString& rest = "    ")
{
    QStringList codes;
    for (const char* code : first)
        codes << QString::fromLatin1(code);
    while (codes.size() < PartitionCount)
        codes << rest;
    return codes;
}

} // namespace

class tst_ClientCodes : public QObject {
    Q_OBJECT

private slots:
    void writeFrame_data();
    void writeFrame();
    void encodeCode_data();
    void encodeCode();
    void decode_data();
    void decode();
    void decodeNeedsTheBytesOfItsFormat_data();
    void decodeNeedsTheBytesOfItsFormat();
    void readAndWrittenBackUnchanged();
    void typedCode_data();
    void typedCode();
    void keyFilter_data();
    void keyFilter();
    void eventClamp_data();
    void eventClamp();
    void eventsPartition_data();
    void eventsPartition();
    void typeDisplay_data();
    void typeDisplay();
};

void tst_ClientCodes::writeFrame_data()
{
    QTest::addColumn<int>("radioId");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<bool>("withReporting");
    QTest::addColumn<QByteArray>("frame");

    // Codes only: mode 1, the nine codes and nothing after them.
    QTest::newRow("mode 1") << 5
                            << QStringList { "7", "12B", "12BC", "", "    ", " 123", "", "", "9" }
                            << false
                            << Hex("0500cb01 30303037 30313242 31324243 00000000 20202020 "
                                   "20313233 00000000 00000000 30303039 f987");
    // "CONTACT-ID + ENTRADA PGM", row 3 ticked, pin 2 401 inverted, pin 1 130.
    QTest::newRow("mode 16") << 1 << QStringList(PartitionCount, QString()) << true
                             << Hex("0100cb10 00000000 00000000 00000000 00000000 00000000 "
                                    "00000000 00000000 00000000 00000000 060391818200 e356");
}

void tst_ClientCodes::writeFrame()
{
    QFETCH(int, radioId);
    QFETCH(QStringList, codes);
    QFETCH(bool, withReporting);
    QFETCH(QByteArray, frame);

    std::optional<Reporting> reporting;
    if (withReporting)
        reporting = Reporting { CommunicationTypeCode(5, 1), EventsPartition({ 0, 0, 0, 1 }),
            InputSetting { 130, false }, InputSetting { 401, true } };
    const auto built = comm::BuildFrame(radioId, ClientCodeWriteBody(codes, reporting));
    QVERIFY(built);
    QCOMPARE(built->toHex(' '), frame.toHex(' '));
    if (withReporting) {
        QCOMPARE(built->size(), 48);
        QCOMPARE(quint8(built->at(3)), quint8(16));
        QCOMPARE(built->mid(40, 6).toHex(), QByteArray("060391818200"));
    } else {
        QCOMPARE(built->size(), 42);
    }
}

void tst_ClientCodes::encodeCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("7") << "7" << Hex("30303037");
    QTest::newRow("12B") << "12B" << Hex("30313242");
    QTest::newRow("four characters") << "A0F9" << Hex("41304639");
    QTest::newRow("empty") << "" << Hex("00000000");
    QTest::newRow("four spaces") << "    " << Hex("20202020");
    QTest::newRow("space before 123") << " 123" << Hex("20313233");
    QTest::newRow("B and C as they stand") << "12BC" << Hex("31324243");
    QTest::newRow("Latin-1 byte from a reply") << QString::fromLatin1(" \xE9"
                                                                      "CB")
                                               << Hex("20e94342");
}

void tst_ClientCodes::encodeCode()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeClientCode(code).toHex(), bytes.toHex());
}

void tst_ClientCodes::decode_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<int>("typeItem");
    QTest::addColumn<int>("typeCode");
    QTest::addColumn<int>("eventsPartition");
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<int>("pin1Event");
    QTest::addColumn<bool>("pin1Invert");
    QTest::addColumn<int>("pin2Event");
    QTest::addColumn<bool>("pin2Invert");

    // "*" and "#" become B and C; a short code is right-aligned with spaces.
    QTest::newRow("basic: 12BC, three spaces and 5")
        << Hex("0100cb00 31322a2300 3500000000 3132333400 0000000000 0000000000 0000000000 "
               "0000000000 0000000000 0000000000 00 399f")
        << Codes({ "12BC", "   5", "1234" }) << false << 0 << 1 << 0 << Inputs::Unchanged << 130
        << false << 401 << true;
    // The master fills partition 0 only and is read in the basic format whatever its marker.
    QTest::newRow("master") << Hex(
        "0000cb00 3700000000 3131313100 0000000000 0000000000 0000000000 0000000000 "
        "0000000000 0000000000 0000000000 569181820006 03 415f")
                            << QStringList { "   7" } << false << 0 << 1 << 0 << Inputs::Unchanged
                            << 130 << false << 401 << true;
    QTest::newRow("marker 0x55: inputs to their defaults")
        << Hex("0100cb00 3100000000 3100000000 3100000000 3100000000 3100000000 3100000000 "
               "3100000000 3100000000 3100000000 5511223344 0603 c8b5")
        << Codes({}, "   1") << true << 5 << 6 << 3 << Inputs::Defaults << 130 << false << 401
        << true;
    // Pin 2's word comes first: 0x8191 is 401 inverted; pin 1's 0x83E7 is 999 inverted.
    QTest::newRow("marker 0x56: input words")
        << Hex("0100cb00 0000000000 0000000000 0000000000 0000000000 0000000000 0000000000 "
               "0000000000 0000000000 0000000000 56 9181 e783 0508 3ef8")
        << NoCodes << true << 4 << 5 << 8 << Inputs::FromReply << 999 << true << 401 << true;
    QTest::newRow("marker 0x57: input grid untouched")
        << Hex("0100cb00 0000000000 0000000000 0000000000 0000000000 0000000000 0000000000 "
               "0000000000 0000000000 0000000000 57 9181 e783 0102 acff")
        << NoCodes << true << 0 << 1 << 2 << Inputs::Unchanged << 130 << false << 401 << true;
    QTest::newRow("type byte 0 selects Ultra 738")
        << Hex("0100cb00 0000000000 0000000000 0000000000 0000000000 0000000000 0000000000 "
               "0000000000 0000000000 0000000000 55 0000 0000 0000 e8ad")
        << NoCodes << true << 1 << 0 << 0 << Inputs::Defaults << 130 << false << 401 << true;
    QTest::newRow("partition byte 9 ticks row 0")
        << Hex("0100cb00 0000000000 0000000000 0000000000 0000000000 0000000000 0000000000 "
               "0000000000 0000000000 0000000000 55 0000 0000 0209 29cb")
        << NoCodes << true << 1 << 2 << 0 << Inputs::Defaults << 130 << false << 401 << true;
    QTest::newRow("type byte 11: no item, the byte kept")
        << Hex("0100cb00 0000000000 0000000000 0000000000 0000000000 0000000000 0000000000 "
               "0000000000 0000000000 0000000000 55 0000 0000 0b04 ee5e")
        << NoCodes << true << -1 << 11 << 4 << Inputs::Defaults << 130 << false << 401 << true;
    QTest::newRow("bytes taken as Latin-1")
        << Hex("0100cb00 20e9232a00 0000000000 0000000000 0000000000 0000000000 0000000000 "
               "0000000000 0000000000 0000000000 00 be70")
        << Codes({ " \xE9"
                   "CB" })
        << false << 0 << 1 << 0 << Inputs::Unchanged << 130 << false << 401 << true;
}

void tst_ClientCodes::decode()
{
    QFETCH(QByteArray, frame);
    QFETCH(QStringList, codes);
    QFETCH(bool, extended);
    QFETCH(int, typeItem);
    QFETCH(int, typeCode);
    QFETCH(int, eventsPartition);
    QFETCH(Inputs, inputs);
    QFETCH(int, pin1Event);
    QFETCH(bool, pin1Invert);
    QFETCH(int, pin2Event);
    QFETCH(bool, pin2Invert);

    const std::optional<ClientCodeReply> reply = DecodeClientCodes(frame);
    QVERIFY(reply);
    QCOMPARE(reply->codes, codes);
    QCOMPARE(reply->extended, extended);
    QCOMPARE(reply->typeItem, typeItem);
    if (extended)
        QCOMPARE(int(reply->typeCode), typeCode);
    QCOMPARE(reply->eventsPartition, eventsPartition);
    QCOMPARE(reply->inputs, inputs);
    QCOMPARE(reply->pin1, (InputSetting { pin1Event, pin1Invert }));
    QCOMPARE(reply->pin2, (InputSetting { pin2Event, pin2Invert }));
}

void tst_ClientCodes::decodeNeedsTheBytesOfItsFormat_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("decoded");
    QTest::addColumn<bool>("extended");

    const QByteArray basic = Hex("0100cb00 3100000000 3200000000 3300000000 3400000000 "
                                 "3500000000 3600000000 3700000000 3800000000 3900000000 00");
    const QByteArray extended = Hex("0100cb00 3100000000 3200000000 3300000000 3400000000 "
                                    "3500000000 3600000000 3700000000 3800000000 3900000000 "
                                    "56 9181 8200 0603 1234");
    QByteArray master = extended;
    master[0] = 0;

    QTest::newRow("47 bytes: the last code cut") << basic.left(47) << false << false;
    QTest::newRow("48 bytes: no marker, basic") << basic.left(48) << true << false;
    QTest::newRow("49 bytes: no marker, basic") << basic.left(48) + '\x99' << true << false;
    QTest::newRow("marker 0x56 in 50 bytes") << extended.left(50) << false << false;
    QTest::newRow("marker 0x56, byte 55 missing") << extended.left(55) << false << false;
    QTest::newRow("marker 0x56 in 56 bytes") << extended.left(56) << true << true;
    QTest::newRow("master, marker 0x56 in 50 bytes") << master.left(50) << true << false;
    QTest::newRow("empty") << QByteArray() << false << false;
}

void tst_ClientCodes::decodeNeedsTheBytesOfItsFormat()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, decoded);
    QFETCH(bool, extended);

    const std::optional<ClientCodeReply> reply = DecodeClientCodes(frame);
    QCOMPARE(bool(reply), decoded);
    if (reply) {
        QCOMPARE(reply->extended, extended);
        QCOMPARE(reply->codes.first(), QStringLiteral("   1"));
    }
}

// What the tool reads and writes again reaches the radio as the reply showed it: the
// characters byte for byte, a type byte the list lacks as it came.
void tst_ClientCodes::readAndWrittenBackUnchanged()
{
    const std::optional<ClientCodeReply> reply
        = DecodeClientCodes(Hex("0100cb00 20e9313200 0000000000 0000000000 0000000000 "
                                "0000000000 0000000000 0000000000 0000000000 3132333400 "
                                "56 0000 0000 c702 0000"));
    QVERIFY(reply);
    QCOMPARE(reply->typeItem, -1);
    const QByteArray body = ClientCodeWriteBody(reply->codes,
        Reporting { CommunicationTypeCode(reply->typeItem, reply->typeCode), reply->eventsPartition,
            reply->pin1, reply->pin2 });
    QCOMPARE(body.mid(2, 4).toHex(), QByteArray("20e93132"));
    QCOMPARE(body.mid(34, 4).toHex(), QByteArray("31323334"));
    QCOMPARE(body.mid(38, 2).toHex(), QByteArray("c702"));
    QCOMPARE(CommunicationTypeCode(3, 0xC7), quint8(4)); // once the user chooses an item
}

void tst_ClientCodes::typedCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");

    QTest::newRow("accepted as typed") << "09AF"
                                       << "09AF";
    QTest::newRow("lower case") << "abcd"
                                << "ABCD";
    QTest::newRow("others dropped") << " 1G-2"
                                    << "12";
    QTest::newRow("at most four") << "123456"
                                  << "1234";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_ClientCodes::typedCode()
{
    QFETCH(QString, text);
    QFETCH(QString, code);
    QCOMPARE(TypedCode(text), code);
}

void tst_ClientCodes::keyFilter_data()
{
    QTest::addColumn<QChar>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("typeKnown");
    QTest::addColumn<int>("rowAfter");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QChar>("character");
    QTest::addColumn<bool>("touchesCell");

    const QChar none;
    const QChar backspace(Backspace);
    const QChar enter(Enter);
    QTest::newRow("digit") << QChar('7') << 2 << true << 2 << true << QChar('7') << true;
    QTest::newRow("b becomes B") << QChar('b') << 2 << true << 2 << true << QChar('B') << true;
    QTest::newRow("F") << QChar('F') << 0 << true << 0 << true << QChar('F') << true;
    QTest::newRow("G refused") << QChar('G') << 2 << true << 2 << false << none << true;
    QTest::newRow("g refused") << QChar('g') << 2 << true << 2 << false << none << true;
    QTest::newRow("space refused") << QChar(' ') << 2 << true << 2 << false << none << true;
    QTest::newRow("backspace") << backspace << 2 << true << 2 << true << backspace << true;
    QTest::newRow("Enter moves down") << enter << 2 << true << 3 << false << none << true;
    QTest::newRow("Enter on the last row") << enter << 8 << true << 8 << false << none << false;
    QTest::newRow("basic: row 0 types")
        << QChar('5') << 0 << false << 0 << true << QChar('5') << true;
    QTest::newRow("basic: row 3 refuses") << QChar('5') << 3 << false << 3 << false << none << true;
    QTest::newRow("basic: Enter from row 0") << enter << 0 << false << 1 << false << none << true;
}

void tst_ClientCodes::keyFilter()
{
    QFETCH(QChar, key);
    QFETCH(int, row);
    QFETCH(bool, typeKnown);
    QFETCH(int, rowAfter);
    QFETCH(bool, accepted);
    QFETCH(QChar, character);
    QFETCH(bool, touchesCell);

    const CodeKey typed = FilterCodeKey(key, row, typeKnown);
    QCOMPARE(typed.row, rowAfter);
    QCOMPARE(typed.accepted, accepted);
    QCOMPARE(typed.character, character);
    QCOMPARE(typed.touchesCell, touchesCell);
    QVERIFY(!LeftToGrid(key));
}

void tst_ClientCodes::eventClamp_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");

    QTest::newRow("799") << 799 << 799;
    QTest::newRow("800") << 800 << 900;
    QTest::newRow("850") << 850 << 900;
    QTest::newRow("899") << 899 << 900;
    QTest::newRow("900") << 900 << 900;
    QTest::newRow("130") << 130 << 130;
}

void tst_ClientCodes::eventClamp()
{
    QFETCH(int, typed);
    QFETCH(int, kept);
    QCOMPARE(ClampInputEvent(typed), kept);
}

void tst_ClientCodes::eventsPartition_data()
{
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<int>("partition");

    QTest::newRow("none") << QList<bool>(PartitionCount, false) << 0;
    QTest::newRow("row 3") << QList<bool> { 0, 0, 0, 1, 0, 0, 0, 0, 0 } << 3;
    QTest::newRow("the last of two") << QList<bool> { 0, 0, 1, 0, 0, 1, 0, 0, 0 } << 5;
    QTest::newRow("row 8") << QList<bool> { 0, 0, 0, 0, 0, 0, 0, 0, 1 } << 8;
}

void tst_ClientCodes::eventsPartition()
{
    QFETCH(QList<bool>, ticked);
    QFETCH(int, partition);
    QCOMPARE(EventsPartition(ticked), partition);
}

void tst_ClientCodes::typeDisplay_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("inputs");
    QTest::addColumn<bool>("notWorking");
    QTest::addColumn<bool>("jfl");

    QTest::newRow("CONTACT-ID") << 0 << false << false << false;
    QTest::newRow("NAO MONITORADA") << 4 << true << false << false;
    QTest::newRow("CONTACT-ID + ENTRADA PGM") << 5 << true << true << false;
    QTest::newRow("JFL / COMPATEC") << 6 << false << false << true;
    QTest::newRow("CWR-32") << 9 << false << false << false;
    QTest::newRow("no item") << -1 << false << false << false;
}

void tst_ClientCodes::typeDisplay()
{
    QFETCH(int, item);
    QFETCH(bool, inputs);
    QFETCH(bool, notWorking);
    QFETCH(bool, jfl);

    const TypeDisplay display = DisplayForType(item);
    QCOMPARE(display.inputs, inputs);
    QCOMPARE(display.notWorkingLabels, notWorking);
    QCOMPARE(display.jflLabels, jfl);
}

QTEST_APPLESS_MAIN(tst_ClientCodes)
#include "tst_clientcodes.moc"
