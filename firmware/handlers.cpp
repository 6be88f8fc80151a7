// Firmware upgrade: file check, transfer to the radio's loader, transfer controls.
#include "TDual.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>

#include "errors.h"
#include "firmware/checkpass.h"
#include "firmware/loaderreply.h"
#include "firmware/transfer.h"
#include "link/dispatcher.h"

namespace {

// Longest time the check pass goes without processing the window's events.
constexpr std::chrono::milliseconds CheckPassEventInterval { 10 };

const QString PauseCaption = QStringLiteral("PA&USA");
const QString ContinueCaption = QStringLiteral("CONTIN&UA");

// The terminal log of the window as the firmware routines write it.
class WindowLog : public firmware::LogSink {
public:
    explicit WindowLog(TDual& window)
        : window_(window)
    {
    }
    void AddLogLine(const QString& text) override { window_.AddLogLine(text); }
    void AppendLog(const QString& text) override { window_.AppendLog(text); }
    void LogTail() override { window_.LogTail(); }

private:
    TDual& window_;
};

} // namespace

class TDual::FirmwareHost : public firmware::TransferHost {
public:
    explicit FirmwareHost(TDual& window)
        : d_(window)
    {
        clock_.start();
    }
    void AddLogLine(const QString& text) override { d_.AddLogLine(text); }
    void AppendLog(const QString& text) override { d_.AppendLog(text); }
    void LogTail() override { d_.LogTail(); }
    void SendCommand(int radioId, quint8 code, quint8 a1, quint8 a2, quint8 a3) override
    {
        Sending([&] { d_.SendCommand(radioId, code, a1, a2, a3); });
    }
    int SendFrame(int radioId, const QByteArray& body) override
    {
        Sending([&] { d_.SendFrame(radioId, body); });
        return d_.LastFrameLength;
    }
    void WaitLoaderReply(int timeoutMs) override { d_.WaitLoaderReply(timeoutMs); }
    bool LinkLost() override { return d_.PortLost; }
    void SetProgress(int percent) override { d_.andamento->setValue(qBound(0, percent, 100)); }
    QString ResumePosition() override { return d_.PosFW->text(); }
    void SetResumePosition(const QString& text) override { d_.PosFW->setText(text); }
    qint64 ElapsedMs() override { return clock_.elapsed(); }

private:
    // A failed write must not leave the transfer half-way with its buttons locked: the
    // attempt counts as lost (its wait runs out), the error is shown once per transfer, and
    // a port that went away with it ends the transfer at the next attempt.
    template <typename Send> void Sending(Send&& send)
    {
        try {
            send();
        } catch (const PlatformError& error) {
            if (!d_.ComPort1.isOpen())
                d_.PortLost = true;
            if (!errorShown_)
                d_.ShowError(error.Message());
            errorShown_ = true;
        }
    }

    TDual& d_;
    QElapsedTimer clock_;
    bool errorShown_ = false;
};

QString TDual::AbreArqDialog()
{
    QFileDialog AbreArq(this, QStringLiteral("Abre arquivo RAD"));
    AbreArq.setObjectName(QStringLiteral("AbreArq"));
    AbreArq.setNameFilters({ QStringLiteral("MALVEN (*.RAD)"), QStringLiteral("All (*.*)") });
    AbreArq.setDefaultSuffix(QStringLiteral("rad"));
    AbreArq.setAcceptMode(QFileDialog::AcceptOpen);
    AbreArq.setFileMode(QFileDialog::ExistingFile);
    AbreArq.setSizeGripEnabled(true);
    if (AbreArq.exec() != QDialog::Accepted || AbreArq.selectedFiles().isEmpty())
        return QString();
    return AbreArq.selectedFiles().first();
}

// ---- Firmware file ----------------------------------------------------------------------

void TDual::OpenFileClick()
{
    const QString path = AskFirmwarePath ? AskFirmwarePath() : QString();
    if (path.isEmpty())
        return;
    FirmwarePath = path;
    setWindowTitle(QStringLiteral("Configurador TORVIKEN - [%1]").arg(QFileInfo(path).fileName()));
    andamento->setValue(0);
    andamento->setVisible(true);
    Tx->setFocus();
    Tx->clear();
    // No second pass and no transfer may start, from the events processed between records,
    // on a file that is still being checked.
    OpenFile->setEnabled(false);
    programa->setEnabled(false);
    const bool ready = CheckFirmwareFile(FirmwarePath);
    OpenFile->setEnabled(true);
    if (ready)
        AddLogLine(QStringLiteral("Arquivo Pronto para ser enviado"));
    programa->setEnabled(ready);
}

// The pass offers the window its events after every record whose checksum byte is right;
// a round of the event loop costs far more than reading a record, so it is taken when the
// last one is at least CheckPassEventInterval old: the window stays as lively, and a large
// file is read at the speed of the disk.
bool TDual::CheckFirmwareFile(const QString& path)
{
    WindowLog log(*this);
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    return firmware::CheckFirmwareFile(path, log, FirmwareTotal, [&sinceEvents] {
        if (sinceEvents.elapsed() < CheckPassEventInterval.count())
            return;
        QCoreApplication::processEvents();
        sinceEvents.restart();
    });
}

// ---- Transfer ---------------------------------------------------------------------------

bool TDual::TransferFirmware(bool resume, int radioId)
{
    if (TransferDepth <= 1)
        PortLost = false;
    FirmwareHost host(*this);
    const firmware::TransferValues values { FirmwareActive, LoaderState, RadioModel, RadioVariant,
        FirmwareSent, FirmwareTotal, ResumeSection, ExpectedAddress, CancelRequested,
        PauseRequested, RetriesLeft, AwaitingReply, LastWriteCommand, AckTimeout };
    return firmware::TransferFirmware(FirmwarePath, resume, radioId, values, host);
}

// Blocks in the event loop until a reply or the time-out has changed LoaderState; the
// handlers of every event run inside, and the CPU stays idle in between.
void TDual::WaitLoaderReply(int timeoutMs)
{
    Timer_ACK.stop();
    Timer_ACK.setInterval(timeoutMs);
    Timer_ACK.start();
    const QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
    while (LoaderState == firmware::loader::Waiting) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // A transfer nested in this wait (CONTINUA) ends with the timer stopped.
        if (LoaderState == firmware::loader::Waiting && !Timer_ACK.isActive()) {
            if (deadline.hasExpired())
                Timer_ACKTimer();
            else
                Timer_ACK.start(int(qMax<qint64>(1, deadline.remainingTime())));
        }
    }
    Timer_ACK.stop();
}

// A reply that came first keeps its state: the time-out only ends a wait still open.
void TDual::Timer_ACKTimer()
{
    if (LoaderState == firmware::loader::Waiting)
        LoaderState = firmware::loader::TimedOut;
    Timer_ACK.stop();
}

void TDual::DecodeLoaderReply(const QByteArray& frame)
{
    const firmware::LoaderReply reply = firmware::DecodeLoaderReply(frame, ExpectedAddress);
    if (!reply.complete) {
        AddLogLine(comm::IncompleteReplyText(frame.size()));
        LogTail();
        return;
    }
    if (reply.radioModel)
        RadioModel = *reply.radioModel;
    if (reply.radioVariant)
        RadioVariant = *reply.radioVariant;
    LoaderState = reply.state;
    AppendLog(reply.text);
}

// The cable pulled: the link closes the port; a transfer ends its wait and then stops.
void TDual::FirmwarePortError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    if (TransferDepth == 0)
        return;
    PortLost = true;
    if (Timer_ACK.isActive())
        Timer_ACKTimer();
}

// ---- Transfer controls ------------------------------------------------------------------

void TDual::programaClick()
{
    AddLogLine(QString());
    AddLogLine(QString());
    OpenFile->setEnabled(false);
    programa->setEnabled(false);
    LastWriteCommand = 0;
    CancelRequested = false;
    // A pause asked during the end of the last transfer must not stop this one.
    PauseRequested = false;
    pause->setText(PauseCaption);
    cancel->setEnabled(true);
    pause->setEnabled(true);
    TargetRadioId = SelectedRadioId();
    RunTransfer(false);
}

void TDual::RunTransfer(bool resume)
{
    ++TransferDepth;
    const bool loaded = TransferFirmware(resume, TargetRadioId);
    --TransferDepth;
    if (loaded) {
        AddLogLine(QStringLiteral("Firmware carregado com sucesso"));
        ShowTransferIdle();
        return;
    }
    // A transfer nested in another's wait (CONTINUA before the pause took effect) leaves
    // the buttons and the flags to the one that goes on running.
    const bool nested = TransferDepth > 0;
    if (PauseRequested && (nested || !CancelRequested)) {
        AddLogLine(QStringLiteral("Aguardando reinicio"));
        PauseRequested = false;
        return;
    }
    if (nested)
        return;
    AddLogLine(CancelRequested ? QStringLiteral("Carga do firmware Cancelada")
                               : QStringLiteral("Erro na carga do firmware"));
    FirmwareActive = false;
    CancelRequested = false;
    PauseRequested = false; // a CANCELA after a PAUSA that had not yet taken effect
    pause->setText(PauseCaption);
    andamento->setValue(0);
    ShowTransferIdle();
}

// No transfer running: a file can be chosen or sent again. The pause button keeps its
// caption, which records a pause still asked for.
void TDual::ShowTransferIdle()
{
    pause->setEnabled(false);
    cancel->setEnabled(false);
    OpenFile->setEnabled(true);
    programa->setEnabled(true);
}

void TDual::pauseClick()
{
    if (pause->text() == PauseCaption) {
        PauseRequested = true;
        AddLogLine(QStringLiteral("Carga Firmware pausada"));
        pause->setText(ContinueCaption);
        return;
    }
    AddLogLine(QStringLiteral("Ccontinuando Carga Firmware"));
    pause->setText(PauseCaption);
    TargetRadioId = SelectedRadioId();
    RunTransfer(true);
}

void TDual::cancelClick()
{
    RetriesLeft = 0;
    CancelRequested = true;
    // Paused: nothing runs, so everything ends here. A transfer still running (its pause
    // not yet in effect) ends at its next attempt instead, and RunTransfer reports it.
    if (pause->text() != ContinueCaption || TransferDepth > 0)
        return;
    pause->setText(PauseCaption);
    FirmwareActive = false;
    andamento->setValue(0);
    ShowTransferIdle();
    AddLogLine(QStringLiteral("Carga do firmware Cancelada"));
}

void TDual::b1sClick()
{
    AckTimeout = int(firmware::AckTimeout1s.count());
}
void TDual::b15sClick()
{
    AckTimeout = int(firmware::AckTimeout15s.count());
}
void TDual::b2sClick()
{
    AckTimeout = int(firmware::AckTimeout2s.count());
}
void TDual::b3sClick()
{
    AckTimeout = int(firmware::AckTimeout3s.count());
}
void TDual::b5sClick()
{
    AckTimeout = int(firmware::AckTimeout5s.count());
}
void TDual::b7sClick()
{
    AckTimeout = int(firmware::AckTimeout7s.count());
}
