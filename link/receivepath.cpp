#include "link/receivepath.h"

namespace comm {

void RxBuffer::Append(const QByteArray& bytes, const std::function<void(const QByteArray&)>& onFull)
{
    for (char byte : bytes) {
        Bytes.append(byte);
        if (Bytes.size() == Capacity)
            onFull(Take());
    }
}

QByteArray RxBuffer::Take()
{
    QByteArray burst;
    burst.swap(Bytes);
    Bytes.reserve(Capacity);
    return burst;
}

std::optional<QByteArray> CarryBuffer::Assemble(const QByteArray& burst, bool holdShort)
{
    if (Count_ + burst.size() < 4 && holdShort) {
        if (burst.size() == 1 && burst[0] == 0)
            Held[Count_++] = 0;
        return std::nullopt;
    }
    QByteArray frame(Held, Count_);
    frame.append(burst);
    Count_ = 0;
    if (frame.size() < MinFrameLength)
        return std::nullopt;
    return frame;
}

} // namespace comm
