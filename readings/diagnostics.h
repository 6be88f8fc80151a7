#pragma once
// The diagnostics reply (code 231): counters and states for the Diag grid and the log.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace readings {

// Bytes 0 to 43 hold every field but the battery voltages.
constexpr int DiagnosticsMinLength = 44;
// Byte 44 is 0x55 when the battery voltages follow in bytes 45 to 47.
constexpr int BatteryMarkerOffset = 44;
constexpr quint8 BatteryMarker = 0x55;
constexpr int DiagnosticsWithBatteryLength = 48;

constexpr int DiagRows = 16;

// One row of the Diag grid as a reply fills it.
struct DiagRow {
    int row = 0;
    QString caption;
    QString value;
};

struct DiagnosticsReading {
    int radioId = 0;
    bool batteryVoltages = false; // rows 13 to 15 and their log lines are present
    QList<DiagRow> rows; // rows 0 to 12, and 13 to 15 with the battery voltages
    QString logText; // appended to the terminal log as it is
};

// Log line of a field read high byte first (width 1, 2 or 4) as an unsigned 32-bit number
// and printed as a signed one, so a 4-byte value of 2^31 or more shows negative.
QString ValueLine(const QString& label, const QByteArray& frame, int offset, int width);
// Log line of a two-byte field read low byte first.
QString WordLine(const QString& label, const QByteArray& frame, int offset);

// "1 dd, 1 hr, 1 min, 1 seg"
QString DurationText(quint32 seconds);
// Row 11: the master knows two states; other radios report a line problem, Contact-ID
// reception and the bypass relay as flags.
QString RadioStatusText(int radioId, quint8 flags);
// Row 12, from the master-status byte.
QString CommunicationStatusText(quint8 masterStatus);
// Tenths of a volt as "12,5V".
QString BatteryVoltageText(quint8 tenths);

// Nothing for a frame too short to hold bytes 0 to 43. timeText is the time of the reply.
std::optional<DiagnosticsReading> DecodeDiagnostics(
    const QByteArray& frame, const QString& timeText);

} // namespace readings
