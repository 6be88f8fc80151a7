#pragma once
// Firmware file texts for the tests, and a log that behaves as the window's terminal log.

#include <QByteArray>
#include <QString>

#include "firmware/logsink.h"

// A record line ":LLAAAATT<data>CC" with the right checksum byte (or the one given).
inline QByteArray Rec(
    quint16 address, quint8 type, const QByteArray& data, int checksum = -1, int length = -1)
{
    const quint8 ll = quint8(length >= 0 ? length : data.size());
    quint8 sum = ll + quint8(address >> 8) + quint8(address) + type;
    for (const char byte : data)
        sum += quint8(byte);
    const quint8 cc = checksum >= 0 ? quint8(checksum) : quint8(-sum);
    QByteArray head(4, '\0');
    head[0] = char(ll);
    head[1] = char(address >> 8);
    head[2] = char(address);
    head[3] = char(type);
    return ":" + (head + data + QByteArray(1, char(cc))).toHex().toUpper() + "\n";
}

// A header record: LL counts the data after HH and MM.
inline QByteArray Header(
    quint8 type, quint8 hardware, quint8 role, const QByteArray& data = {}, quint16 address = 0)
{
    QByteArray head(6, '\0');
    head[0] = char(data.size());
    head[1] = char(address >> 8);
    head[2] = char(address);
    head[3] = char(type);
    head[4] = char(hardware);
    head[5] = char(role);
    quint8 sum = 0;
    for (const char byte : head + data)
        sum += quint8(byte);
    return ":" + (head + data + QByteArray(1, char(-sum))).toHex().toUpper() + "\n";
}

inline const QByteArray EndRecord = ":00000001FF\n";

// AddLogLine and AppendLog as the window's log does them.
class LogModel : public firmware::LogSink {
public:
    QString text;
    int tails = 0;

    void AddLogLine(const QString& line) override
    {
        const bool lastLineEmpty = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
        text += lastLineEmpty ? line + QLatin1Char('\n') : QLatin1Char('\n') + line;
    }
    void AppendLog(const QString& more) override { text += more; }
    void LogTail() override { ++tails; }
};
