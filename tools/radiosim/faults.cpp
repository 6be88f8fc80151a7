#include "radiosim/faults.h"

#include "radiosim/wire.h"

namespace radiosim {

namespace {

constexpr quint8 DataCode = 235;
constexpr int AcknowledgementLength = 9;

QByteArray Rebuilt(const QByteArray& reply, int offset, quint8 value)
{
    QByteArray body = reply.mid(2, reply.size() - 4);
    body[offset - 2] = char(value);
    return BuildFrame(FrameId(reply), body);
}

} // namespace

std::optional<QByteArray> FaultInjector::Apply(const QByteArray& reply, const FaultOptions& options)
{
    if (reply.size() < 5)
        return reply;
    ++replies_;
    if (options.dropEvery > 0 && replies_ % options.dropEvery == 0)
        return std::nullopt;
    if (options.dropShare > 0.0) {
        if (!random_)
            random_.emplace(options.seed);
        if (random_->generateDouble() < options.dropShare)
            return std::nullopt;
    }
    if (FrameByte(reply, 2) != DataCode || reply.size() != AcknowledgementLength)
        return reply;
    ++acknowledgements_;
    QByteArray out = reply;
    if (options.errorStatus >= 0
        && (options.errorEvery <= 0 || acknowledgements_ % options.errorEvery == 0))
        out = Rebuilt(out, 4, quint8(options.errorStatus));
    if (options.wrongAddressEvery > 0 && acknowledgements_ % options.wrongAddressEvery == 0) {
        // Acknowledge the address after the record's.
        const quint16 address = quint16(((FrameByte(out, 5) << 8) | FrameByte(out, 6)) + 1);
        out = Rebuilt(Rebuilt(out, 5, quint8(address >> 8)), 6, quint8(address));
    }
    return out;
}

} // namespace radiosim
