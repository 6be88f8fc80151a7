#include "radiosim/radiomodel.h"

#include "radiosim/wire.h"

#include <QFile>

#include <algorithm>

namespace radiosim {

namespace {

enum Code : quint8 {
    Reset = 136,
    Configure = 202,
    ClientCodes = 203,
    Password = 205,
    RemoteRead = 212,
    Noise = 216,
    Channel = 217,
    LocalRead = 226,
    Diagnose = 231,
    Erase = 233,
    EndOfLoad = 234,
    Data = 235,
    Outputs = 238,
};

constexpr quint8 EchoByte = 0xF0;
constexpr quint8 AckByte = 0x06;
constexpr int NoteHexLimit = 48; // bytes shown in a note about dropped bytes
constexpr int DiscardKeep = 64; // unparseable bytes kept for that note; the rest are counted

void PutBigEndian(QByteArray& bytes, int offset, quint32 value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[offset + i] = char(value >> (8 * (width - 1 - i)));
}

quint32 GetBigEndian(const QByteArray& bytes, int offset, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(bytes[offset + i]);
    return value;
}

QByteArray Body(std::initializer_list<quint8> bytes)
{
    QByteArray body;
    for (quint8 b : bytes)
        body.append(char(b));
    return body;
}

QString Hex(const QByteArray& bytes)
{
    if (bytes.size() <= NoteHexLimit)
        return QString::fromLatin1(bytes.toHex(' '));
    return QString::fromLatin1(bytes.left(NoteHexLimit).toHex(' ')) + QStringLiteral(" ...");
}

} // namespace

QByteArray Diagnostics::Encode() const
{
    // Offsets below are those of the reply frame; the record starts at frame byte 3.
    QByteArray r(batteryVoltages ? 45 : 41, '\0');
    auto put = [&r](int frameOffset, quint32 value, int width) {
        PutBigEndian(r, frameOffset - 3, value, width);
    };
    put(3, tempMin, 1);
    put(4, tempCurrent, 1);
    put(5, tempMax, 1);
    put(6, supplyMin, 1);
    put(7, supplyAverage, 1);
    put(8, supplyMax, 1);
    put(9, resets, 2);
    put(11, powerOnResets, 2);
    put(13, watchdogResets, 2);
    put(15, statusFlags, 1);
    put(16, uptimeSeconds, 4);
    put(20, resetTime, 4);
    put(24, battery, 2);
    put(26, masterStatus, 1);
    put(27, lineVoltage, 1);
    put(28, eventsSent, 4);
    put(32, eventsRefused, 4);
    put(36, levelL1, 2);
    put(38, levelL2, 2);
    put(40, maxLevelL1, 2);
    put(42, maxLevelL2, 2);
    if (batteryVoltages) {
        put(44, 0x55, 1);
        put(45, batteryMin, 1);
        put(46, batteryCurrent, 1);
        put(47, batteryMax, 1);
    }
    return r;
}

bool Diagnostics::Decode(const QByteArray& record)
{
    if (record.size() < 41)
        return false;
    auto get = [&record](int frameOffset, int width) {
        return GetBigEndian(record, frameOffset - 3, width);
    };
    tempMin = quint8(get(3, 1));
    tempCurrent = quint8(get(4, 1));
    tempMax = quint8(get(5, 1));
    supplyMin = quint8(get(6, 1));
    supplyAverage = quint8(get(7, 1));
    supplyMax = quint8(get(8, 1));
    resets = quint16(get(9, 2));
    powerOnResets = quint16(get(11, 2));
    watchdogResets = quint16(get(13, 2));
    statusFlags = quint8(get(15, 1));
    uptimeSeconds = get(16, 4);
    resetTime = get(20, 4);
    battery = quint16(get(24, 2));
    masterStatus = quint8(get(26, 1));
    lineVoltage = quint8(get(27, 1));
    eventsSent = get(28, 4);
    eventsRefused = get(32, 4);
    levelL1 = quint16(get(36, 2));
    levelL2 = quint16(get(38, 2));
    maxLevelL1 = quint16(get(40, 2));
    maxLevelL2 = quint16(get(42, 2));
    batteryVoltages = record.size() >= 45 && quint8(record[41]) == 0x55;
    if (batteryVoltages) {
        batteryMin = quint8(get(45, 1));
        batteryCurrent = quint8(get(46, 1));
        batteryMax = quint8(get(47, 1));
    }
    return true;
}

QByteArray RadioModel::ReceiverMessage()
{
    // Receiver number, line, account, event, partition and zone, closed by 0x14.
    return QByteArrayLiteral("5000 18 1234 E130 01 004\x14");
}

int RadioModel::RequestLength(const QByteArray& head)
{
    if (head.size() < 3)
        return 0;
    switch (quint8(head[2])) {
    case Reset:
    case RemoteRead:
    case Noise:
    case Channel:
    case LocalRead:
    case Diagnose:
    case Erase:
    case EndOfLoad:
    case Outputs: return 8;
    case Configure: return 17;
    case Password: return 14;
    case ClientCodes:
        if (head.size() < 4)
            return 0;
        switch (quint8(head[3])) {
        case 2: return 8;
        case 1: return 42;
        case 16: return 48;
        default: return -1;
        }
    case Data:
        if (head.size() < 6)
            return 0;
        return quint8(head[5]) + 12;
    default: return -1;
    }
}

QList<QByteArray> RadioModel::Receive(const QByteArray& bytes)
{
    QList<QByteArray> replies;
    for (const LineEvent& event : Feed(bytes))
        replies += event.replies;
    return replies;
}

QList<LineEvent> RadioModel::Feed(const QByteArray& bytes)
{
    QList<LineEvent> events;
    const int before = pending_.size();
    pending_.append(bytes);
    int consumed = 0; // bytes of pending_ taken so far
    auto remaining = [&] { return pending_.size() - consumed; };
    auto head
        = [&] { return QByteArray::fromRawData(pending_.constData() + consumed, remaining()); };

    while (!discarding_ && remaining() > 0) {
        const quint8 first = quint8(pending_[consumed]);
        const int length = RequestLength(head());
        // The echo and acknowledgement bytes stand alone between frames, but they are also
        // the low ID byte of radios 240 and 6: they start a frame only when the bytes behind
        // them make a good one.
        if (first == EchoByte || first == AckByte) {
            bool single = remaining() == 1 || length < 0;
            if (!single && length > 0 && remaining() >= length)
                single = !FrameCrcOk(head().left(length));
            if (single) {
                LineEvent event;
                // Told by a byte of this piece, even when the single byte came in an earlier one.
                event.endOffset = std::max(0, consumed - before);
                event.received = QByteArray(1, char(first));
                if (first == EchoByte) {
                    ++echoes;
                    event.replies.append(QByteArray(1, char(EchoByte)));
                } else {
                    ++acknowledgements;
                }
                events.append(event);
                ++consumed;
                continue;
            }
        }
        if (length < 0) {
            discarding_ = true;
            break;
        }
        if (length == 0 || remaining() < length)
            break;
        LineEvent event;
        event.isFrame = true;
        event.received = pending_.mid(consumed, length);
        consumed += length;
        event.endOffset = consumed - 1 - before;
        framesReceived.append(event.received);
        event.replies = HandleFrame(event.received);
        events.append(event);
    }
    pending_.remove(0, consumed);
    if (discarding_ && pending_.size() > DiscardKeep) {
        discardedBeyond_ += pending_.size() - DiscardKeep;
        pending_.truncate(DiscardKeep);
    }
    return events;
}

void RadioModel::LineIdle()
{
    if (pending_.isEmpty())
        return;
    if (!discarding_ && quint8(pending_[0]) == AckByte) {
        ++acknowledgements;
        pending_.remove(0, 1);
    }
    DropPending(
        discarding_ ? QStringLiteral("unknown request") : QStringLiteral("incomplete frame"));
}

void RadioModel::DropPending(const QString& why)
{
    if (!pending_.isEmpty()) {
        Note(QStringLiteral("dropped %1 bytes (%2): %3")
                 .arg(pending_.size() + discardedBeyond_)
                 .arg(why, Hex(pending_)));
    }
    pending_.clear();
    discarding_ = false;
    discardedBeyond_ = 0;
}

void RadioModel::Note(const QString& text) const
{
    if (onNote)
        onNote(text);
}

QList<QByteArray> RadioModel::HandleFrame(const QByteArray& frame)
{
    if (!FrameCrcOk(frame)) {
        Note(QStringLiteral("CRC wrong, not answered: %1").arg(Hex(frame)));
        return {};
    }
    const quint8 code = FrameByte(frame, 2);
    const bool mine = FrameId(frame) == state.id;
    switch (code) {
    case LocalRead:
    case RemoteRead: return { ParameterReply(code) };
    case Configure: return HandleConfigure(frame);
    case Channel:
        state.channel = FrameByte(frame, 3);
        return { BuildFrame(state.id, Body({ Channel, state.channel })) };
    default: break;
    }
    if (!mine) {
        Note(QStringLiteral("for radio %1, not answered").arg(FrameId(frame)));
        return {};
    }
    switch (code) {
    case Password: return HandlePassword(frame);
    case ClientCodes: return HandleClientCodes(frame);
    case Outputs: return HandleOutputs(frame);
    case Noise: return { NoiseReply() };
    case Diagnose: return { DiagnosticsReply() };
    case Erase:
        state.flash.clear();
        state.flashBase = 0;
        ++state.erases;
        return { BuildFrame(state.id, Body({ Erase, 0 })) };
    case Data: return HandleData(frame);
    case EndOfLoad: return HandleEnd(frame);
    case Reset: Note(QStringLiteral("reset requested")); return {};
    default: return {};
    }
}

QByteArray RadioModel::ParameterReply(quint8 code) const
{
    QByteArray body(26, '\0'); // reply bytes 2..27
    auto put = [&body](int offset, quint8 value) { body[offset - 2] = char(value); };
    put(2, code);
    put(3, state.marker3);
    for (int i = 0; i < 4; ++i)
        put(5 + i, state.serial[i]);
    put(9, state.hardware);
    put(11, state.firmwareRevision);
    put(12, state.channel);
    put(17, state.firmwareVersion);
    put(18, state.bank);
    if (state.id == 0) {
        put(10, state.surgardMode);
        put(13, state.commandEvent);
        put(20, quint8(state.periodicMinutes >> 8));
        put(21, quint8(state.periodicMinutes));
    } else {
        put(21, state.lowVoltage ? 1 : 0);
        put(26, state.protocol);
        put(27, state.partition);
    }
    return BuildFrame(state.id, body);
}

QList<QByteArray> RadioModel::HandleConfigure(const QByteArray& frame)
{
    for (int i = 0; i < 4; ++i) {
        if (FrameByte(frame, 5 + i) != state.serial[i]) {
            Note(QStringLiteral("configure for serial %1.%2.%3.%4, not this radio")
                     .arg(FrameByte(frame, 5))
                     .arg(FrameByte(frame, 6))
                     .arg(FrameByte(frame, 7))
                     .arg(FrameByte(frame, 8)));
            return {};
        }
    }
    state.id = FrameId(frame);
    state.lowVoltage = FrameByte(frame, 13) != 0;
    return { BuildFrame(state.id, Body({ Configure, 0 })) };
}

QList<QByteArray> RadioModel::HandlePassword(const QByteArray& frame)
{
    const quint8 subCode = FrameByte(frame, 3);
    quint8 block[8];
    for (int i = 0; i < 8; ++i)
        block[i] = FrameByte(frame, 4 + i);
    if (subCode == 3)
        XteaDecipher(block, PasswordKey2());
    XteaDecipher(block, PasswordKey1());
    auto word = [&block](int offset) {
        return quint32(block[offset]) | (quint32(block[offset + 1]) << 8)
            | (quint32(block[offset + 2]) << 16) | (quint32(block[offset + 3]) << 24);
    };
    const quint32 p = word(0);
    const quint32 second = word(4);
    quint8 status = 0;
    switch (subCode) {
    case 1:
    case 2:
        if (state.locked && second != state.password) {
            status = 171;
            break;
        }
        state.password = p;
        state.locked = subCode == 2;
        status = state.locked ? 2 : 1;
        break;
    case 3:
        if (p == state.password && second == p + 1)
            status = state.locked ? 86 : 85;
        else
            status = state.locked ? 171 : 170;
        break;
    default:
        Note(QStringLiteral("password sub-code %1 unknown, not answered").arg(subCode));
        return {};
    }
    return { BuildFrame(state.id, Body({ Password, status })) };
}

QList<QByteArray> RadioModel::HandleClientCodes(const QByteArray& frame)
{
    const quint8 mode = FrameByte(frame, 3);
    if (mode == 1 || mode == 16) {
        for (int k = 0; k < 9; ++k)
            state.clientCodes[k] = frame.mid(4 + 4 * k, 4);
    }
    if (mode == 16) {
        state.communicationType = FrameByte(frame, 40);
        state.eventsPartition = FrameByte(frame, 41);
        state.inputPin2 = quint16(FrameByte(frame, 42) | (FrameByte(frame, 43) << 8));
        state.inputPin1 = quint16(FrameByte(frame, 44) | (FrameByte(frame, 45) << 8));
    }
    return { ClientCodeReply() };
}

QByteArray RadioModel::ClientCodeReply() const
{
    const bool extended = state.clientFormat >= 0x55;
    QByteArray body(extended ? 54 : 48, '\0'); // reply bytes 2..49 or 2..55
    auto put = [&body](int offset, quint8 value) { body[offset - 2] = char(value); };
    put(2, ClientCodes);
    for (int k = 0; k < 9; ++k) {
        const QByteArray& code = state.clientCodes[k];
        for (int i = 0; i < 4 && i < code.size(); ++i)
            put(4 + 5 * k + i, quint8(code[i]));
    }
    put(49, state.clientFormat);
    if (extended) {
        put(50, quint8(state.inputPin2));
        put(51, quint8(state.inputPin2 >> 8));
        put(52, quint8(state.inputPin1));
        put(53, quint8(state.inputPin1 >> 8));
        put(54, state.communicationType);
        put(55, state.eventsPartition);
    }
    return BuildFrame(state.id, body);
}

QList<QByteArray> RadioModel::HandleOutputs(const QByteArray& frame)
{
    const quint8 action = FrameByte(frame, 3);
    const quint8 value = FrameByte(frame, 4);
    switch (action) {
    case 3:
        state.relayOn = true;
        state.relayMinutes = value;
        break;
    case 2:
        state.relayOn = false;
        state.relayMinutes = 0;
        break;
    case 128:
        state.pgmPulse = value;
        ++state.pgmPulses;
        break;
    default: Note(QStringLiteral("output action %1 unknown, not answered").arg(action)); return {};
    }
    return { BuildFrame(state.id, Body({ Outputs, action })) };
}

QByteArray RadioModel::NoiseReply() const
{
    return BuildFrame(state.id, Body({ Noise, state.noiseMin, state.noiseMedium, state.noiseMax }));
}

QByteArray RadioModel::DiagnosticsReply() const
{
    return BuildFrame(state.id, Body({ Diagnose }) + state.diagnostics.Encode());
}

QList<QByteArray> RadioModel::HandleData(const QByteArray& frame)
{
    const quint8 type = FrameByte(frame, 4);
    const int count = FrameByte(frame, 5);
    const quint8 addressHigh = FrameByte(frame, 6);
    const quint8 addressLow = FrameByte(frame, 7);
    const quint16 address = quint16((addressHigh << 8) | addressLow);
    const QByteArray data = frame.mid(8, count);

    quint8 check = 0;
    for (int i = 2; i <= 8 + count; ++i)
        check ^= FrameByte(frame, i);
    check = quint8(~check);
    if (check == 0xAA)
        check = 0xAB;

    quint8 status = 0;
    if (check != FrameByte(frame, 9 + count)) {
        Note(QStringLiteral("record %1: check byte %2, expected %3")
                 .arg(address, 4, 16, QLatin1Char('0'))
                 .arg(FrameByte(frame, 9 + count), 2, 16, QLatin1Char('0'))
                 .arg(check, 2, 16, QLatin1Char('0')));
        status = 1;
    } else if (type == 0x00) {
        const quint64 start = quint64(state.flashBase) + address;
        if (start + quint64(count) > FlashSize) {
            Note(QStringLiteral("record at %1 lies beyond the flash").arg(start, 0, 16));
            status = 2;
        } else {
            const qsizetype end = qsizetype(start) + count;
            if (state.flash.size() < end)
                state.flash.append(end - state.flash.size(), char(0xFF));
            std::copy(data.begin(), data.end(), state.flash.begin() + qsizetype(start));
        }
    } else if ((type == 0x02 || type == 0x04) && count == 2) {
        const quint32 value = (quint8(data[0]) << 8) | quint8(data[1]);
        state.flashBase = type == 0x02 ? value << 4 : value << 16;
    }
    return { BuildFrame(state.id, Body({ Data, 0, status, addressHigh, addressLow })) };
}

QList<QByteArray> RadioModel::HandleEnd(const QByteArray& frame)
{
    state.endFlag = FrameByte(frame, 3);
    state.endValue = quint16((FrameByte(frame, 4) << 8) | FrameByte(frame, 5));
    const quint8 result
        = state.endResult >= 0 ? quint8(state.endResult) : (state.endFlag == 1 ? 1 : 0);
    if (!state.flashOutPath.isEmpty()) {
        QString error;
        if (!WriteFlashImage(state.flashOutPath, &error))
            Note(error);
    }
    return { BuildFrame(state.id, Body({ EndOfLoad, 0, result })) };
}

bool RadioModel::WriteFlashImage(const QString& path, QString* error) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(state.flash) != state.flash.size()) {
        if (error)
            *error = QStringLiteral("cannot write the flash image to %1: %2")
                         .arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace radiosim
