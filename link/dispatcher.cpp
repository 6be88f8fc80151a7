#include "link/dispatcher.h"

#include "link/frame.h"

namespace comm {

namespace {

bool IsLoaderCode(quint8 c)
{
    return c == code::Data || c == code::Erase || c == code::EndOfLoad || c == code::RemoteRead
        || c == code::LocalRead;
}

bool IsFrom(const QByteArray& frame, int radioId)
{
    return quint8(frame[0]) == (radioId & 0xFF) && quint8(frame[1]) == ((radioId >> 8) & 0xFF);
}

bool IsReceiverMessage(const QByteArray& frame)
{
    return frame.startsWith("101") || frame.startsWith("5000") || frame.startsWith("6000");
}

} // namespace

Route Classify(const QByteArray& frame, const DispatchContext& context)
{
    if (frame.size() < 3)
        return Route::Other;
    const quint8 c = FrameCode(frame);
    if (IsFrom(frame, context.targetRadioId) && context.loaderState == 0 && context.firmwareActive
        && IsLoaderCode(c))
        return Route::Loader;
    if (c == code::Ignored)
        return Route::Ignored;
    if (IsReceiverMessage(frame))
        return Route::ReceiverMessage;
    if (IsFrom(frame, context.selectedRadioId))
        return Route::SelectedRadio;
    return Route::Other;
}

QString EchoMark(const QByteArray& burst)
{
    if (burst.isEmpty())
        return {};
    if (quint8(burst[0]) == 0xF0)
        return QStringLiteral(" ECO ");
    if (quint8(burst[0]) == 0x0F)
        return QStringLiteral(" ECO1 ");
    return {};
}

int ReceiverAckCount(const QByteArray& frame)
{
    return int(frame.count(char(0x14)));
}

QString IncompleteReplyText(qsizetype length)
{
    return QStringLiteral("Resposta incompleta (%1 bytes)").arg(length);
}

} // namespace comm
