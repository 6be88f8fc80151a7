#include "readings/outputs.h"

#include <iterator>

namespace readings {

namespace {

constexpr quint8 PulseLengths[] = { 100, 150, 200, 250 };

// The master radio has no outputs to drive: every output command is refused for ID 0.
OutputCommand ToRadio(int radioId, quint8 a1, quint8 a2)
{
    OutputCommand command;
    if (radioId == 0) {
        command.status = MasterRefusedText;
        return command;
    }
    command.send = true;
    command.a1 = a1;
    command.a2 = a2;
    return command;
}

} // namespace

int ClampBypassMinutes(int minutes)
{
    return qBound(0, minutes, MaxBypassMinutes);
}

std::optional<quint8> PulseLength(int item)
{
    if (item < 0 || item >= int(std::size(PulseLengths)))
        return std::nullopt;
    return PulseLengths[item];
}

OutputCommand BypassOnCommand(int radioId, int bypassMinutes)
{
    return ToRadio(radioId, action::BypassOn, quint8(ClampBypassMinutes(bypassMinutes)));
}

OutputCommand BypassOffCommand(int radioId)
{
    return ToRadio(radioId, action::BypassOff, 0);
}

OutputCommand PgmPulseCommand(int radioId, int pulseItem)
{
    OutputCommand command = ToRadio(radioId, action::PgmPulse, 0);
    const std::optional<quint8> length = PulseLength(pulseItem);
    if (!command.send)
        return command;
    if (!length) {
        command.send = false; // no pulse length chosen: nothing to send
        return command;
    }
    command.a2 = *length;
    return command;
}

} // namespace readings
