#pragma once

#include <QByteArray>

#include <chrono>
#include <functional>
#include <optional>

namespace comm {

// Replies are framed by a quiet line: a burst ends this long after its last byte.
constexpr std::chrono::milliseconds ReceiveGap { 40 };
// Interval of the receive-gap timer before the first byte arrives.
constexpr std::chrono::milliseconds ReceiveTimerStart { 20 };
// Bytes taken from the port per read.
constexpr int ReadChunk = 200;

// Received bytes not yet handed to the dispatcher. A burst is cut at 1000 bytes.
class RxBuffer {
public:
    static constexpr int Capacity = 1000;

    // Stores the bytes in order; each time the buffer fills, the full burst is handed to
    // onFull and gathering starts again with the next byte.
    void Append(const QByteArray& bytes, const std::function<void(const QByteArray&)>& onFull);
    // The gathered burst; the buffer is empty afterwards.
    QByteArray Take();
    int Count() const { return int(Bytes.size()); }

private:
    QByteArray Bytes;
};

// Single zero bytes held over from short bursts while a reply is awaited, so that a reply
// whose first byte (a radio ID of 0) arrived on its own is examined whole.
class CarryBuffer {
public:
    static constexpr int Capacity = 3;
    static constexpr int MinFrameLength = 5;

    // The frame to examine (held-over bytes followed by the burst), or nothing when the burst
    // was held over, dropped, or the frame is too short. holdShort: a reply is awaited or a
    // firmware transfer runs.
    std::optional<QByteArray> Assemble(const QByteArray& burst, bool holdShort);
    int Count() const { return Count_; }

private:
    char Held[Capacity] = {};
    int Count_ = 0;
};

} // namespace comm
