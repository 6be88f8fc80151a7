#pragma once

#include <QByteArray>
#include <QString>

namespace comm {

// What the dispatcher needs to know to place a frame.
struct DispatchContext {
    bool firmwareActive = false;
    quint8 loaderState = 0;
    int targetRadioId = 0;
    int selectedRadioId = 0;
};

// The first owner a frame reaches. SelectedRadio frames whose code has a decoder of its own
// end there; the others, and Other frames, go on to the awaited-reply stage and the write
// confirmation.
enum class Route {
    Loader, // firmware loader reply during a transfer
    Ignored, // code 128
    ReceiverMessage, // alarm-receiver text message
    SelectedRadio, // from the radio selected in the ID box
    Other, // any other radio
};

Route Classify(const QByteArray& frame, const DispatchContext& context);

// " ECO " for a burst that begins with the echo byte 0xF0, " ECO1 " for 0x0F, else "".
QString EchoMark(const QByteArray& burst);

// Acknowledgements a receiver message gets: one per message, that is per 0x14 byte.
int ReceiverAckCount(const QByteArray& frame);

// Log line for a reply too short for the bytes its decoder reads.
QString IncompleteReplyText(qsizetype length);

} // namespace comm
