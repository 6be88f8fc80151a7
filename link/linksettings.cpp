#include "link/linksettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace comm {

namespace {

const QStringList& BaudRateWords()
{
    static const QStringList words = {
        "Custom",
        "110",
        "300",
        "600",
        "1200",
        "2400",
        "4800",
        "9600",
        "14400",
        "19200",
        "38400",
        "56000",
        "57600",
        "115200",
        "128000",
        "256000",
    };
    return words;
}

bool Same(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

QString BaudRateWord(const QString& word)
{
    for (const QString& accepted : BaudRateWords())
        if (accepted.compare(word, Qt::CaseInsensitive) == 0)
            return accepted;
    return QStringLiteral("9600");
}

QString StopBitsWord(StopBits value)
{
    switch (value) {
    case StopBits::OneAndHalf: return QStringLiteral("1.5");
    case StopBits::Two: return QStringLiteral("2");
    case StopBits::One: break;
    }
    return QStringLiteral("1");
}

StopBits StopBitsFromWord(const QString& word)
{
    if (word == QLatin1String("1.5"))
        return StopBits::OneAndHalf;
    if (word == QLatin1String("2"))
        return StopBits::Two;
    return StopBits::One;
}

QString DataBitsWord(int bits)
{
    return QString::number(bits);
}

int DataBitsFromWord(const QString& word)
{
    for (int bits = 5; bits <= 8; ++bits)
        if (word == QString::number(bits))
            return bits;
    return 8;
}

QString ParityWord(Parity value)
{
    switch (value) {
    case Parity::Odd: return QStringLiteral("Odd");
    case Parity::Even: return QStringLiteral("Even");
    case Parity::Mark: return QStringLiteral("Mark");
    case Parity::Space: return QStringLiteral("Space");
    case Parity::None: break;
    }
    return QStringLiteral("None");
}

Parity ParityFromWord(const QString& word)
{
    if (Same(word, "Odd"))
        return Parity::Odd;
    if (Same(word, "Even"))
        return Parity::Even;
    if (Same(word, "Mark"))
        return Parity::Mark;
    if (Same(word, "Space"))
        return Parity::Space;
    return Parity::None;
}

QString FlowControlWord(const FlowControl& flow)
{
    if (flow.rtsHandshake && !flow.xonXoff)
        return QStringLiteral("Hardware");
    if (flow.xonXoff && !flow.rtsHandshake)
        return QStringLiteral("Software");
    if (!flow.xonXoff && !flow.rtsHandshake)
        return QStringLiteral("None");
    return QStringLiteral("Custom");
}

void ApplyFlowControlWord(const QString& word, FlowControl& flow)
{
    if (Same(word, "Hardware"))
        flow = { true, false };
    else if (Same(word, "Software"))
        flow = { false, true };
    else if (Same(word, "None"))
        flow = { false, false };
}

void LoadSettings(const QString& file, PortSettings& settings)
{
    if (!QFileInfo(file).isFile())
        return;
    QSettings ini(file, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return;
    ini.beginGroup(QLatin1String(SettingsSection));
    auto word
        = [&ini](const char* key) { return ini.value(QLatin1String(key)).toString().trimmed(); };
    auto has = [&ini](const char* key) { return ini.contains(QLatin1String(key)); };
    if (has("Port"))
        settings.port = ini.value(QStringLiteral("Port")).toString();
    if (has("BaudRate"))
        settings.baudRate = BaudRateWord(word("BaudRate"));
    if (has("CustomBaudRate")) {
        bool ok = false;
        const int custom = word("CustomBaudRate").toInt(&ok);
        if (ok)
            settings.customBaudRate = custom;
    }
    if (has("StopBits"))
        settings.stopBits = StopBitsFromWord(word("StopBits"));
    if (has("DataBits"))
        settings.dataBits = DataBitsFromWord(word("DataBits"));
    if (has("Parity"))
        settings.parity = ParityFromWord(word("Parity"));
    if (has("FlowControl"))
        ApplyFlowControlWord(word("FlowControl"), settings.flow);
}

bool StoreSettings(const QString& file, const PortSettings& settings)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(QLatin1String(SettingsSection));
    ini.setValue(QStringLiteral("Port"), settings.port);
    ini.setValue(QStringLiteral("BaudRate"), settings.baudRate);
    if (settings.baudRate == QLatin1String("Custom"))
        ini.setValue(QStringLiteral("CustomBaudRate"), QString::number(settings.customBaudRate));
    ini.setValue(QStringLiteral("StopBits"), StopBitsWord(settings.stopBits));
    ini.setValue(QStringLiteral("DataBits"), DataBitsWord(settings.dataBits));
    ini.setValue(QStringLiteral("Parity"), ParityWord(settings.parity));
    ini.setValue(QStringLiteral("FlowControl"), FlowControlWord(settings.flow));
    ini.endGroup();
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString DefaultSettingsFile()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QStringLiteral("/qx284/ONDAVIA.ini");
}

} // namespace comm
