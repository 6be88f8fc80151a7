#include "firmware/records.h"

#include "link/frame.h"

namespace firmware {

namespace {

bool IsSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int HexDigit(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool Record::ChecksumRight() const
{
    quint8 sum = length + quint8(address >> 8) + quint8(address) + type + checksum;
    for (int i = 0; i < length; ++i)
        sum += data[size_t(i)];
    return sum == 0;
}

RecordReader::RecordReader(QIODevice& file)
    : file_(file)
    , buffer_(new char[BufferSize])
    , bufferStart_(file.pos())
{
}

bool RecordReader::Fill()
{
    bufferStart_ += size_;
    at_ = 0;
    const qint64 n = file_.read(buffer_.get(), BufferSize);
    size_ = n > 0 ? int(n) : 0;
    return size_ > 0;
}

bool RecordReader::Seek(qint64 position)
{
    size_ = 0;
    at_ = 0;
    if (position < 0 || !file_.seek(position)) {
        bufferStart_ = file_.pos();
        return false;
    }
    bufferStart_ = position;
    return true;
}

// A field of exactly the given number of digits, after the white space before it.
ReadResult RecordReader::Field(int digits, quint32& value)
{
    int c = Get();
    while (IsSpace(c))
        c = Get();
    value = 0;
    for (int i = 0; i < digits; ++i) {
        if (i > 0)
            c = Get();
        if (c < 0)
            return ReadResult::CutOff;
        const int digit = HexDigit(c);
        if (digit < 0)
            return ReadResult::Malformed;
        value = (value << 4) | quint32(digit);
    }
    return ReadResult::Record;
}

// V: one to four digits; it ends at the first character that is not one.
ReadResult RecordReader::Value(quint16& value)
{
    int c = Get();
    while (IsSpace(c))
        c = Get();
    if (c < 0)
        return ReadResult::CutOff;
    int digit = HexDigit(c);
    if (digit < 0)
        return ReadResult::Malformed;
    quint32 v = quint32(digit);
    for (int i = 1; i < 4 && (digit = HexDigit(Peek())) >= 0; ++i) {
        Get();
        v = (v << 4) | quint32(digit);
    }
    value = quint16(v);
    return ReadResult::Record;
}

ReadResult RecordReader::Bytes(Record& record)
{
    quint32 v = 0;
    for (int i = 0; i < record.length; ++i) {
        if (const ReadResult r = Field(2, v); r != ReadResult::Record)
            return r;
        record.data[size_t(i)] = quint8(v);
    }
    const ReadResult r = Field(2, v);
    record.checksum = quint8(v);
    return r;
}

ReadResult RecordReader::Next(Layout layout, Record& record)
{
    int c = Get();
    while (c >= 0 && c != ':')
        c = Get();
    if (c < 0)
        return ReadResult::NoRecord;
    record.offset = Position() - 1;

    quint32 ll = 0, aaaa = 0, tt = 0;
    ReadResult r = Field(2, ll);
    if (r == ReadResult::Record)
        r = Field(4, aaaa);
    if (r == ReadResult::Record)
        r = Field(2, tt);
    if (r != ReadResult::Record)
        return r;
    record.length = quint8(ll);
    record.address = quint16(aaaa);
    record.type = quint8(tt);

    if (layout == Layout::CheckPass)
        return record.type == type::End ? Value(record.value) : Bytes(record);
    if (IsHeader(record.type)) {
        quint32 hh = 0, mm = 0;
        r = Field(2, hh);
        if (r == ReadResult::Record)
            r = Field(2, mm);
        if (r != ReadResult::Record)
            return r;
        record.hardware = quint8(hh);
        record.role = quint8(mm);
        return Bytes(record);
    }
    if (IsOutOfSpec(record.type))
        return ReadResult::Record;
    if (IsEnd(record.type))
        return Value(record.value);
    return Bytes(record);
}

QByteArray DataCommandBody(const Record& record)
{
    QByteArray body;
    body.reserve(record.length + 8);
    body.append(char(comm::code::Data));
    body.append('\0');
    body.append(char(record.type));
    body.append(char(record.length));
    body.append(char(record.address >> 8));
    body.append(char(record.address));
    body.append(reinterpret_cast<const char*>(record.data.data()), record.length);
    body.append(char(record.checksum));
    quint8 check = 0;
    for (const char byte : body)
        check ^= quint8(byte);
    check = quint8(~check);
    body.append(char(check == 0xAA ? 0xAB : check));
    return body;
}

QString FileNotFoundText(const QString& path)
{
    return QStringLiteral("[%1] file not found").arg(path);
}

QString InvalidRecordText(qint64 offset)
{
    return QStringLiteral("Registro inválido na posição %1").arg(offset);
}

} // namespace firmware
