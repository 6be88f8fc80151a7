// Programming link: senders, the CONECTAR button, port selection, receive path, dispatcher.
#include "TDual.h"

#include <QLoggingCategory>
#include <QSerialPortInfo>
#include <QTime>

#include "errors.h"
#include "link/dispatcher.h"
#include "link/frame.h"
#include "link/porterrors.h"

Q_LOGGING_CATEGORY(lcFrames, "qx284.frames", QtWarningMsg)

namespace {

// Writes wait at most this long: 10 ms per byte plus 10 ms.
constexpr std::chrono::milliseconds WriteTimeoutPerByte { 10 };
constexpr std::chrono::milliseconds WriteTimeoutConstant { 10 };

void Configure(QSerialPort& port, const comm::PortSettings& settings)
{
    port.setPortName(settings.port);
    const int baud = settings.baudRate == QLatin1String("Custom") ? settings.customBaudRate
                                                                  : settings.baudRate.toInt();
    port.setBaudRate(baud > 0 ? baud : comm::LinkBaudRate);
    port.setDataBits(QSerialPort::DataBits(settings.dataBits));
    switch (settings.stopBits) {
    case comm::StopBits::One: port.setStopBits(QSerialPort::OneStop); break;
    case comm::StopBits::OneAndHalf: port.setStopBits(QSerialPort::OneAndHalfStop); break;
    case comm::StopBits::Two: port.setStopBits(QSerialPort::TwoStop); break;
    }
    switch (settings.parity) {
    case comm::Parity::None: port.setParity(QSerialPort::NoParity); break;
    case comm::Parity::Odd: port.setParity(QSerialPort::OddParity); break;
    case comm::Parity::Even: port.setParity(QSerialPort::EvenParity); break;
    case comm::Parity::Mark: port.setParity(QSerialPort::MarkParity); break;
    case comm::Parity::Space: port.setParity(QSerialPort::SpaceParity); break;
    }
    port.setFlowControl(settings.flow.rtsHandshake ? QSerialPort::HardwareControl
            : settings.flow.xonXoff                ? QSerialPort::SoftwareControl
                                                   : QSerialPort::NoFlowControl);
}

bool PortVanishes(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError
        || error == QSerialPort::WriteError;
}

} // namespace

// ---- Senders --------------------------------------------------------------------------

void TDual::SendFrame(int radioId, const QByteArray& body)
{
    const std::optional<QByteArray> frame = comm::BuildFrame(radioId, body);
    if (!frame)
        return;
    LastFrameLength = int(frame->size());
    if (!Connected)
        return;
    qCDebug(lcFrames) << "TX" << frame->toHex(' ');
    WritePort(*frame);
}

void TDual::SendCommand(int radioId, quint8 code, quint8 a1, quint8 a2, quint8 a3)
{
    SendFrame(radioId, comm::CommandBody(code, a1, a2, a3));
}

void TDual::WriteByte(quint8 byte)
{
    if (ComPort1.isOpen())
        WritePort(QByteArray(1, char(byte)));
}

// One write call; returns once the bytes are out or the write time-out has passed. A failed
// write raises the port's error; a port that has gone away is closed first.
void TDual::WritePort(const QByteArray& bytes)
{
    const auto timeout = WriteTimeoutPerByte * bytes.size() + WriteTimeoutConstant;
    Writing = true;
    const bool written = ComPort1.write(bytes) == bytes.size()
        && (ComPort1.bytesToWrite() == 0 || ComPort1.waitForBytesWritten(int(timeout.count())));
    Writing = false;
    if (written)
        return;
    const QString message = QStringLiteral("Erro de escrita na porta serial %1: %2")
                                .arg(ComPort1.portName(), ComPort1.errorString());
    if (PortVanishes(ComPort1.error()) && ComPort1.error() != QSerialPort::WriteError) {
        ClosePort();
        if (Connected)
            Disconnected();
    } else {
        ComPort1.clear(QSerialPort::Output);
    }
    ComPort1.clearError();
    throw PlatformError(message);
}

// ---- Port selection and CONECTAR ------------------------------------------------------

void TDual::TerminalClick()
{
    if (!Connected) {
        PG->setEnabled(true);
        Configure(ComPort1, ComPort1Settings);
        if (!ComPort1.open(QIODevice::ReadWrite)) {
            const QString message = comm::OpenFailureMessage(ComPort1Settings.port,
                ComPort1.errorString(), ComPort1.error() == QSerialPort::PermissionError);
            ComPort1.clearError();
            throw PlatformError(message);
        }
        // DTR and RTS off; a port without modem lines (a pseudo-terminal) refuses, harmlessly.
        ComPort1.setDataTerminalReady(false);
        if (!ComPort1Settings.flow.rtsHandshake)
            ComPort1.setRequestToSend(false);
        ComPort1.clearError();
        ComPort1.clear(QSerialPort::AllDirections);
        Connected = true;
        Tx->setFocus();
        Tx->clear();
        Terminal->setText(QStringLiteral("&DESCONECTAR"));
        Porta->setEnabled(false);
        comm::StoreSettings(SettingsFile, ComPort1Settings);
        RequestLocalRead();
        WizardStep = 1;
        Label2->setVisible(true);
        BLeLocal->setEnabled(true);
    } else {
        ClosePort();
        Disconnected();
    }
}

void TDual::Disconnected()
{
    Connected = false;
    PG->setEnabled(false);
    Terminal->setText(QStringLiteral("&CONECTAR"));
    Porta->setEnabled(true);
    ClearReadings();
    WizardStep = 0;
    for (QWidget* hidden : { static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(GroupBox2),
             static_cast<QWidget*>(GroupBox5), static_cast<QWidget*>(GroupBox10),
             static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
             static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label6),
             static_cast<QWidget*>(Label7) })
        hidden->setVisible(false);
    BLeLocal->setEnabled(false);
    NxButton2->setEnabled(false);
}

void TDual::ClosePort()
{
    if (ComPort1.isOpen())
        ComPort1.close();
}

void TDual::PortaEnter()
{
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.portName();
    Porta->clear();
    Porta->addItems(ports);
    Porta->setCurrentIndex(Porta->findText(ComPort1Settings.port));
    // A name that is not listed (a pseudo-terminal, say) stays in force.
    if (Porta->currentIndex() >= 0)
        ComPort1Settings.port = Porta->currentText();
}

void TDual::PortaChange()
{
    if (ComPort1.isOpen() || Porta->currentIndex() < 0)
        return;
    ComPort1Settings.port = Porta->currentText();
    Porta->setPlaceholderText(ComPort1Settings.port);
}

void TDual::BaudRateChange()
{
    if (ComPort1.isOpen() || BaudRate->currentIndex() < 0)
        return;
    ComPort1Settings.baudRate = BaudRate->currentText();
}

// The port vanished (adapter pulled, other end closed): Qt then reports errors in a storm
// until the port is closed, so close it on the first one and say so once.
void TDual::ComPort1Error(QSerialPort::SerialPortError error)
{
    if (!PortVanishes(error) || !ComPort1.isOpen() || Writing)
        return;
    const QString message = QStringLiteral("A porta serial %1 deixou de responder: %2")
                                .arg(ComPort1.portName(), ComPort1.errorString());
    ClosePort();
    ComPort1.clearError();
    if (Connected)
        Disconnected();
    ShowError(message);
}

// ---- Receive path -----------------------------------------------------------------------

void TDual::ComPort1RxChar()
{
    TimerRX.stop();
    // Qt does not announce bytes left unread again: take everything that has arrived.
    while (ComPort1.isOpen() && ComPort1.bytesAvailable() > 0) {
        const QByteArray chunk = ComPort1.read(comm::ReadChunk);
        if (chunk.isEmpty())
            break;
        RxBuffer.Append(chunk, [this](const QByteArray& burst) { ProcessReceived(burst); });
    }
    TimerRX.start(comm::ReceiveGap);
}

// The burst is complete once the line has been quiet for the gap. With nothing gathered the
// timer rests until the next byte starts it again, so an idle port costs no wake-ups.
void TDual::TimerRXTimer()
{
    if (RxBuffer.Count() != 0)
        ProcessReceived(RxBuffer.Take());
    if (RxBuffer.Count() == 0)
        TimerRX.stop();
}

void TDual::ProcessReceived(const QByteArray& burst)
{
    ReplyTimeText = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
    qCDebug(lcFrames) << "RX" << burst.toHex(' ');
    const QString echo = comm::EchoMark(burst);
    if (!echo.isEmpty())
        AppendLog(echo);

    // A fresh frame for every burst: no decoder can see bytes of an earlier one.
    const std::optional<QByteArray> assembled
        = CarryBuffer.Assemble(burst, FirmwareActive || AwaitingReply);
    if (!assembled)
        return;
    const QByteArray& frame = *assembled;
    const quint8 code = comm::FrameCode(frame);

    const comm::DispatchContext context { FirmwareActive, LoaderState, TargetRadioId,
        SelectedRadioId() };
    switch (comm::Classify(frame, context)) {
    case comm::Route::Loader: DecodeLoaderReply(frame); return;
    case comm::Route::Ignored: return;
    case comm::Route::ReceiverMessage:
        for (int ack = comm::ReceiverAckCount(frame); ack > 0; --ack)
            WriteByte(comm::ReceiverAck);
        return;
    case comm::Route::SelectedRadio:
        UserText->setText(QString());
        Status->clearMessage();
        switch (code) {
        case comm::code::Outputs: return;
        case comm::code::ClientCodes: DecodeClientCodes(frame); return;
        case comm::code::Password: DecodePasswordReply(frame); return;
        case comm::code::Noise: DecodeNoiseReply(frame); return;
        case comm::code::Diagnostics: DecodeDiagnostics(frame); return;
        default:
            AppendLog(QStringLiteral(" CRC CRC\n"));
            LogTail();
            break;
        }
        break;
    case comm::Route::Other: break;
    }

    if (AwaitingReply && !AwaitingReplyStage(frame))
        return;
    if (code == LastWriteCommand) {
        RequestLocalRead();
        LastWriteCommand = 0;
    }
}
