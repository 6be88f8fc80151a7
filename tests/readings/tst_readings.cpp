// Relay and PGM commands, the noise reply and the diagnostics reply, without a window.
#include <QtTest>

#include "readings/diagnostics.h"
#include "readings/noise.h"
#include "readings/outputs.h"

using namespace readings;

Q_DECLARE_METATYPE(readings::Rgb)

namespace {

const QString Refused = QStringLiteral("Comando não pode ser enviado para ID zero!");

// A non-master radio (ID 5) with the battery voltages: flags 0x07, master status 0x21,
// 90061 s switched on, reset time 2^31, events 0xFFFFFFFF, batteries 125, 7 and 136.
const QByteArray RadioReply = QByteArray::fromHex("0500e7151b2b2021220103000200010700015fcd80000000"
                                                  "1234210cffffffff00000004020001f202da02be557d0788"
                                                  "d017");
// The master (ID 0) without the battery voltages: flags 0x11, master status 0x00, 59 s.
const QByteArray MasterReply
    = QByteArray::fromHex("0000e70a1e321f2021000000000000110000003b00000000"
                          "0000000d000000100000000000010002000300042e5c");

QStringList RowTexts(const DiagnosticsReading& reading)
{
    QStringList rows;
    for (const DiagRow& row : reading.rows)
        rows << QStringLiteral("%1|%2|%3").arg(row.row).arg(row.caption, row.value);
    return rows;
}

} // namespace

class TestReadings : public QObject {
    Q_OBJECT

private slots:
    void outputCommands_data();
    void outputCommands();
    void bypassClamp_data();
    void bypassClamp();

    void noiseBars_data();
    void noiseBars();
    void noiseReply();
    void shortNoiseReply_data();
    void shortNoiseReply();

    void diagnosticsOfARadio();
    void diagnosticsOfTheMaster();
    void shortDiagnosticsReply();
    void batteryVoltagesNeedTheMarkerAndTheirBytes_data();
    void batteryVoltagesNeedTheMarkerAndTheirBytes();
    void durationText_data();
    void durationText();
    void radioStatusText_data();
    void radioStatusText();
    void communicationStatusText_data();
    void communicationStatusText();
    void batteryVoltageText_data();
    void batteryVoltageText();
    void logLines_data();
    void logLines();
};

// ---- Relay and PGM ---------------------------------------------------------------------

void TestReadings::outputCommands_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("radioId");
    QTest::addColumn<int>("argument"); // bypass minutes or pulse item
    QTest::addColumn<bool>("send");
    QTest::addColumn<QByteArray>("arguments"); // a1 a2 a3
    QTest::addColumn<QString>("status");

    QTest::newRow("on, 1 min") << "on" << 5 << 1 << true << QByteArray::fromHex("030100") << "";
    QTest::newRow("on, 30 min") << "on" << 5 << 30 << true << QByteArray::fromHex("031e00") << "";
    QTest::newRow("on, 0 min sent as is")
        << "on" << 1023 << 0 << true << QByteArray::fromHex("030000") << "";
    QTest::newRow("on, 45 min clamped")
        << "on" << 5 << 45 << true << QByteArray::fromHex("031e00") << "";
    QTest::newRow("off") << "off" << 5 << 0 << true << QByteArray::fromHex("020000") << "";
    QTest::newRow("pulse 1 s") << "pulse" << 5 << 0 << true << QByteArray::fromHex("806400") << "";
    QTest::newRow("pulse 1,5 s") << "pulse" << 5 << 1 << true << QByteArray::fromHex("809600")
                                 << "";
    QTest::newRow("pulse 2 s") << "pulse" << 5 << 2 << true << QByteArray::fromHex("80c800") << "";
    QTest::newRow("pulse 2,5 s") << "pulse" << 5 << 3 << true << QByteArray::fromHex("80fa00")
                                 << "";
    QTest::newRow("pulse, typed text matching no item")
        << "pulse" << 5 << -1 << false << QByteArray() << "";
    QTest::newRow("pulse, index past the items")
        << "pulse" << 5 << 4 << false << QByteArray() << "";
    QTest::newRow("on, master") << "on" << 0 << 1 << false << QByteArray() << Refused;
    QTest::newRow("off, master") << "off" << 0 << 0 << false << QByteArray() << Refused;
    QTest::newRow("pulse, master") << "pulse" << 0 << 0 << false << QByteArray() << Refused;
    QTest::newRow("pulse without item, master")
        << "pulse" << 0 << -1 << false << QByteArray() << Refused;
}

void TestReadings::outputCommands()
{
    QFETCH(QString, button);
    QFETCH(int, radioId);
    QFETCH(int, argument);
    QFETCH(bool, send);
    QFETCH(QByteArray, arguments);
    QFETCH(QString, status);

    const OutputCommand command = button == "on" ? BypassOnCommand(radioId, argument)
        : button == "off"                        ? BypassOffCommand(radioId)
                                                 : PgmPulseCommand(radioId, argument);
    QCOMPARE(command.send, send);
    QCOMPARE(command.status, status);
    if (send) {
        QByteArray sent;
        sent.append(char(command.a1)).append(char(command.a2)).append(char(command.a3));
        QCOMPARE(sent.toHex(), arguments.toHex());
    }
}

void TestReadings::bypassClamp_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");
    QTest::newRow("45") << 45 << 30;
    QTest::newRow("31") << 31 << 30;
    QTest::newRow("30") << 30 << 30;
    QTest::newRow("7") << 7 << 7;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("-5") << -5 << 0;
    QTest::newRow("99") << 99 << 30;
}

void TestReadings::bypassClamp()
{
    QFETCH(int, typed);
    QFETCH(int, kept);
    QCOMPARE(ClampBypassMinutes(typed), kept);
}

// ---- Noise -----------------------------------------------------------------------------

void TestReadings::noiseBars_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("position");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<QString>("caption");

    const Rgb green { 0, 128, 0 }, blue { 0, 0, 255 }, red { 255, 0, 0 };
    QTest::newRow("0: loudest") << 0 << 100 << red << "-0 dBm";
    QTest::newRow("30: clamped to 40") << 30 << 100 << red << "-30 dBm";
    QTest::newRow("40") << 40 << 100 << red << "-40 dBm";
    QTest::newRow("90: red") << 90 << 50 << red << "-90 dBm";
    QTest::newRow("91: blue") << 91 << 49 << blue << "-91 dBm";
    QTest::newRow("95") << 95 << 45 << blue << "-95 dBm";
    QTest::newRow("100: blue") << 100 << 40 << blue << "-100 dBm";
    QTest::newRow("101: green") << 101 << 39 << green << "-101 dBm";
    QTest::newRow("105") << 105 << 35 << green << "-105 dBm";
    QTest::newRow("140") << 140 << 0 << green << "-140 dBm";
    QTest::newRow("150: clamped to 140") << 150 << 0 << green << "-150 dBm";
    QTest::newRow("255") << 255 << 0 << green << "-255 dBm";
}

void TestReadings::noiseBars()
{
    QFETCH(int, level);
    QFETCH(int, position);
    QFETCH(Rgb, colour);
    QFETCH(QString, caption);
    const NoiseBar bar = NoiseBarFor(quint8(level));
    QCOMPARE(bar.position, position);
    QVERIFY(bar.colour == colour);
    QCOMPARE(bar.caption, caption);
    QCOMPARE(int(bar.level), level);
}

void TestReadings::noiseReply()
{
    // Levels 95, 105, 150 in bytes 3, 4, 5 from radio 261 (ID low byte first).
    const auto reading
        = DecodeNoise(QByteArray::fromHex("0501d85f6996a1b2"), QStringLiteral("14:03:27"));
    QVERIFY(reading);
    QCOMPARE(reading->radioId, 261);
    QCOMPARE(reading->min.caption, QStringLiteral("-95 dBm"));
    QCOMPARE(reading->min.position, 45);
    QCOMPARE(reading->med.caption, QStringLiteral("-105 dBm"));
    QCOMPARE(reading->med.position, 35);
    QCOMPARE(reading->max.caption, QStringLiteral("-150 dBm"));
    QCOMPARE(reading->max.position, 0);
    QCOMPARE(reading->logText,
        QStringLiteral("\n[14:03:27] RUIDO RADIO [261] Min -95 dBm / Med -105 dBm / Max -150 dBm"));

    // The master is decoded like any other radio.
    const auto master = DecodeNoise(QByteArray::fromHex("0000d81e2828"), QStringLiteral("x"));
    QVERIFY(master);
    QCOMPARE(master->logText,
        QStringLiteral("\n[x] RUIDO RADIO [0] Min -30 dBm / Med -40 dBm / Max -40 dBm"));
}

void TestReadings::shortNoiseReply_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("3 bytes") << QByteArray::fromHex("0500d8") << false;
    QTest::newRow("5 bytes") << QByteArray::fromHex("0500d85f69") << false;
    // Nothing marks where the payload ends: six bytes hold the three levels.
    QTest::newRow("6 bytes") << QByteArray::fromHex("0500d85f6996") << true;
}

void TestReadings::shortNoiseReply()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, decoded);
    QCOMPARE(DecodeNoise(frame, QString()).has_value(), decoded);
}

// ---- Diagnostics -----------------------------------------------------------------------

void TestReadings::diagnosticsOfARadio()
{
    const auto reading = DecodeDiagnostics(RadioReply, QStringLiteral("09:15:00"));
    QVERIFY(reading);
    QCOMPARE(reading->radioId, 5);
    QVERIFY(reading->batteryVoltages);
    const QStringList rows {
        "0|ID RADIO|5",
        "1|TEMP MINIMA|21",
        "2|TEMP ATUAL|27",
        "3|TEMP MAXIMA|43",
        "4|NUMERO RESET|259",
        "5|TEMPO LIGADO|1 dd, 1 hr, 1 min, 1 seg",
        "6|TENSÃO DE LINHA|12V",
        "7|EVENTOS TRANSMITIDOS|-1",
        "8|EVENTOS RECUSADOS|4",
        "9|NIVEL CONTACT ID|512 / 498",
        "10|NIVEL CONTACT ID MAX|730 / 702",
        "11|ESTADO RADIO|PROBLEMA TENSÃO LINHA, RECEBENDO CONTACT-ID, BYPASS RELE",
        "12|ESTADO COMUNICAÇÃO RF|BUFFER MESTRE CHEIO",
        "13|TENSÃO MIN|12,5V",
        "14|TENSÃO ATUAL|0,7V",
        "15|TENSÃO MAX|13,6V",
    };
    QCOMPARE(RowTexts(*reading), rows);
    const QString log = "\n[09:15:00]"
                        "\nID RADIO       :5"
                        "\nTemp Min       :21"
                        "\nTemp Med       :27"
                        "\nTemp Max       :43"
                        "\nV3v3 Min       :32"
                        "\nV3v3 Med       :33"
                        "\nV3v3 Max       :34"
                        "\nNum Reset      :259"
                        "\nNum POR        :2"
                        "\nNum WD         :1"
                        "\nStatus flags   :7"
                        "\nTempo Ligado   :90061"
                        "\nTempo Reset    :-2147483648"
                        "\nPilha          :4660"
                        "\nStatus Mestre  :33"
                        "\nTensao de Linha:12"
                        "\nEventos ok     :-1"
                        "\nCID LQ         :4"
                        "\nNivel L1       :512"
                        "\nNivel L2       :498"
                        "\nMax   L1       :730"
                        "\nMax   L2       :702"
                        "\nVBateria Min  :125"
                        "\nVBateria Med  :7"
                        "\nVBateria Max  :136";
    QCOMPARE(reading->logText, log);
    QCOMPARE(reading->logText.count('\n'), 1 + 1 + 21 + 3);
}

void TestReadings::diagnosticsOfTheMaster()
{
    QCOMPARE(MasterReply.size(), 46);
    const auto reading = DecodeDiagnostics(MasterReply, QStringLiteral("23:59:59"));
    QVERIFY(reading);
    QCOMPARE(reading->radioId, 0);
    QVERIFY(!reading->batteryVoltages);
    const QStringList rows {
        "0|ID RADIO|0",
        "1|TEMP MINIMA|10",
        "2|TEMP ATUAL|30",
        "3|TEMP MAXIMA|50",
        "4|NUMERO RESET|0",
        "5|TEMPO LIGADO|0 dd, 0 hr, 0 min, 59 seg",
        "6|TENSÃO DE LINHA|13V",
        "7|EVENTOS CONTACT-ID|16",
        "8|EVENTOS RECUSADOS|0",
        "9|NIVEL CONTACT ID|1 / 2",
        "10|NIVEL CONTACT ID MAX|3 / 4",
        "11|ESTADO RADIO|",
        "12|ESTADO COMUNICAÇÃO RF|INTERFACE AUTOMAÇÃO COM PROBLEMAS",
    };
    QCOMPARE(RowTexts(*reading), rows);
    const QString log = "\n[23:59:59]"
                        "\nID RADIO       :0"
                        "\nTemp Min       :10"
                        "\nTemp Med       :30"
                        "\nTemp Max       :50"
                        "\nV3v3 Min       :31"
                        "\nV3v3 Med       :32"
                        "\nV3v3 Max       :33"
                        "\nNum Reset      :0"
                        "\nNum POR        :0"
                        "\nNum WD         :0"
                        "\nStatus flags   :17"
                        "\nTempo Ligado   :59"
                        "\nTempo Reset    :0"
                        "\nPilha          :0"
                        "\nStatus Mestre  :0"
                        "\nTensao de Linha:13"
                        "\nEventos ok     :16"
                        "\nCID LQ         :0"
                        "\nNivel L1       :1"
                        "\nNivel L2       :2"
                        "\nMax   L1       :3"
                        "\nMax   L2       :4";
    QCOMPARE(reading->logText, log);
}

void TestReadings::shortDiagnosticsReply()
{
    QVERIFY(!DecodeDiagnostics(QByteArray(), QString()));
    QVERIFY(!DecodeDiagnostics(QByteArray::fromHex("0500e7151b"), QString()));
    QVERIFY(!DecodeDiagnostics(RadioReply.left(43), QString()));
    // Bytes 0 to 43 are every field but the battery voltages.
    const auto reading = DecodeDiagnostics(RadioReply.left(44), QString());
    QVERIFY(reading);
    QVERIFY(!reading->batteryVoltages);
    QCOMPARE(reading->rows.size(), 13);
    QVERIFY(!reading->logText.contains("VBateria"));
}

void TestReadings::batteryVoltagesNeedTheMarkerAndTheirBytes_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("battery");
    QTest::newRow("marker, 48 bytes") << RadioReply.left(48) << true;
    QTest::newRow("marker, 50 bytes") << RadioReply << true;
    QTest::newRow("marker, 47 bytes") << RadioReply.left(47) << false;
    QTest::newRow("marker, 45 bytes") << RadioReply.left(45) << false;
    QByteArray noMarker = RadioReply;
    noMarker[44] = char(0x54);
    QTest::newRow("0x54 in byte 44") << noMarker << false;
    // A reply without the voltages whose CRC low byte happens to be 0x55.
    QByteArray crcLikeMarker = MasterReply;
    crcLikeMarker[44] = char(0x55);
    QTest::newRow("0x55 as CRC, 46 bytes") << crcLikeMarker << false;
}

void TestReadings::batteryVoltagesNeedTheMarkerAndTheirBytes()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, battery);
    const auto reading = DecodeDiagnostics(frame, QString());
    QVERIFY(reading);
    QCOMPARE(reading->batteryVoltages, battery);
    QCOMPARE(reading->rows.size(), battery ? 16 : 13);
    QCOMPARE(reading->logText.count("VBateria"), battery ? 3 : 0);
}

void TestReadings::durationText_data()
{
    QTest::addColumn<quint32>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0u << "0 dd, 0 hr, 0 min, 0 seg";
    QTest::newRow("59") << 59u << "0 dd, 0 hr, 0 min, 59 seg";
    QTest::newRow("1 d 1 h 1 min 1 s") << 90061u << "1 dd, 1 hr, 1 min, 1 seg";
    QTest::newRow("23:59:59") << 86399u << "0 dd, 23 hr, 59 min, 59 seg";
    QTest::newRow("2^32 - 1") << 0xFFFFFFFFu << "49710 dd, 6 hr, 28 min, 15 seg";
}

void TestReadings::durationText()
{
    QFETCH(quint32, seconds);
    QFETCH(QString, text);
    QCOMPARE(DurationText(seconds), text);
}

void TestReadings::radioStatusText_data()
{
    QTest::addColumn<int>("radioId");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("text");
    QTest::newRow("radio 0x00") << 5 << 0x00 << "OK";
    QTest::newRow("radio 0x01") << 5 << 0x01 << "OK, RECEBENDO CONTACT-ID";
    QTest::newRow("radio 0x02") << 5 << 0x02 << "OK, BYPASS RELE";
    QTest::newRow("radio 0x03") << 5 << 0x03 << "OK, RECEBENDO CONTACT-ID, BYPASS RELE";
    QTest::newRow("radio 0x04") << 5 << 0x04 << "PROBLEMA TENSÃO LINHA";
    QTest::newRow("radio 0x07") << 5 << 0x07
                                << "PROBLEMA TENSÃO LINHA, RECEBENDO CONTACT-ID, BYPASS RELE";
    QTest::newRow("radio 0xF8") << 5 << 0xF8 << "OK";
    QTest::newRow("master 0x01") << 0 << 0x01 << "OK";
    QTest::newRow("master 0x10") << 0 << 0x10 << "SEM COMUNICAÇÃO COM AUTOMAÇÃO";
    QTest::newRow("master 0x11") << 0 << 0x11 << "";
    QTest::newRow("master 0x00") << 0 << 0x00 << "";
    QTest::newRow("master 0x04") << 0 << 0x04 << "";
}

void TestReadings::radioStatusText()
{
    QFETCH(int, radioId);
    QFETCH(int, flags);
    QFETCH(QString, text);
    QCOMPARE(RadioStatusText(radioId, quint8(flags)), text);
}

void TestReadings::communicationStatusText_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("0x01") << 0x01 << "OK";
    QTest::newRow("0x21") << 0x21 << "BUFFER MESTRE CHEIO";
    QTest::newRow("0x20") << 0x20 << "BUFFER MESTRE CHEIO";
    QTest::newRow("0x00") << 0x00 << "INTERFACE AUTOMAÇÃO COM PROBLEMAS";
    QTest::newRow("0x03") << 0x03 << "INTERFACE AUTOMAÇÃO COM PROBLEMAS";
}

void TestReadings::communicationStatusText()
{
    QFETCH(int, status);
    QFETCH(QString, text);
    QCOMPARE(CommunicationStatusText(quint8(status)), text);
}

void TestReadings::batteryVoltageText_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("text");
    QTest::newRow("125") << 125 << "12,5V";
    QTest::newRow("7") << 7 << "0,7V";
    QTest::newRow("0") << 0 << "0,0V";
    QTest::newRow("120") << 120 << "12,0V";
    QTest::newRow("255") << 255 << "25,5V";
}

void TestReadings::batteryVoltageText()
{
    QFETCH(int, tenths);
    QFETCH(QString, text);
    QCOMPARE(BatteryVoltageText(quint8(tenths)), text);
}

void TestReadings::logLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width"); // 0: a word, low byte first
    QTest::addColumn<QString>("line");
    QTest::newRow("1 byte 0xFF") << QByteArray::fromHex("ff") << 1 << "\nL:255";
    QTest::newRow("2 bytes high first") << QByteArray::fromHex("0103") << 2 << "\nL:259";
    QTest::newRow("2 bytes 0xFFFF") << QByteArray::fromHex("ffff") << 2 << "\nL:65535";
    QTest::newRow("4 bytes 2^31 - 1") << QByteArray::fromHex("7fffffff") << 4 << "\nL:2147483647";
    QTest::newRow("4 bytes 2^31") << QByteArray::fromHex("80000000") << 4 << "\nL:-2147483648";
    QTest::newRow("4 bytes 0xFFFFFFFF") << QByteArray::fromHex("ffffffff") << 4 << "\nL:-1";
    QTest::newRow("word low first") << QByteArray::fromHex("ff03") << 0 << "\nL:1023";
    QTest::newRow("too short for the field") << QByteArray::fromHex("0102") << 4 << "";
    QTest::newRow("word too short") << QByteArray::fromHex("01") << 0 << "";
}

void TestReadings::logLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QFETCH(QString, line);
    const QString label = QStringLiteral("L:");
    QCOMPARE(width == 0 ? WordLine(label, bytes, 0) : ValueLine(label, bytes, 0, width), line);
}

QTEST_APPLESS_MAIN(TestReadings)
#include "tst_readings.moc"
