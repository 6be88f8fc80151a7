#include "radiosim/wire.h"

namespace radiosim {

namespace {

constexpr quint32 XteaDelta = 0x9E3779B9u;
constexpr int XteaCycles = 64;

XteaKey KeyFromBytes(const quint8 (&bytes)[16])
{
    XteaKey key {};
    for (int i = 0; i < 4; ++i) {
        key[i] = quint32(bytes[4 * i]) | (quint32(bytes[4 * i + 1]) << 8)
            | (quint32(bytes[4 * i + 2]) << 16) | (quint32(bytes[4 * i + 3]) << 24);
    }
    return key;
}

quint32 ReadBigEndian(const quint8* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

void WriteBigEndian(quint8* p, quint32 value)
{
    p[0] = quint8(value >> 24);
    p[1] = quint8(value >> 16);
    p[2] = quint8(value >> 8);
    p[3] = quint8(value);
}

quint32 Mix(quint32 v)
{
    return ((v << 4) ^ (v >> 5)) + v;
}

} // namespace

quint16 Crc16(const char* data, qsizetype length)
{
    quint16 crc = 0xC181;
    for (qsizetype i = 0; i < length; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

QByteArray BuildFrame(quint16 radioId, const QByteArray& body)
{
    QByteArray frame;
    frame.reserve(body.size() + 4);
    frame.append(char(radioId & 0xFF));
    frame.append(char(radioId >> 8));
    frame.append(body);
    const quint16 crc = Crc16(frame);
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
    return frame;
}

bool FrameCrcOk(const QByteArray& frame)
{
    if (frame.size() < 3)
        return false;
    const quint16 crc = Crc16(frame.constData(), frame.size() - 2);
    return quint8(frame[frame.size() - 2]) == (crc & 0xFF)
        && quint8(frame[frame.size() - 1]) == (crc >> 8);
}

XteaKey PasswordKey1()
{
    static const quint8 bytes[16] = { 0x3c, 0x1e, 0xa0, 0x7b, 0xd2, 0x6f, 0x90, 0x0e, 0x4b, 0xc8,
        0x17, 0xf3, 0x6a, 0x2d, 0xb9, 0xe5 };
    return KeyFromBytes(bytes);
}

XteaKey PasswordKey2()
{
    static const quint8 bytes[16] = { 0x9a, 0x03, 0xe7, 0x5d, 0x16, 0xc4, 0x8b, 0x72, 0xf0, 0x29,
        0x6e, 0xb1, 0xd7, 0x48, 0x05, 0xac };
    return KeyFromBytes(bytes);
}

void XteaEncipher(quint8 block[8], const XteaKey& key)
{
    quint32 y = ReadBigEndian(block);
    quint32 z = ReadBigEndian(block + 4);
    quint32 sum = 0;
    for (int i = 0; i < XteaCycles; ++i) {
        y += Mix(z) ^ (sum + key[sum & 3]);
        sum += XteaDelta;
        z += Mix(y) ^ (sum + key[(sum >> 11) & 3]);
    }
    WriteBigEndian(block, y);
    WriteBigEndian(block + 4, z);
}

void XteaDecipher(quint8 block[8], const XteaKey& key)
{
    quint32 y = ReadBigEndian(block);
    quint32 z = ReadBigEndian(block + 4);
    quint32 sum = XteaDelta * quint32(XteaCycles);
    for (int i = 0; i < XteaCycles; ++i) {
        z -= Mix(y) ^ (sum + key[(sum >> 11) & 3]);
        sum -= XteaDelta;
        y -= Mix(z) ^ (sum + key[sum & 3]);
    }
    WriteBigEndian(block, y);
    WriteBigEndian(block + 4, z);
}

} // namespace radiosim
