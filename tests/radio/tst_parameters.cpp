// Decoding of the parameter reply (codes 226 and 212) into the rows of the parameter grid.
#include <QTest>

#include "radio/parameters.h"

using radio::ParameterReading;

namespace {

// A parameter reply, field by field; Frame() gives the 28 bytes the decoding reads plus a
// CRC (which it does not read).
struct Reply {
    int id = 5;
    quint8 code = 226;
    std::array<quint8, 4> serial { { 0, 0, 154, 78 } };
    quint8 hardware = 14;
    quint8 surgard = 0;
    quint8 revision = 11;
    quint8 channel = 1;
    quint8 commandEvent = 0;
    quint8 version = 6;
    quint8 bank = 0;
    quint8 byte20 = 0;
    quint8 byte21 = 0;
    quint8 protocol = 0;
    quint8 partition = 0;

    QByteArray Frame() const
    {
        QByteArray f(30, '\0');
        f[0] = char(id & 0xFF);
        f[1] = char(id >> 8);
        f[2] = char(code);
        for (int i = 0; i < 4; ++i)
            f[5 + i] = char(serial[i]);
        f[9] = char(hardware);
        f[10] = char(surgard);
        f[11] = char(revision);
        f[12] = char(channel);
        f[13] = char(commandEvent);
        f[17] = char(version);
        f[18] = char(bank);
        f[20] = char(byte20);
        f[21] = char(byte21);
        f[26] = char(protocol);
        f[27] = char(partition);
        f[28] = char(0xAA); // CRC, not read
        f[29] = char(0x55);
        return f;
    }
};

Reply Master()
{
    Reply r;
    r.id = 0;
    r.byte20 = 0;
    r.byte21 = 60;
    return r;
}

// Row values as the grid shows them; "-" for a row that is not written.
QStringList Values(const ParameterReading& r)
{
    QStringList values;
    for (const auto& value : r.values)
        values << value.value_or(QStringLiteral("-"));
    return values;
}

const QStringList MasterCaptions { "ID RADIO", "NUMERO SERIE", "VERSÃO HARDWARE", "VERSÃO FIRMWARE",
    "REVISÃO FIRMWARE", "CANAL", "BANCO MEMÓRIA", "PROTOCOLO", "COMANDO+EVENTO",
    "TESTE PERIÓDICO" };
const QStringList OtherCaptions { "ID RADIO", "NUMERO SERIE", "VERSÃO HARDWARE", "VERSÃO FIRMWARE",
    "REVISÃO FIRMWARE", "CANAL", "BANCO MEMÓRIA", "COMUNICAÇÃO", "PARTIÇÃO RÁDIO", "." };

} // namespace

class tst_Parameters : public QObject {
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QStringList>("values");

        // The bytes the simulator answers by default, as they cross the wire.
        QTest::newRow("radio 1 on the wire")
            << QByteArray::fromHex("0100e2000000009a4e0e000b010000000006000000000000000000002611")
            << QStringList { "1", "0.0.154.78", "LUXAR_v8 460M", "6", "11", "1", "A", "CONTACT-ID",
                   "0", "-" };

        Reply r;
        r.id = 1023;
        r.serial = { { 255, 1, 0, 9 } };
        r.hardware = 18;
        r.version = 50;
        r.revision = 25;
        r.channel = 79;
        r.bank = 1;
        r.protocol = 6;
        r.partition = 255;
        QTest::newRow("radio 1023, every field")
            << r.Frame()
            << QStringList { "1023", "255.1.0.9", "PEXIN_SLOT 915M", "50", "25", "79", "B",
                   "CONTACT-ID + ENT. PGM", "255", "-" };
        r.code = 212;
        QTest::newRow("code 212 reads like 226")
            << r.Frame()
            << QStringList { "1023", "255.1.0.9", "PEXIN_SLOT 915M", "50", "25", "79", "B",
                   "CONTACT-ID + ENT. PGM", "255", "-" };

        const std::pair<quint8, const char*> hardware[]
            = { { 11, "PEXIN_SLOT 460M" }, { 12, "TQB460" }, { 13, "LUXAR_v6" },
                  { 14, "LUXAR_v8 460M" }, { 18, "PEXIN_SLOT 915M" }, { 21, "LUXAR_v8 915M" },
                  { 0, "..." }, { 15, "..." }, { 255, "..." } };
        for (const auto& [code, text] : hardware) {
            Reply h;
            h.hardware = code;
            QTest::addRow("hardware %d", code) << h.Frame()
                                               << QStringList { "5", "0.0.154.78", text, "6", "11",
                                                      "1", "A", "CONTACT-ID", "0", "-" };
        }

        const std::pair<quint8, const char*> protocols[] = { { 0, "CONTACT-ID" },
            { 1, "CONTACT-ID" }, { 2, "PARADOX ULTRA 738" }, { 3, "PARADOX SP-4000" },
            { 4, "INTELBRAS AMT4010" }, { 5, "Central NÃO MONITORADA" },
            { 6, "CONTACT-ID + ENT. PGM" }, { 7, "" }, { 255, "" } };
        for (const auto& [code, text] : protocols) {
            Reply p;
            p.version = 3;
            p.protocol = code;
            p.partition = 8;
            QTest::addRow("V 3, protocol %d", code)
                << p.Frame()
                << QStringList { "5", "0.0.154.78", "LUXAR_v8 460M", "3", "11", "1", "A", text, "8",
                       "-" };
        }

        Reply old;
        old.version = 2;
        old.protocol = 4;
        old.partition = 7;
        old.bank = 255;
        QTest::newRow("V 2 ignores protocol and partition")
            << old.Frame()
            << QStringList { "5", "0.0.154.78", "LUXAR_v8 460M", "2", "11", "1", "B", "CONTACT-ID",
                   "0", "-" };

        const struct {
            quint8 surgard, commandEvent, high, low;
            const char* mode;
            const char* command;
            const char* minutes;
        } masters[] = {
            { 0, 0, 0, 60, "SURGARD COM ACK", "COMANDO", "60 min" },
            { 1, 1, 0, 0, "SURGARD SEM ACK", "COMANDO+EVENTO", "0 min" },
            { 2, 255, 0x03, 0xE7, "SURGARD COM ACK Estendido", "COMANDO+EVENTO", "999 min" },
            { 3, 0, 0x03, 0xE8, "SURGARD SEM ACK Estendido", "COMANDO", "999 min" },
            { 255, 0, 0xFF, 0xFF, "SURGARD SEM ACK Estendido", "COMANDO", "999 min" },
            { 0, 0, 0x01, 0x00, "SURGARD COM ACK", "COMANDO", "256 min" },
        };
        for (const auto& m : masters) {
            Reply master = Master();
            master.surgard = m.surgard;
            master.commandEvent = m.commandEvent;
            master.byte20 = m.high;
            master.byte21 = m.low;
            master.protocol = 4; // not read for the master
            master.partition = 9;
            QTest::addRow("master, Sur-Gard %d, %s", m.surgard, m.minutes)
                << master.Frame()
                << QStringList { "0", "0.0.154.78", "LUXAR_v8 460M", "6", "11", "1", "A", m.mode,
                       m.command, m.minutes };
        }
    }
    void rows()
    {
        QFETCH(QByteArray, frame);
        QString problem;
        const std::optional<ParameterReading> r = radio::DecodeParameterReply(frame, &problem);
        QVERIFY2(r, qPrintable(problem));
        QTEST(Values(*r), "values");
        const bool master = frame[0] == 0 && frame[1] == 0;
        QCOMPARE(r->master, master);
        QStringList captions(r->captions.begin(), r->captions.end());
        QCOMPARE(captions, master ? MasterCaptions : OtherCaptions);
        QCOMPARE(int(r->model), int(quint8(frame[9])));
        QCOMPARE(int(r->channel), int(quint8(frame[12])));
        QCOMPARE(r->channelSelectable, quint8(frame[9]) != 21);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(int(r->serial[i]), int(quint8(frame[5 + i])));
    }

    // The low-voltage option by firmware version and revision; ticked by byte 21.
    void lowVoltageOption_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("revision");
        QTest::addColumn<int>("flag");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("5r4 hidden") << 5 << 4 << 1 << false << false;
        QTest::newRow("5r5 shown, ticked") << 5 << 5 << 1 << true << true;
        QTest::newRow("5r5 shown, not ticked") << 5 << 5 << 0 << true << false;
        QTest::newRow("6r0 shown") << 6 << 0 << 2 << true << true;
        QTest::newRow("49r0 shown") << 49 << 0 << 255 << true << true;
        QTest::newRow("50r15 hidden") << 50 << 15 << 1 << false << false;
        QTest::newRow("50r16 shown") << 50 << 16 << 1 << true << true;
        QTest::newRow("51r0 shown") << 51 << 0 << 0 << true << false;
        QTest::newRow("99r0 shown") << 99 << 0 << 1 << true << true;
        QTest::newRow("4r255 hidden") << 4 << 255 << 1 << false << false;
        QTest::newRow("100r255 hidden") << 100 << 255 << 1 << false << false;
        QTest::newRow("200r20 hidden") << 200 << 20 << 1 << false << false;
        QTest::newRow("0r0 hidden") << 0 << 0 << 1 << false << false;
    }
    void lowVoltageOption()
    {
        QFETCH(int, version);
        QFETCH(int, revision);
        QFETCH(int, flag);
        Reply r;
        r.version = quint8(version);
        r.revision = quint8(revision);
        r.byte21 = quint8(flag);
        const auto reading = radio::DecodeParameterReply(r.Frame(), nullptr);
        QVERIFY(reading);
        QTEST(reading->lowVoltageShown, "shown");
        QTEST(reading->lowVoltageTicked, "ticked");

        // The master radio never offers it, whatever its firmware.
        Reply master = Master();
        master.version = quint8(version);
        master.revision = quint8(revision);
        master.byte21 = quint8(flag);
        const auto masterReading = radio::DecodeParameterReply(master.Frame(), nullptr);
        QVERIFY(masterReading);
        QVERIFY(!masterReading->lowVoltageShown);
        QVERIFY(!masterReading->lowVoltageTicked);
    }

    // Replies that are not decoded: nothing is read outside the frame or for an ID that the
    // ID box has no item for.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("problem");
        const QByteArray full = Reply().Frame();
        QTest::newRow("27 bytes") << full.left(27) << "Resposta incompleta (27 bytes)";
        QTest::newRow("5 bytes") << full.left(5) << "Resposta incompleta (5 bytes)";
        QTest::newRow("empty") << QByteArray() << "Resposta incompleta (0 bytes)";
        Reply far;
        far.id = 1024;
        QTest::newRow("ID 1024") << far.Frame() << "ID inválido (1024)";
        far.id = 0xFFFF;
        QTest::newRow("ID 65535") << far.Frame() << "ID inválido (65535)";
        QTest::newRow("short and ID 1024")
            << far.Frame().left(20) << "Resposta incompleta (20 bytes)";
    }
    void refused()
    {
        QFETCH(QByteArray, frame);
        QString problem;
        QVERIFY(!radio::DecodeParameterReply(frame, &problem));
        QTEST(problem, "problem");
    }

    void exactlyTheBytesRead()
    {
        // 28 bytes without the CRC are enough.
        Reply r;
        r.partition = 4;
        r.version = 3;
        const auto reading = radio::DecodeParameterReply(r.Frame().left(28), nullptr);
        QVERIFY(reading);
        QCOMPARE(*reading->values[8], QStringLiteral("4"));
    }
};

QTEST_APPLESS_MAIN(tst_Parameters)
#include "tst_parameters.moc"
