// Firmware files of any contents through the record reader, the check pass and the
// transfer: nothing may crash or read outside a buffer.
//
// Input: byte 0 is the radio's hardware code, byte 1 its bank and role (bit 0..1 bank, bit 2
// master); the rest is the file. The loader answers every command at once with the state the
// transfer awaits, except every seventh data record, whose first acknowledgement is lost.
#include <QBuffer>

#include <cstddef>
#include <cstdint>

#include "firmware/checkpass.h"
#include "firmware/loaderreply.h"
#include "firmware/records.h"
#include "firmware/transfer.h"
#include "link/frame.h"

namespace {

class Quiet : public firmware::LogSink {
public:
    void AddLogLine(const QString&) override { }
    void AppendLog(const QString&) override { }
    void LogTail() override { }
};

class Loader : public firmware::TransferHost, public firmware::HeldTransferValues {
public:
    Loader() { ackTimeout = 1000; }
    quint8 hardware = 0;
    quint8 bank = 0;
    QString position;

    void AddLogLine(const QString&) override { }
    void AppendLog(const QString&) override { }
    void LogTail() override { }
    void SendCommand(int radioId, quint8 code, quint8 a1, quint8 a2, quint8 a3) override
    {
        SendFrame(radioId, comm::CommandBody(code, a1, a2, a3));
    }
    int SendFrame(int radioId, const QByteArray& body) override
    {
        const QByteArray frame = *comm::BuildFrame(radioId, body);
        QByteArray reply = frame.left(2);
        switch (comm::FrameCode(frame)) {
        case 226:
            reply += QByteArray(26, '\0');
            reply[2] = char(226);
            reply[9] = char(hardware);
            reply[18] = char(bank);
            break;
        case 235: {
            const bool lose = ++records_ % 7 == 0 && frame != last_;
            last_ = frame;
            if (lose)
                return int(frame.size());
            reply += QByteArray::fromHex("eb0000") + frame.mid(6, 2);
            break;
        }
        default: reply += frame.mid(2, 3); break;
        }
        reply_ = reply;
        return int(frame.size());
    }
    void WaitLoaderReply(int) override
    {
        if (!reply_.isEmpty()) {
            const firmware::LoaderReply r = firmware::DecodeLoaderReply(reply_, expectedAddress);
            if (r.radioModel)
                radioModel = *r.radioModel;
            if (r.radioVariant)
                radioVariant = *r.radioVariant;
            loaderState = r.state;
        }
        reply_.clear();
        if (loaderState == 0)
            loaderState = 5;
    }
    bool LinkLost() override { return false; }
    void SetProgress(int) override { }
    QString ResumePosition() override { return position; }
    void SetResumePosition(const QString& text) override { position = text; }
    qint64 ElapsedMs() override { return 0; }

private:
    QByteArray reply_;
    QByteArray last_;
    int records_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    QByteArray file(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    for (const firmware::Layout layout :
        { firmware::Layout::CheckPass, firmware::Layout::Transfer }) {
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        firmware::RecordReader reader(buffer);
        firmware::Record record;
        while (reader.Next(layout, record) == firmware::ReadResult::Record) {
            (void)record.ChecksumRight();
            (void)firmware::DataCommandBody(record);
        }
    }

    Quiet log;
    quint32 total = 1;
    {
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        firmware::CheckFirmware(buffer, log, total, [] {});
    }

    Loader loader;
    loader.hardware = data[0];
    loader.bank = data[1] & 3;
    loader.firmwareTotal = total;
    const int radioId = (data[1] & 4) ? 0 : 1;
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    firmware::TransferFirmware(buffer, false, radioId, loader.Values(), loader);
    // Resume from wherever the last call stood.
    buffer.open(QIODevice::ReadOnly);
    firmware::TransferFirmware(buffer, true, radioId, loader.Values(), loader);
    return 0;
}
