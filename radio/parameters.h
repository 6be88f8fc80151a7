#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace radio {

// Radio IDs are the items of the ID box: 0 (the master radio) to 1023.
constexpr int MasterRadioId = 0;
constexpr int MaxRadioId = 1023;
constexpr bool IsRadioId(int id)
{
    return id >= MasterRadioId && id <= MaxRadioId;
}

// Rows of the parameter grid, and the bytes of a parameter reply that its decoding reads
// (offsets 0 to 27).
constexpr int ParamRows = 10;
constexpr int ParameterReplyLength = 28;

// The hardware whose RF channel is fixed: no channel choice, no channel step.
constexpr quint8 FixedChannelHardware = 21;

QString HardwareText(quint8 code);
QString ProtocolText(quint8 code);
QString SurGardText(quint8 code);

// Whether the firmware (version V, revision R) offers the low-voltage suspend option.
bool LowVoltageOptionOffered(quint8 version, quint8 revision);

// What a parameter reply (code 226 or 212) puts on the window.
struct ParameterReading {
    int radioId = 0;
    bool master = false;
    std::array<QString, ParamRows> captions;
    std::array<std::optional<QString>, ParamRows> values; // nullopt: the row is not written
    quint8 model = 0;
    std::array<quint8, 4> serial {};
    quint8 channel = 0;
    bool channelSelectable = true; // BCanal enabled
    bool lowVoltageShown = false;
    bool lowVoltageTicked = false;
};

// The reading, or nothing with the reason in *problem (a log line): a reply too short for
// the bytes read, or a radio ID that the ID box has no item for.
std::optional<ParameterReading> DecodeParameterReply(const QByteArray& frame, QString* problem);

// Log line for a reply whose radio ID is outside 0..1023.
QString InvalidIdText(int radioId);

} // namespace radio
