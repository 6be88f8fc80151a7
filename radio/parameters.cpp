#include "radio/parameters.h"

#include "link/dispatcher.h"
#include "link/frame.h"

namespace radio {

namespace {

// Reply offsets.
constexpr int SerialAt = 5;
constexpr int HardwareAt = 9;
constexpr int SurGardAt = 10;
constexpr int RevisionAt = 11;
constexpr int ChannelAt = 12;
constexpr int CommandEventAt = 13;
constexpr int VersionAt = 17;
constexpr int BankAt = 18;
constexpr int PeriodicHighAt = 20;
constexpr int PeriodicLowAt = 21; // the low-voltage flag on other radios
constexpr int ProtocolAt = 26;
constexpr int PartitionAt = 27;

// Firmware versions from which the reply carries protocol and partition.
constexpr quint8 ProtocolFromVersion = 3;
constexpr int MaxPeriodicMinutes = 999;

const std::array<QString, ParamRows> MasterCaptions { QStringLiteral("ID RADIO"),
    QStringLiteral("NUMERO SERIE"), QStringLiteral("VERSÃO HARDWARE"),
    QStringLiteral("VERSÃO FIRMWARE"), QStringLiteral("REVISÃO FIRMWARE"), QStringLiteral("CANAL"),
    QStringLiteral("BANCO MEMÓRIA"), QStringLiteral("PROTOCOLO"), QStringLiteral("COMANDO+EVENTO"),
    QStringLiteral("TESTE PERIÓDICO") };

const std::array<QString, ParamRows> OtherCaptions { QStringLiteral("ID RADIO"),
    QStringLiteral("NUMERO SERIE"), QStringLiteral("VERSÃO HARDWARE"),
    QStringLiteral("VERSÃO FIRMWARE"), QStringLiteral("REVISÃO FIRMWARE"), QStringLiteral("CANAL"),
    QStringLiteral("BANCO MEMÓRIA"), QStringLiteral("COMUNICAÇÃO"),
    QStringLiteral("PARTIÇÃO RÁDIO"), QStringLiteral(".") };

} // namespace

QString HardwareText(quint8 code)
{
    switch (code) {
    case 11: return QStringLiteral("PEXIN_SLOT 460M");
    case 12: return QStringLiteral("TQB460");
    case 13: return QStringLiteral("LUXAR_v6");
    case 14: return QStringLiteral("LUXAR_v8 460M");
    case 18: return QStringLiteral("PEXIN_SLOT 915M");
    case FixedChannelHardware: return QStringLiteral("LUXAR_v8 915M");
    default: return QStringLiteral("...");
    }
}

QString ProtocolText(quint8 code)
{
    switch (code) {
    case 0:
    case 1: return QStringLiteral("CONTACT-ID");
    case 2: return QStringLiteral("PARADOX ULTRA 738");
    case 3: return QStringLiteral("PARADOX SP-4000");
    case 4: return QStringLiteral("INTELBRAS AMT4010");
    case 5: return QStringLiteral("Central NÃO MONITORADA");
    case 6: return QStringLiteral("CONTACT-ID + ENT. PGM");
    default: return QString();
    }
}

QString SurGardText(quint8 code)
{
    switch (code) {
    case 0: return QStringLiteral("SURGARD COM ACK");
    case 1: return QStringLiteral("SURGARD SEM ACK");
    case 2: return QStringLiteral("SURGARD COM ACK Estendido");
    default: return QStringLiteral("SURGARD SEM ACK Estendido");
    }
}

bool LowVoltageOptionOffered(quint8 version, quint8 revision)
{
    return (version >= 6 && version <= 49) || (version == 5 && revision >= 5)
        || (version == 50 && revision >= 16) || (version >= 51 && version <= 99);
}

QString InvalidIdText(int radioId)
{
    return QStringLiteral("ID inválido (%1)").arg(radioId);
}

std::optional<ParameterReading> DecodeParameterReply(const QByteArray& frame, QString* problem)
{
    // No offset is read beyond the bytes received.
    if (frame.size() < ParameterReplyLength) {
        if (problem)
            *problem = comm::IncompleteReplyText(frame.size());
        return std::nullopt;
    }
    const int id = comm::FrameRadioId(frame);
    if (id > MaxRadioId) {
        if (problem)
            *problem = InvalidIdText(id);
        return std::nullopt;
    }
    auto at = [&frame](int offset) { return quint8(frame[offset]); };
    auto number = [](int value) { return std::optional<QString>(QString::number(value)); };

    ParameterReading r;
    r.radioId = id;
    r.master = id == MasterRadioId;
    r.captions = r.master ? MasterCaptions : OtherCaptions;
    r.model = at(HardwareAt);
    r.channelSelectable = r.model != FixedChannelHardware;
    r.channel = at(ChannelAt);
    for (int i = 0; i < 4; ++i)
        r.serial[i] = at(SerialAt + i);

    const quint8 version = at(VersionAt);
    const quint8 revision = at(RevisionAt);
    r.values[0] = number(id);
    r.values[1] = QStringLiteral("%1.%2.%3.%4")
                      .arg(r.serial[0])
                      .arg(r.serial[1])
                      .arg(r.serial[2])
                      .arg(r.serial[3]);
    r.values[2] = HardwareText(r.model);
    r.values[3] = number(version);
    r.values[4] = number(revision);
    r.values[5] = number(r.channel);
    r.values[6] = at(BankAt) == 0 ? QStringLiteral("A") : QStringLiteral("B");
    if (r.master) {
        const int minutes = qMin(256 * at(PeriodicHighAt) + at(PeriodicLowAt), MaxPeriodicMinutes);
        r.values[7] = SurGardText(at(SurGardAt));
        r.values[8] = at(CommandEventAt) == 0 ? QStringLiteral("COMANDO")
                                              : QStringLiteral("COMANDO+EVENTO");
        r.values[9] = QStringLiteral("%1 min").arg(minutes);
    } else {
        if (version < ProtocolFromVersion) {
            r.values[7] = QStringLiteral("CONTACT-ID");
            r.values[8] = QStringLiteral("0");
        } else {
            r.values[7] = ProtocolText(at(ProtocolAt));
            r.values[8] = number(at(PartitionAt));
        }
        r.lowVoltageShown = LowVoltageOptionOffered(version, revision);
        r.lowVoltageTicked = r.lowVoltageShown && at(PeriodicLowAt) != 0;
    }
    return r;
}

} // namespace radio
