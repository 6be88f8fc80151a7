#include "radio/wizard.h"

#include <limits>

#include "link/frame.h"
#include "radio/parameters.h"

namespace radio {

std::optional<WizardDisplay> DisplayFor(int step)
{
    WizardDisplay d;
    switch (step) {
    case step::Idle:
        d.startLabel = true;
        d.localReadEnabled = true;
        return d;
    case step::RadioId:
        d.idGroup = true;
        d.guideTop = 76;
        d.guideLeft = 530;
        d.guideText = QStringLiteral("Configure o ID do rádio");
        break;
    case step::Channel:
        d.channelGroup = true;
        d.guideTop = 200;
        d.guideLeft = 520;
        d.guideText = QStringLiteral("Configure o canal do rádio");
        break;
    case step::Password:
        d.passwordGroup = true;
        d.guideTop = 260;
        d.guideLeft = 520;
        d.guideText = QStringLiteral("Configure a senha do rádio");
        break;
    case step::Partitions:
        d.partitionGroup = true;
        d.guideTop = 28;
        d.guideLeft = 510;
        d.guideText = QStringLiteral("Configure as partições do rádio");
        break;
    case step::Finished:
        d.backEnabled = true;
        d.finishedLabel = true;
        return d;
    default: return std::nullopt;
    }
    d.backEnabled = true;
    d.guideShown = true;
    return d;
}

QByteArray ConfigureBody(const std::array<quint8, 4>& serial, bool lowVoltageSuspend)
{
    QByteArray body(13, '\0');
    body[0] = char(comm::code::Configure);
    for (int i = 0; i < 4; ++i)
        body[3 + i] = char(serial[i]);
    body[7] = 1;
    body[11] = lowVoltageSuspend ? 1 : 0;
    return body;
}

qint8 StepAfterConfigure(int model)
{
    return model == FixedChannelHardware ? step::Password : step::Channel;
}

std::optional<QByteArray> ChannelBody(int channelIndex)
{
    if (channelIndex < 0 || channelIndex >= ChannelCount)
        return std::nullopt;
    return comm::CommandBody(comm::code::Channel, quint8(channelIndex), 0, 0);
}

qint8 StepBack(qint8 step)
{
    return step > std::numeric_limits<qint8>::min() ? qint8(step - 1) : step;
}

QString InvalidTypedIdText(const QString& text)
{
    return QStringLiteral("'%1' não é um ID de rádio válido (0 a %2)").arg(text).arg(MaxRadioId);
}

} // namespace radio
