#include "firmware/transfer.h"

#include <QFile>

#include <optional>
#include <utility>

#include "firmware/loaderreply.h"
#include "firmware/records.h"
#include "link/frame.h"

namespace firmware {

namespace {

// One call of the transfer: the open file, the section number and the byte counts.
class TransferCall {
public:
    TransferCall(QIODevice& file, int radioId, TransferValues& values, TransferHost& host)
        : reader_(file)
        , radioId_(radioId)
        , v_(values)
        , host_(host)
    {
    }

    bool Run(bool resume);

private:
    enum class Outcome { Done, Failed, Stopped, GaveUp };

    bool Fail(const QString& text)
    {
        ShowAccepted();
        host_.AddLogLine(text);
        return false;
    }
    // The progress bar and the log's tail after an accepted record. They wait for the next
    // frame to be on its way (or for the transfer to end), so that the window's work falls
    // in the line's dead time instead of delaying every exchange; the log's text and order
    // are the same.
    void ShowAccepted()
    {
        if (!acceptedProgress_)
            return;
        host_.SetProgress(*acceptedProgress_);
        host_.LogTail();
        acceptedProgress_.reset();
    }
    // After a failed attempt: true when the step tries again.
    bool Retry()
    {
        const int n = v_.retriesLeft;
        v_.retriesLeft = n - 1;
        return n > 0;
    }
    // One attempt of 226, 233 or 234: true when the awaited state came.
    bool Command(quint8 code, quint8 a1, quint8 a2, quint8 a3, int timeoutMs, quint8 awaited)
    {
        v_.lastWriteCommand = 0;
        host_.SendCommand(radioId_, code, a1, a2, a3);
        v_.awaitingReply = true;
        v_.loaderState = loader::Waiting;
        host_.WaitLoaderReply(timeoutMs);
        return v_.loaderState == awaited;
    }
    // A step of 226, 233 or 234 with its attempts; false when it gave up or the link is gone.
    bool Step(int retries, quint8 code, quint8 a1, quint8 a2, quint8 a3, bool endOfLoad,
        quint8 awaited, const QString& giveUpText)
    {
        v_.retriesLeft = retries;
        for (;;) {
            if (host_.LinkLost())
                return Fail(LinkLostText);
            const int timeout = endOfLoad ? int(EndOfLoadTimeout.count()) : v_.ackTimeout;
            if (Command(code, a1, a2, a3, timeout, awaited))
                return true;
            if (host_.LinkLost())
                return Fail(LinkLostText);
            if (!Retry())
                return Fail(giveUpText);
        }
    }
    bool Header(const Record& record);
    Outcome Data(const Record& record);
    bool End(const Record& record);
    bool Finish(bool result);
    int Progress() const;

    RecordReader reader_;
    const int radioId_;
    TransferValues& v_;
    TransferHost& host_;
    Record record_;
    std::optional<int> acceptedProgress_;
    int section_ = 0;
    int fileBytes_ = 0;
    int radioBytes_ = 0;
    qint64 startMs_ = 0;
};

qint64 ResumeOffset(const QString& text)
{
    bool ok = false;
    qint64 offset = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        offset = text.trimmed().toLongLong(&ok, 0); // the start text "0x0000"
    return ok && offset > 0 ? offset : 0;
}

bool TransferCall::Run(bool resume)
{
    if (resume) {
        reader_.Seek(ResumeOffset(host_.ResumePosition()));
        section_ = v_.resumeSection;
    } else {
        v_.firmwareSent = 1;
        section_ = 0;
    }
    startMs_ = host_.ElapsedMs();
    for (;;) {
        host_.SetResumePosition(QString::number(reader_.Position()));
        Record& record = record_;
        switch (reader_.Next(Layout::Transfer, record)) {
        case ReadResult::Record: break;
        case ReadResult::NoRecord:
        case ReadResult::CutOff: return Fail(NoColonText);
        case ReadResult::Malformed: return Fail(InvalidRecordText(record.offset));
        }
        if (record.length == 24)
            host_.AddLogLine(QStringLiteral("tam 0x18"));
        if (IsHeader(record.type)) {
            if (!Header(record))
                return false;
        } else if (IsOutOfSpec(record.type)) {
            return Fail(QStringLiteral("Source file out of spec"));
        } else if (IsEnd(record.type)) {
            return End(record);
        }
        switch (Data(record)) {
        case Outcome::Done: break;
        case Outcome::GaveUp: return Finish(false);
        case Outcome::Failed:
        case Outcome::Stopped: return false;
        }
    }
}

// Identity, compatibility and erase; the record's data goes next, as a data record.
bool TransferCall::Header(const Record& record)
{
    ShowAccepted();
    if (!Step(IdentityRetries, comm::code::LocalRead, 0, 0, 0, false, loader::Answered,
            QStringLiteral("Sem resposta leitura do Rádio")))
        return false;
    if (record.hardware != v_.radioModel)
        return Fail(QStringLiteral("Firmware não é para esta versão de Hardware"));
    if (record.role == 0 && radioId_ > 0)
        return Fail(QStringLiteral("Este firmware é só para o rádio Mestre"));
    if (record.role != 0 && radioId_ == 0)
        return Fail(QStringLiteral("Este firmware é só para o rádio Escravo"));
    if ((record.type == type::HeaderBankA && v_.radioVariant == 1)
        || (record.type == type::HeaderBankB && v_.radioVariant == 0))
        return Fail(QStringLiteral("Firmware não é para este Banco de Memória"));
    return Step(EraseRetries, comm::code::Erase, 0, 0, 0, false, loader::Erased,
        QStringLiteral("Sem resposta do Rádio"));
}

TransferCall::Outcome TransferCall::Data(const Record& record)
{
    // The record's Section line comes before anything else the step logs; like the
    // progress bar, it is written once the first frame is on its way.
    QString section = QString::asprintf("Section %d : [%04X] words from [%04X]", section_,
        unsigned(record.length), unsigned(record.address));
    const auto logSection = [this, &section] {
        if (section.isEmpty())
            return;
        ShowAccepted();
        host_.AddLogLine(std::exchange(section, QString()));
    };
    ++section_;
    v_.firmwareSent += record.length;
    fileBytes_ += record.length;
    const QByteArray body = DataCommandBody(record);
    v_.retriesLeft = DataRetries;
    for (;;) {
        if (v_.cancelRequested || v_.pauseRequested) {
            logSection();
            v_.firmwareSent -= record.length;
            v_.resumeSection = section_ - 1;
            return Outcome::Stopped;
        }
        if (host_.LinkLost()) {
            logSection();
            Fail(LinkLostText);
            return Outcome::Failed;
        }
        v_.lastWriteCommand = 0;
        radioBytes_ += host_.SendFrame(radioId_, body);
        logSection();
        v_.loaderState = loader::Waiting;
        v_.expectedAddress = record.address;
        host_.WaitLoaderReply(v_.ackTimeout);
        if (v_.loaderState == loader::Accepted) {
            acceptedProgress_ = Progress();
            return Outcome::Done;
        }
        if (host_.LinkLost()) {
            Fail(LinkLostText);
            return Outcome::Failed;
        }
        if (!Retry()) {
            host_.AddLogLine(QStringLiteral("Erro de Transmissao - Time Out"));
            return Outcome::GaveUp;
        }
        host_.AppendLog(QStringLiteral("Time Out - Repetindo "));
    }
}

bool TransferCall::End(const Record& record)
{
    ShowAccepted();
    const quint8 flag = record.type == type::EndWithFlag ? 1 : 0;
    if (!Step(EndRetries, comm::code::EndOfLoad, flag, quint8(record.value >> 8),
            quint8(record.value), true, loader::Answered,
            QStringLiteral("Verifique se o Firmware foi ativado")))
        return false;
    // The radio's result: 0 confirms an end flag of 0, 1 an end flag of 1.
    const bool loaded = v_.radioModel == flag;
    host_.AddLogLine(
        loaded ? QStringLiteral("Gravação ok") : QStringLiteral("Gravação com problemas"));
    host_.AddLogLine(QStringLiteral("Fim da Gravação"));
    return Finish(loaded);
}

bool TransferCall::Finish(bool result)
{
    ShowAccepted();
    if (v_.cancelRequested)
        return false;
    const double seconds = double(host_.ElapsedMs() - startMs_) / 1000.0;
    host_.AddLogLine(QStringLiteral(" "));
    host_.SetProgress(100);
    host_.AddLogLine(StatisticsLine("FILE: ", fileBytes_, seconds));
    host_.AddLogLine(StatisticsLine("RF:   ", radioBytes_, seconds));
    return result;
}

int TransferCall::Progress() const
{
    const quint64 total = qMax<quint64>(1, v_.firmwareTotal);
    return int(qMin<quint64>(100, quint64(v_.firmwareSent) * 100 / total));
}

} // namespace

QString StatisticsLine(const char* label, int bytes, double seconds)
{
    const double rate = seconds > 0 ? double(bytes) * 10.0 / seconds : 0.0;
    return QString::fromLatin1(label)
        + QString::asprintf("%d bytes sent in %f seconds [%f bits/sec] ", bytes, seconds, rate);
}

bool TransferFirmware(
    const QString& path, bool resume, int radioId, TransferValues values, TransferHost& host)
{
    values.firmwareActive = true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        host.AddLogLine(FileNotFoundText(path));
        return false;
    }
    return TransferFirmware(file, resume, radioId, values, host);
}

bool TransferFirmware(
    QIODevice& file, bool resume, int radioId, TransferValues values, TransferHost& host)
{
    values.firmwareActive = true;
    TransferCall call(file, radioId, values, host);
    const bool result = call.Run(resume);
    file.close();
    return result;
}

} // namespace firmware
