#include "partitions/clientcodes.h"

#include "link/frame.h"

namespace partitions {

namespace {

// Reply offsets.
constexpr int FirstCodeOffset = 4;
constexpr int CodeStride = 5; // four characters and a byte that is not read
constexpr int MarkerOffset = 49;
constexpr int Pin2WordOffset = 50;
constexpr int Pin1WordOffset = 52;
constexpr int TypeOffset = 54;
constexpr int EventsPartitionOffset = 55;

constexpr quint16 InvertBit = 0x8000;

quint8 At(const QByteArray& frame, int offset)
{
    return quint8(frame[offset]);
}

InputSetting InputAt(const QByteArray& frame, int offset)
{
    return InputFromWord(quint16(At(frame, offset) | (At(frame, offset + 1) << 8)));
}

// The code of one partition as the grid shows it: "%4.4s" of the characters up to the
// first zero byte, then the radio's "*" and "#" as B and C.
QString CodeAt(const QByteArray& frame, int offset)
{
    QByteArray characters = frame.mid(offset, CodeLength);
    const qsizetype end = characters.indexOf('\0');
    if (end >= 0)
        characters.truncate(end);
    QString code = QString::fromLatin1(characters).rightJustified(CodeLength, QLatin1Char(' '));
    code.replace(QLatin1Char('*'), QLatin1Char('B'));
    code.replace(QLatin1Char('#'), QLatin1Char('C'));
    return code;
}

bool IsCodeCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

quint16 InputEventWord(const InputSetting& input)
{
    return quint16((input.event & MaxInputEvent) | (input.invert ? InvertBit : 0));
}

InputSetting InputFromWord(quint16 word)
{
    return { word & MaxInputEvent, (word & InvertBit) != 0 };
}

int ClampInputEvent(int event)
{
    return event >= 800 && event <= 899 ? 900 : event;
}

QByteArray EncodeClientCode(const QString& code)
{
    if (code.isEmpty())
        return QByteArray(CodeLength, '\0');
    return code.left(CodeLength).toLatin1().rightJustified(CodeLength, '0');
}

QString TypedCode(const QString& text)
{
    QString code;
    for (const QChar c : text) {
        const QChar upper = c >= QLatin1Char('a') && c <= QLatin1Char('f') ? c.toUpper() : c;
        if (IsCodeCharacter(upper) && code.size() < CodeLength)
            code.append(upper);
    }
    return code;
}

int EventsPartition(const QList<bool>& ticked)
{
    int partition = 0;
    for (int row = 0; row < ticked.size() && row < PartitionCount; ++row)
        if (ticked[row])
            partition = row;
    return partition;
}

quint8 CommunicationTypeCode(int item, quint8 received)
{
    return item >= 0 && item < CommunicationTypeCount ? quint8(item + 1) : received;
}

int CommunicationTypeItem(quint8 wireCode)
{
    if (wireCode == 0)
        return 1;
    return wireCode <= CommunicationTypeCount ? wireCode - 1 : -1;
}

QByteArray ClientCodeWriteBody(const QStringList& codes, const std::optional<Reporting>& reporting)
{
    QByteArray body;
    body.append(char(comm::code::ClientCodes));
    body.append(char(reporting ? WriteWithReporting : WriteCodesOnly));
    for (int k = 0; k < PartitionCount; ++k)
        body.append(EncodeClientCode(codes.value(k)));
    if (reporting) {
        body.append(char(reporting->communicationType));
        body.append(char(reporting->eventsPartition));
        // Pin 2 comes before pin 1, each word low byte first.
        for (const InputSetting& pin : { reporting->pin2, reporting->pin1 }) {
            const quint16 word = InputEventWord(pin);
            body.append(char(word & 0xFF));
            body.append(char(word >> 8));
        }
    }
    return body;
}

std::optional<ClientCodeReply> DecodeClientCodes(const QByteArray& frame)
{
    if (frame.size() < BasicReplyLength)
        return std::nullopt;
    const bool master = comm::FrameRadioId(frame) == 0;
    // A frame that ends before the marker is read as the basic format; the master radio's
    // reply always is.
    const quint8 marker = frame.size() > MarkerOffset ? At(frame, MarkerOffset) : 0;
    ClientCodeReply reply;
    reply.extended = !master && marker >= ExtendedMarker;
    if (reply.extended && frame.size() < ExtendedReplyLength)
        return std::nullopt;

    const int partitions = master ? 1 : PartitionCount;
    for (int k = 0; k < partitions; ++k)
        reply.codes << CodeAt(frame, FirstCodeOffset + CodeStride * k);

    if (!reply.extended)
        return reply; // item 0 ("CONTACT-ID"), disabled; radio events under partition 0

    reply.typeCode = At(frame, TypeOffset);
    reply.typeItem = CommunicationTypeItem(reply.typeCode);
    const quint8 partition = At(frame, EventsPartitionOffset);
    reply.eventsPartition = partition < PartitionCount ? partition : 0;
    if (marker == ExtendedMarker) {
        reply.inputs = ClientCodeReply::Inputs::Defaults;
    } else if (marker == ExtendedInputsMarker) {
        reply.inputs = ClientCodeReply::Inputs::FromReply;
        reply.pin2 = InputAt(frame, Pin2WordOffset);
        reply.pin1 = InputAt(frame, Pin1WordOffset);
    }
    return reply;
}

TypeDisplay DisplayForType(int item)
{
    TypeDisplay display;
    display.inputs = item == 4 || item == 5;
    display.notWorkingLabels = item == 5;
    display.jflLabels = item == 6;
    return display;
}

bool CodeRowTypeable(int row, bool typeKnown)
{
    return typeKnown || row == 0;
}

CodeKey FilterCodeKey(QChar key, int row, bool typeKnown)
{
    CodeKey result;
    result.row = row;
    if (IsCodeCharacter(key) || key == QChar(Backspace)) {
        result.accepted = true;
        result.character = key;
    } else if (key >= QLatin1Char('a') && key <= QLatin1Char('f')) {
        result.accepted = true;
        result.character = key.toUpper();
    } else if (key == QChar(Enter)) {
        // Enter moves down and empties the next row's code, ready for typing; on the last
        // row there is no next row and the code just typed stays.
        if (row + 1 < PartitionCount)
            result.row = row + 1;
        else
            result.touchesCell = false;
    }
    if (!CodeRowTypeable(result.row, typeKnown)) {
        result.accepted = false;
        result.character = QChar();
    }
    return result;
}

bool LeftToGrid(QChar key)
{
    return key == QLatin1Char('\t') || key == QChar(0x1B);
}

} // namespace partitions
