#pragma once
// Bypass relay and PGM output: one command code (238) with the action in its first argument.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace readings {

// First argument byte of command 238.
namespace action {
constexpr quint8 BypassOff = 2;
constexpr quint8 BypassOn = 3;
constexpr quint8 PgmPulse = 0x80;
} // namespace action

constexpr int MaxBypassMinutes = 30;

// Status-bar text when an output command is addressed to the master radio.
inline const QString MasterRefusedText
    = QStringLiteral("Comando não pode ser enviado para ID zero!");

// The bypass time as it is kept and sent: limited to 0..30 minutes.
int ClampBypassMinutes(int minutes);

// Pulse length in hundredths of a second for an item of the pulse box ("1", "1,5", "2",
// "2,5" seconds); nothing for an index that is no item (-1: a typed text matching none).
std::optional<quint8> PulseLength(int item);

// What one press of a relay or PGM button does.
struct OutputCommand {
    bool send = false; // a 238 frame goes out with a1, a2, a3
    quint8 a1 = 0;
    quint8 a2 = 0;
    quint8 a3 = 0;
    QString status; // the status bar's text afterwards
};

OutputCommand BypassOnCommand(int radioId, int bypassMinutes);
OutputCommand BypassOffCommand(int radioId);
OutputCommand PgmPulseCommand(int radioId, int pulseItem);

} // namespace readings
