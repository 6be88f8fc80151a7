#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

// Wire helpers of the simulated radio. They are written independently of the tool's own
// link code on purpose: a fault there must not be mirrored here.
namespace radiosim {

// CRC-16 of the line: LSB first, polynomial 0xA001, initial value 0xC181, no final XOR.
quint16 Crc16(const char* data, qsizetype length);
inline quint16 Crc16(const QByteArray& bytes)
{
    return Crc16(bytes.constData(), bytes.size());
}

// ID low, ID high, body, CRC low, CRC high.
QByteArray BuildFrame(quint16 radioId, const QByteArray& body);

// True when the last two bytes are the CRC of everything before them.
bool FrameCrcOk(const QByteArray& frame);

inline quint16 FrameId(const QByteArray& frame)
{
    return frame.size() < 2 ? 0 : quint16(quint8(frame[0]) | (quint8(frame[1]) << 8));
}
inline quint8 FrameByte(const QByteArray& frame, int index)
{
    return index < frame.size() ? quint8(frame[index]) : 0;
}

using XteaKey = std::array<quint32, 4>;

// The two password keys, as little-endian words.
XteaKey PasswordKey1();
XteaKey PasswordKey2();

// XTEA with 64 cycles on an 8-byte block whose halves are big-endian.
void XteaEncipher(quint8 block[8], const XteaKey& key);
void XteaDecipher(quint8 block[8], const XteaKey& key);

} // namespace radiosim
