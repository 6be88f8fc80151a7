#pragma once

#include <QByteArray>
#include <QHash>
#include <QMainWindow>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>

#include "link/linksettings.h"
#include "link/receivepath.h"
#include "ui_TDual.h"

class QEvent;
class QLineEdit;

namespace partitions {
struct InputSetting;
}

namespace readings {
struct OutputCommand;
}

namespace radio {
enum class PasswordCommand : quint8;
enum class LockState;
enum class PasswordMode;
} // namespace radio

// The one window of the tool. Controls are plain members (from TDual.ui); every handler
// is named after its control and event; program-wide values are members with their names.
class TDual : public QMainWindow, private Ui::TDual {
    Q_OBJECT
    friend class TDualProbe; // test access to controls and values

public:
    explicit TDual(QWidget* parent = nullptr);
    ~TDual() override;

    // Seams for modal things, replaceable by tests.
    std::function<void(const QString&)> ErrorDisplay; // shows an error box
    std::function<QString()> AskFirmwarePath; // the open-file dialog; "" = cancelled

    // Where the settings file lives; tests may point it elsewhere before CONECTAR.
    QString SettingsFile;

    // ---- Programming link -------------------------------------------------------------
    void SendFrame(int radioId, const QByteArray& body);
    void SendCommand(int radioId, quint8 code, quint8 a1, quint8 a2, quint8 a3);
    void WriteByte(quint8 byte);
    void ProcessReceived(const QByteArray& burst);
    void AppendLog(const QString& text);
    void LogTail();
    void AddLogLine(const QString& text);
    void ClearReadings();
    void RequestLocalRead();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up (app/)
    void SetupLayout(); // what the .ui cannot say: columns, validators, pictures
    void ConnectHandlers();
    void FormCreate();
    void ShowError(const QString& text);
    template <typename Handler> void Guarded(Handler&& handler);

    // link/handlers.cpp
    void TerminalClick();
    void PortaEnter();
    void PortaChange();
    void BaudRateChange();
    void ClosePort();
    void WritePort(const QByteArray& bytes);
    void ComPort1RxChar();
    void ComPort1Error(QSerialPort::SerialPortError error);
    void TimerRXTimer();
    void Disconnected(); // DESCONECTAR steps after the port has been closed

    // app/ service functions
    void TxKeyPress(QChar key);
    void Button_ECOClick();
    void BResetRadioClick();

    // radio/handlers.cpp
    bool AwaitingReplyStage(const QByteArray& frame); // false: the frame's handling ends
    void DecodeParameterReply(const QByteArray& frame);
    void ShowWizardStep(int step);
    void BLeLocalClick();
    void GravaClick();
    void BconfigCanalClick();
    void NxButton1Click();
    void NxButton2Click();
    void IDChange();
    void TSenhaExit();
    void ASenhaExit();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void BGravaSenhaDClick();
    void senha1Click();
    void senha2Click();
    void senha3Click();
    void senha4Click();
    void BTesteSenhaClick();
    void DecodePasswordReply(const QByteArray& frame);
    void SendPassword(radio::PasswordCommand command);
    void ShowLockButtons(radio::LockState state);
    void ShowPasswordMode(radio::PasswordMode mode);

    // partitions/handlers.cpp
    void BlePartClick();
    void BgravaPartClick();
    bool part_clienteKeyPress(QChar key); // true: the key is consumed
    void Evt_RadChange(int row);
    void Tipo_ComunicChange();
    void EvtNmonitEndEditing();
    void DecodeClientCodes(const QByteArray& frame);
    void AwaitClientCodes();
    bool IsCodeEditor(const QObject* object) const; // the in-place editor of a code cell
    QLineEdit* CodeEditor(int row) const; // open editor of a row's code cell, if any
    void StartCodeEdit(int row);
    void TickEventsPartition(int row);
    void ShowInput(int row, const partitions::InputSetting& input);
    partitions::InputSetting TypedInput(int row) const;
    quint8 ReceivedCommType = 1; // a reply's type byte, written back while no item is chosen

    // readings/handlers.cpp
    void SendOutputs(const readings::OutputCommand& command);
    void PulsaReleExit();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BRuidoClick();
    void DecodeNoiseReply(const QByteArray& frame);
    void BleDiagClick();
    void DecodeDiagnostics(const QByteArray& frame);

    // firmware/handlers.cpp
    void OpenFileClick();
    bool CheckFirmwareFile(const QString& path);
    bool TransferFirmware(bool resume, int radioId);
    void WaitLoaderReply(int timeoutMs);
    void Timer_ACKTimer();
    void DecodeLoaderReply(const QByteArray& frame);
    void programaClick();
    void pauseClick();
    void cancelClick();
    void RunTransfer(bool resume);
    void ShowTransferIdle();
    void b1sClick();
    void b15sClick();
    void b2sClick();
    void b3sClick();
    void b5sClick();
    void b7sClick();
    class FirmwareHost; // the transfer's access to the port, the log and the controls
    QString AbreArqDialog(); // the real open-file dialog behind AskFirmwarePath
    void FirmwarePortError(QSerialPort::SerialPortError error);

    int SelectedRadioId() const;

    // ---- Components ---------------------------------------------------------------
    QSerialPort ComPort1;
    comm::PortSettings ComPort1Settings;
    QTimer TimerRX;
    QTimer Timer_ACK;

    // ---- Program-wide values ------------------------------------------------------
    bool Connected = false;
    int LastFrameLength = 0;
    comm::RxBuffer RxBuffer;
    comm::CarryBuffer CarryBuffer;
    QString ReplyTimeText;
    bool Writing = false; // inside a port write: its errors are raised by the write itself

    bool AwaitingReply = false;
    int RadioModel = 0;
    std::array<quint8, 4> RadioSerial {};
    qint8 WizardStep = 0;
    quint8 LastWriteCommand = 0;
    quint32 NewPassword = 0;
    quint32 OldPassword = 0;

    int BypassMinutes = 1;

    QString FirmwarePath;
    quint32 FirmwareTotal = 1;
    bool FirmwareActive = false;
    quint8 LoaderState = 0;
    int RadioVariant = 0;
    int TargetRadioId = 0;
    quint32 FirmwareSent = 1;
    int ResumeSection = 0;
    int ExpectedAddress = 0;
    int AckTimeout = 7000;
    bool CancelRequested = false;
    bool PauseRequested = false;
    int RetriesLeft = 0;
    bool PortLost = false; // the port vanished during the running transfer
    int TransferDepth = 0; // transfers running (a CONTINUA can nest one in another's wait)

    QChar KeyBefore1 = QChar(0), KeyBefore2 = QChar(0); // the two keys typed before

    // Focus and key hooks (PortaEnter, IDChange, ...), filled by ConnectHandlers.
    QHash<QObject*, std::function<void()>> FocusInHandlers;
    QHash<QObject*, std::function<void()>> FocusOutHandlers;
};
