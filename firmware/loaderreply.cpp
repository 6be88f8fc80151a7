#include "firmware/loaderreply.h"

#include "link/frame.h"

namespace firmware {

namespace {

// Bytes a reply must have for the offsets its decoding reads.
constexpr int DataAckLength = 7; // status at 4, address at 5 and 6
constexpr int EndResultLength = 5; // result at 4
constexpr int IdentityLength = 19; // hardware code at 9, bank at 18

QString DataAckText(quint8 state)
{
    switch (state) {
    case 2: return QStringLiteral(" Erro: Ack de Outro Endereço Recebido ");
    case 18: return QStringLiteral(" Erro: Endereço ROM ");
    case 4: return QStringLiteral(" Erro: Faixa de Endereço FLASH ");
    case 6: return QStringLiteral(" Erro: Gravação na Flash ");
    default: return QStringLiteral(" Outro Erro ");
    }
}

quint8 At(const QByteArray& frame, int offset)
{
    return quint8(frame[offset]);
}

} // namespace

LoaderReply DecodeLoaderReply(const QByteArray& frame, int expectedAddress)
{
    LoaderReply reply;
    const qsizetype length = frame.size();
    switch (comm::FrameCode(frame)) {
    case comm::code::Data: {
        if (length < DataAckLength)
            break;
        const quint8 status = At(frame, 4);
        const int address = (At(frame, 5) << 8) | At(frame, 6);
        if (status == 0 && address == expectedAddress) {
            reply.state = loader::Accepted;
            reply.text = QStringLiteral(" OK ");
        } else {
            reply.state = quint8(status + 2);
            reply.text = DataAckText(reply.state);
        }
        return reply;
    }
    case comm::code::Erase:
        reply.state = loader::Erased;
        reply.text = QStringLiteral(" \n Memória Apagada OK ");
        return reply;
    case comm::code::EndOfLoad:
        if (length < EndResultLength)
            break;
        reply.state = loader::Answered;
        reply.radioModel = At(frame, 4);
        reply.text = QStringLiteral(" OK ");
        return reply;
    case comm::code::RemoteRead:
    case comm::code::LocalRead:
        if (length < IdentityLength)
            break;
        reply.state = loader::Answered;
        reply.radioModel = At(frame, 9);
        reply.radioVariant = At(frame, 18);
        reply.text = QStringLiteral(" OK ");
        return reply;
    default: break;
    }
    reply.complete = false;
    return reply;
}

} // namespace firmware
