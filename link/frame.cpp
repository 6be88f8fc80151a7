#include "link/frame.h"

namespace comm {

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

std::optional<QByteArray> BuildFrame(int radioId, const QByteArray& body)
{
    if (body.isEmpty() || body.size() > MaxBodyLength)
        return std::nullopt;
    QByteArray frame;
    frame.reserve(body.size() + 4);
    frame.append(char(radioId & 0xFF));
    frame.append(char((radioId >> 8) & 0xFF));
    frame.append(body);
    const quint16 crc = Crc16(frame);
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
    return frame;
}

QByteArray CommandBody(quint8 code, quint8 a1, quint8 a2, quint8 a3)
{
    QByteArray body(4, Qt::Uninitialized);
    body[0] = char(code);
    body[1] = char(a1);
    body[2] = char(a2);
    body[3] = char(a3);
    return body;
}

} // namespace comm
