#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace firmware {

// LoaderState: the outcome of the current wait for a loader reply.
namespace loader {
constexpr quint8 Waiting = 0;
constexpr quint8 Answered = 1; // identity (212/226) or end-of-load result (234)
constexpr quint8 TimedOut = 5;
constexpr quint8 Erased = 10;
constexpr quint8 Accepted = 20; // data record acknowledged at the awaited address
// Any other value: data acknowledgement status + 2 (2 another address, 4 flash address
// range, 6 flash write, 18 ROM address, other values other errors).
} // namespace loader

// What a loader reply means for the transfer.
struct LoaderReply {
    bool complete = true; // false: too short for the bytes its code carries, not decoded
    quint8 state = loader::Waiting;
    std::optional<int> radioModel; // hardware code (212/226) or end-of-load result (234)
    std::optional<int> radioVariant; // memory bank (212/226)
    QString text; // appended to the log
};

// Decodes a reply with code 235, 233, 234, 212 or 226 of the radio being loaded.
// expectedAddress is the address the acknowledgement of the last data command must carry.
LoaderReply DecodeLoaderReply(const QByteArray& frame, int expectedAddress);

} // namespace firmware
