#include "radiosim/options.h"

#include <QCommandLineParser>

#include <cctype>

namespace radiosim {

namespace {

struct Option {
    const char* name;
    const char* valueName; // nullptr: a flag
    const char* description;
};

const Option Options[] = {
    { "id", "N", "radio ID, 0..65535 (default 1)" },
    { "master", nullptr, "the master radio (ID 0)" },
    { "serial", "a.b.c.d", "serial number (default 0.0.154.78)" },
    { "hardware", "N", "hardware-version code (default 14)" },
    { "fw", "V", "firmware version (default 6)" },
    { "rev", "R", "firmware revision (default 11)" },
    { "channel", "N", "RF channel (default 1)" },
    { "bank", "N", "memory bank, 0 = A (default 0)" },
    { "marker3", "N", "byte 3 of the parameter reply (default 0)" },
    { "protocol", "N", "alarm-panel protocol code (default 0)" },
    { "partition", "N", "radio partition (default 0)" },
    { "periodic", "MIN", "periodic-test minutes, master radio (default 60)" },
    { "surgard", "N", "Sur-Gard mode, master radio (default 0)" },
    { "command-event", "N", "command/event flag, master radio (default 0)" },
    { "low-voltage", nullptr, "low-voltage suspend on" },
    { "password", "N", "current password (default 0)" },
    { "locked", nullptr, "password lock on" },
    { "client-format", "F", "client-code reply format: basic, 55, 56 or 57 (default basic)" },
    { "codes", "c0,c1,...", "client codes of partitions 0..8 (any bytes: \\xNN)" },
    { "comm-type", "N", "communication type, wire code (default 1)" },
    { "events-partition", "N", "partition of the radio's own events (default 0)" },
    { "pin1", "WORD", "input event word of pin 1, bit 15 inverts (default 130)" },
    { "pin2", "WORD", "input event word of pin 2 (default 0x8191: 401 inverted)" },
    { "noise", "min,med,max", "noise levels, reply bytes 3, 4, 5 (default 112,104,96)" },
    { "diag", "HEX", "diagnostics record, reply bytes 3..43 or 3..47, in hex" },
    { "no-battery", nullptr, "diagnostics without the battery voltages (44-byte record)" },
    { "end-result", "N", "result of the end-of-load command (default: success for its flag)" },
    { "flash-out", "FILE", "write the flash image after each end of load and at exit" },
    { "drop-every", "N", "drop every Nth reply" },
    { "drop-share", "P", "drop a share P (0..1) of the replies at random" },
    { "seed", "S", "seed of --drop-share (default 1)" },
    { "wrong-address-every", "N", "every Nth data acknowledgement carries another address" },
    { "error-status", "S", "answer data records with status S (see --error-every)" },
    { "error-every", "N", "only every Nth data acknowledgement gets --error-status" },
    { "delay", "MS", "wait before each reply" },
    { "pace", nullptr, "real line rate: 9600 8N1 (1.0417 ms per byte) both ways" },
    { "processing-ms", "MS", "time the radio takes per data record" },
    { "close-after", "N", "pull the cable after N data records (the last is not answered)" },
};

class Reader {
public:
    Reader(const QCommandLineParser& parser, QString* error)
        : parser_(parser)
        , error_(error)
    {
    }

    bool ok() const { return ok_; }

    template <typename T> void Number(const char* name, T* target, quint64 max)
    {
        const QString key = QLatin1String(name);
        if (!ok_ || !parser_.isSet(key))
            return;
        quint64 value = 0;
        if (!ParseNumber(parser_.value(key), max, &value))
            return Fail(QStringLiteral("--%1: \"%2\" is not a number from 0 to %3")
                            .arg(key, parser_.value(key))
                            .arg(max));
        *target = T(value);
    }

    template <typename T> void List(const char* name, T* const* targets, int count, quint64 max)
    {
        const QString key = QLatin1String(name);
        if (!ok_ || !parser_.isSet(key))
            return;
        const QStringList parts = parser_.value(key).split(QLatin1Char(','));
        if (parts.size() != count)
            return Fail(QStringLiteral("--%1: \"%2\" needs %3 numbers separated by commas")
                            .arg(key, parser_.value(key))
                            .arg(count));
        for (int i = 0; i < count; ++i) {
            quint64 value = 0;
            if (!ParseNumber(parts[i].trimmed(), max, &value))
                return Fail(QStringLiteral("--%1: \"%2\" is not a number from 0 to %3")
                                .arg(key, parts[i])
                                .arg(max));
            *targets[i] = T(value);
        }
    }

    void Fail(const QString& text)
    {
        if (ok_ && error_)
            *error_ = text;
        ok_ = false;
    }

private:
    static bool ParseNumber(const QString& text, quint64 max, quint64* value)
    {
        bool ok = false;
        const qulonglong v = text.trimmed().toULongLong(&ok, 0);
        if (!ok || v > max)
            return false;
        *value = v;
        return true;
    }

    const QCommandLineParser& parser_;
    QString* error_;
    bool ok_ = true;
};

void AddOptions(QCommandLineParser& parser)
{
    for (const Option& o : Options) {
        if (o.valueName)
            parser.addOption(QCommandLineOption(
                QLatin1String(o.name), QLatin1String(o.description), QLatin1String(o.valueName)));
        else
            parser.addOption(
                QCommandLineOption(QLatin1String(o.name), QLatin1String(o.description)));
    }
    parser.addHelpOption();
}

} // namespace

bool ParseClientCode(const QString& text, QByteArray* code, QString* error)
{
    const QByteArray raw = text.toLatin1();
    QByteArray bytes;
    for (int i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            bytes.append(raw[i]);
            continue;
        }
        if (i + 1 < raw.size() && raw[i + 1] == '\\') {
            bytes.append('\\');
            ++i;
            continue;
        }
        const QByteArray digits = raw.mid(i + 2, 2);
        bool ok = i + 1 < raw.size() && raw[i + 1] == 'x' && digits.size() == 2
            && isxdigit(uchar(digits[0])) && isxdigit(uchar(digits[1]));
        const int value = ok ? digits.toInt(nullptr, 16) : 0;
        if (!ok) {
            if (error)
                *error = QStringLiteral("client code \"%1\": a backslash starts \\xNN or \\\\")
                             .arg(text);
            return false;
        }
        bytes.append(char(value));
        i += 3;
    }
    if (bytes.size() > 4) {
        if (error)
            *error = QStringLiteral("client code \"%1\" is longer than 4 bytes").arg(text);
        return false;
    }
    bytes.append(4 - bytes.size(), '\0');
    *code = bytes;
    return true;
}

bool ParseArguments(const QStringList& arguments, SimConfig* config, QString* error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AddOptions(parser);
    if (!parser.parse(arguments)) {
        if (error)
            *error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        if (error)
            *error = QStringLiteral("unexpected argument \"%1\"")
                         .arg(parser.positionalArguments().first());
        return false;
    }
    SimConfig c;
    c.help = parser.isSet(QStringLiteral("help"));
    RadioState& s = c.state;
    FaultOptions& f = c.faults;
    Reader r(parser, error);

    r.Number("id", &s.id, 0xFFFF);
    if (parser.isSet(QStringLiteral("master")))
        s.id = 0;
    if (parser.isSet(QStringLiteral("serial"))) {
        quint8* parts[4] = { &s.serial[0], &s.serial[1], &s.serial[2], &s.serial[3] };
        const QString text = parser.value(QStringLiteral("serial"));
        QStringList fields = text.split(QLatin1Char('.'));
        if (fields.size() != 4)
            r.Fail(QStringLiteral("--serial: \"%1\" is not four numbers a.b.c.d").arg(text));
        for (int i = 0; r.ok() && i < 4; ++i) {
            bool ok = false;
            const uint v = fields[i].toUInt(&ok);
            if (!ok || v > 255)
                r.Fail(
                    QStringLiteral("--serial: \"%1\" is not four numbers from 0 to 255").arg(text));
            else
                *parts[i] = quint8(v);
        }
    }
    r.Number("hardware", &s.hardware, 255);
    r.Number("fw", &s.firmwareVersion, 255);
    r.Number("rev", &s.firmwareRevision, 255);
    r.Number("channel", &s.channel, 255);
    r.Number("bank", &s.bank, 255);
    r.Number("marker3", &s.marker3, 255);
    r.Number("protocol", &s.protocol, 255);
    r.Number("partition", &s.partition, 255);
    r.Number("periodic", &s.periodicMinutes, 0xFFFF);
    r.Number("surgard", &s.surgardMode, 255);
    r.Number("command-event", &s.commandEvent, 255);
    s.lowVoltage = parser.isSet(QStringLiteral("low-voltage"));
    r.Number("password", &s.password, 0xFFFFFFFFull);
    s.locked = parser.isSet(QStringLiteral("locked"));

    if (r.ok() && parser.isSet(QStringLiteral("client-format"))) {
        const QString format = parser.value(QStringLiteral("client-format")).toLower();
        if (format == QLatin1String("basic"))
            s.clientFormat = 0x00;
        else if (format == QLatin1String("55") || format == QLatin1String("56")
            || format == QLatin1String("57"))
            s.clientFormat = quint8(format.toUInt(nullptr, 16));
        else
            r.Fail(
                QStringLiteral("--client-format: \"%1\" is not basic, 55, 56 or 57").arg(format));
    }
    if (r.ok() && parser.isSet(QStringLiteral("codes"))) {
        const QStringList codes = parser.value(QStringLiteral("codes")).split(QLatin1Char(','));
        if (codes.size() > 9)
            r.Fail(QStringLiteral("--codes: at most 9 client codes"));
        for (int k = 0; r.ok() && k < codes.size(); ++k) {
            QString message;
            if (!ParseClientCode(codes[k], &s.clientCodes[k], &message))
                r.Fail(QStringLiteral("--codes: ") + message);
        }
    }
    r.Number("comm-type", &s.communicationType, 255);
    r.Number("events-partition", &s.eventsPartition, 255);
    r.Number("pin1", &s.inputPin1, 0xFFFF);
    r.Number("pin2", &s.inputPin2, 0xFFFF);
    quint8* noise[3] = { &s.noiseMin, &s.noiseMedium, &s.noiseMax };
    r.List("noise", noise, 3, 255);
    if (r.ok() && parser.isSet(QStringLiteral("diag"))) {
        const QString text = parser.value(QStringLiteral("diag"));
        const QByteArray record = QByteArray::fromHex(text.toLatin1());
        if ((record.size() != 41 && record.size() != 45)
            || record.toHex() != text.toLatin1().toLower())
            r.Fail(QStringLiteral("--diag: \"%1\" is not 41 or 45 bytes in hex").arg(text));
        else
            s.diagnostics.Decode(record);
    }
    if (parser.isSet(QStringLiteral("no-battery")))
        s.diagnostics.batteryVoltages = false;
    r.Number("end-result", &s.endResult, 255);
    s.flashOutPath = parser.value(QStringLiteral("flash-out"));

    r.Number("drop-every", &f.dropEvery, 1000000);
    if (r.ok() && parser.isSet(QStringLiteral("drop-share"))) {
        bool ok = false;
        const double share = parser.value(QStringLiteral("drop-share")).toDouble(&ok);
        if (!ok || share < 0.0 || share > 1.0)
            r.Fail(QStringLiteral("--drop-share: \"%1\" is not a share from 0 to 1")
                       .arg(parser.value(QStringLiteral("drop-share"))));
        else
            f.dropShare = share;
    }
    r.Number("seed", &f.seed, 0xFFFFFFFFull);
    r.Number("wrong-address-every", &f.wrongAddressEvery, 1000000);
    r.Number("error-status", &f.errorStatus, 255);
    r.Number("error-every", &f.errorEvery, 1000000);
    r.Number("delay", &f.delayMs, 600000);
    f.pace = parser.isSet(QStringLiteral("pace"));
    r.Number("processing-ms", &f.processingMs, 600000);
    r.Number("close-after", &f.closeAfter, 100000000);
    if (r.ok() && f.errorEvery > 0 && f.errorStatus < 0)
        r.Fail(QStringLiteral("--error-every needs --error-status"));

    if (!r.ok())
        return false;
    *config = c;
    return true;
}

QString HelpText()
{
    QString text = QStringLiteral(
        "Usage: radiosim [options]\n"
        "A simulated radio on a pseudo-terminal. Prints the slave path on the first line, then\n"
        "\"RX <hex>\" per frame received, \"TX <hex>\" per reply, \"# <note>\" for anything else.\n"
        "Commands on standard input, one per line: msg (send a receiver message), pull (pull the\n"
        "cable), quit.\n\nOptions:\n");
    for (const Option& o : Options) {
        QString left = QStringLiteral("  --") + QLatin1String(o.name);
        if (o.valueName)
            left += QLatin1Char(' ') + QLatin1String(o.valueName);
        text += left.leftJustified(30) + QLatin1Char(' ') + QLatin1String(o.description)
            + QLatin1Char('\n');
    }
    text += QStringLiteral("  --help").leftJustified(30) + QStringLiteral(" this text\n");
    return text;
}

} // namespace radiosim
