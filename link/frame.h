#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace comm {

// Longest body (command code and payload) a frame may carry: the frame buffer is 1000 bytes.
constexpr int MaxBodyLength = 996;

// CRC-16, least significant bit first, polynomial 0xA001, initial value 0xC181, no final XOR.
quint16 Crc16(const char* data, qsizetype length);
inline quint16 Crc16(const QByteArray& bytes)
{
    return Crc16(bytes.constData(), bytes.size());
}

// The whole frame: ID low, ID high, body, CRC low, CRC high. Nothing for an empty body or
// one longer than MaxBodyLength.
std::optional<QByteArray> BuildFrame(int radioId, const QByteArray& body);

// The four-byte body used by most commands: code and three argument bytes.
QByteArray CommandBody(quint8 code, quint8 a1, quint8 a2, quint8 a3);

// Radio ID carried by a frame (bytes 0 and 1, low byte first).
inline int FrameRadioId(const QByteArray& frame)
{
    return frame.size() < 2 ? -1 : quint8(frame[0]) | (quint8(frame[1]) << 8);
}
inline quint8 FrameCode(const QByteArray& frame)
{
    return frame.size() < 3 ? 0 : quint8(frame[2]);
}

// Command codes the tool sends or recognises.
namespace code {
constexpr quint8 ResetRadio = 136;
constexpr quint8 Ignored = 128;
constexpr quint8 Configure = 202;
constexpr quint8 ClientCodes = 203;
constexpr quint8 Password = 205;
constexpr quint8 RemoteRead = 212;
constexpr quint8 Noise = 216;
constexpr quint8 Channel = 217;
constexpr quint8 LocalRead = 226;
constexpr quint8 Diagnostics = 231;
constexpr quint8 Erase = 233;
constexpr quint8 EndOfLoad = 234;
constexpr quint8 Data = 235;
constexpr quint8 Outputs = 238;
} // namespace code

// The two unframed bytes: acknowledgement of a receiver message, echo test.
constexpr quint8 ReceiverAck = 0x06;
constexpr quint8 EchoByte = 0xF0;

} // namespace comm
