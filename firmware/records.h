#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <array>
#include <memory>

namespace firmware {

// Record types of the radio's firmware files (Intel HEX layout, types of the radio's own).
namespace type {
constexpr quint8 Data = 0x00;
constexpr quint8 End = 0x01; // end of load, end flag 0
constexpr quint8 EndWithFlag = 0x11; // end of load, end flag 1
constexpr quint8 HeaderBankB = 0x0F; // refused by a radio in bank A
constexpr quint8 HeaderBankA = 0x1F; // refused by a radio in bank B
constexpr quint8 HeaderAnyBank = 0x2F;
constexpr quint8 CrcLine = 0x90;
} // namespace type

inline bool IsHeader(quint8 t)
{
    return t == type::HeaderBankB || t == type::HeaderBankA || t == type::HeaderAnyBank;
}
inline bool IsEnd(quint8 t)
{
    return t == type::End || t == type::EndWithFlag;
}
// Types the loader does not know: low four bits above 5 (the header types aside).
inline bool IsOutOfSpec(quint8 t)
{
    return (t & 0x0F) > 5 && !IsHeader(t);
}

// One record as read from the file. Only the fields its layout has are set.
struct Record {
    qint64 offset = 0; // file offset of its ':'
    quint8 length = 0; // LL
    quint16 address = 0; // AAAA
    quint8 type = 0; // TT
    quint8 hardware = 0; // HH of a header record
    quint8 role = 0; // MM of a header record: 0 master, other slave
    std::array<quint8, 255> data {}; // LL bytes
    quint8 checksum = 0; // CC, as read
    quint16 value = 0; // V of an end record

    // CC is the two's complement of the low byte of the sum of LL, AAAA, TT and the data.
    bool ChecksumRight() const;
};

// How the fields after TT are read.
enum class Layout {
    // Every record but type 0x01 as a data record (a header's HH and MM are data bytes);
    // type 0x01 carries V.
    CheckPass,
    // By type: a header has HH and MM before its data; 0x01 and 0x11 carry V; a type the
    // loader does not know ends after TT.
    Transfer,
};

enum class ReadResult {
    Record,
    NoRecord, // the file ended before the next ':'
    CutOff, // the file ended inside the record
    Malformed, // a character that is not a hexadecimal digit inside a field
};

// Reads records one at a time from a file opened for reading, through a small buffer:
// it never holds more than one record and one buffer of the file.
class RecordReader {
public:
    explicit RecordReader(QIODevice& file);

    qint64 Position() const { return bufferStart_ + at_; }
    bool Seek(qint64 position);
    ReadResult Next(Layout layout, Record& record);

private:
    static constexpr int BufferSize = 64 * 1024;

    int Get()
    {
        if (at_ == size_ && !Fill())
            return -1;
        return uchar(buffer_[at_++]);
    }
    int Peek()
    {
        if (at_ == size_ && !Fill())
            return -1;
        return uchar(buffer_[at_]);
    }
    bool Fill();
    ReadResult Field(int digits, quint32& value);
    ReadResult Value(quint16& value);
    ReadResult Bytes(Record& record);

    QIODevice& file_;
    std::unique_ptr<char[]> buffer_;
    qint64 bufferStart_ = 0;
    int size_ = 0;
    int at_ = 0;
};

// Body of the data command (235) that carries a record: 235, 0, TT, LL, AAAA high, AAAA low,
// the data bytes, CC and the check byte (the complement of the exclusive-or of everything
// before it; 0xAB where that comes out as 0xAA).
QByteArray DataCommandBody(const Record& record);

// Log texts shared by the check pass and the transfer.
QString FileNotFoundText(const QString& path);
inline const QString NoColonText = QStringLiteral("Não começa com ':'");
QString InvalidRecordText(qint64 offset);

} // namespace firmware
