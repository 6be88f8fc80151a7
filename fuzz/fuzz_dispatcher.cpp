// Receive path and dispatcher under arbitrary bursts and timings: gathering, the 1000-byte
// cut, the carry of zero bytes, classification and every reply decoder (loader replies
// included).
//
// Input: byte 0 sets the context (bit 0 firmware active, bit 1 awaiting a reply, bits 2-3
// loader state 0 or not, bits 4-7 the low bits of the selected and target radio IDs); then
// records of [n][n bytes], each n bytes arriving in one read; bit 7 of n marks a quiet gap
// after the record (the receive-gap timer fires).
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "firmware/loaderreply.h"
#include "link/dispatcher.h"
#include "link/frame.h"
#include "link/receivepath.h"
#include "partitions/clientcodes.h"
#include "radio/parameters.h"
#include "radio/password.h"
#include "readings/diagnostics.h"
#include "readings/noise.h"

namespace {

comm::DispatchContext Context(uint8_t flags)
{
    comm::DispatchContext context;
    context.firmwareActive = flags & 1;
    context.loaderState = (flags & 0x0C) ? 20 : 0;
    context.selectedRadioId = flags >> 4;
    context.targetRadioId = (flags >> 4) ^ ((flags & 2) ? 0 : 1);
    return context;
}

// One frame through the dispatcher's steps and the decoders its route reaches.
void Examine(const QByteArray& frame, const comm::DispatchContext& context)
{
    const comm::Route route = comm::Classify(frame, context);
    if (route == comm::Route::ReceiverMessage)
        (void)comm::ReceiverAckCount(frame);
    if (route == comm::Route::Loader) {
        const int expectedAddress
            = frame.size() > 6 ? (quint8(frame[5]) << 8) | quint8(frame[6]) : 0;
        (void)firmware::DecodeLoaderReply(frame, expectedAddress);
        (void)firmware::DecodeLoaderReply(frame, expectedAddress ^ 1);
    }
    (void)comm::FrameRadioId(frame);
    (void)comm::FrameCode(frame);
    (void)comm::IncompleteReplyText(frame.size());
    // Reply decoders by code, whichever radio the frame comes from.
    switch (comm::FrameCode(frame)) {
    case comm::code::ClientCodes:
        if (const auto reply = partitions::DecodeClientCodes(frame)) {
            // Whatever the bytes: one code or nine of four characters, a row of the grid,
            // an item of the list or none.
            const bool codesFit = (reply->codes.size() == 1 || reply->codes.size() == 9)
                && std::all_of(reply->codes.begin(), reply->codes.end(),
                    [](const QString& code) { return code.size() == partitions::CodeLength; });
            if (!codesFit || reply->eventsPartition < 0
                || reply->eventsPartition >= partitions::PartitionCount || reply->typeItem < -1
                || reply->typeItem >= partitions::CommunicationTypeCount)
                __builtin_trap();
        }
        break;
    case comm::code::Noise: (void)readings::DecodeNoise(frame, QStringLiteral("12:00:00")); break;
    case comm::code::Diagnostics:
        (void)readings::DecodeDiagnostics(frame, QStringLiteral("12:00:00"));
        break;
    case comm::code::Password:
        if (route == comm::Route::SelectedRadio)
            (void)radio::PasswordStatusText(frame);
        break;
    case comm::code::LocalRead:
    case comm::code::RemoteRead: {
        QString problem;
        if (const auto reading = radio::DecodeParameterReply(frame, &problem)) {
            // Whatever the bytes, a decoded reply names a radio of the ID box.
            if (!radio::IsRadioId(reading->radioId))
                __builtin_trap();
        } else if (problem.isEmpty()) {
            __builtin_trap(); // a refused reply always says why
        }
        break;
    }
    default: break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const comm::DispatchContext context = Context(data[0]);
    const bool holdShort = (data[0] & 1) || (data[0] & 2);
    comm::RxBuffer rx;
    comm::CarryBuffer carry;
    auto dispatch = [&](const QByteArray& burst) {
        (void)comm::EchoMark(burst);
        if (const auto frame = carry.Assemble(burst, holdShort))
            Examine(*frame, context);
    };
    size_t at = 1;
    while (at < size) {
        const uint8_t header = data[at++];
        const size_t n = qMin<size_t>(header & 0x7F, size - at);
        // A read hands at most 200 bytes at a time.
        for (size_t done = 0; done < n; done += comm::ReadChunk) {
            const size_t piece = qMin<size_t>(comm::ReadChunk, n - done);
            rx.Append(QByteArray(reinterpret_cast<const char*>(data + at + done), qsizetype(piece)),
                dispatch);
        }
        at += n;
        if ((header & 0x80) && rx.Count() > 0)
            dispatch(rx.Take());
    }
    if (rx.Count() > 0)
        dispatch(rx.Take());
    return 0;
}
