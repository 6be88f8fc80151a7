#include "TDual.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QSerialPortInfo>

#include <exception>

#include "cells.h"
#include "errors.h"

TDual::TDual(QWidget* parent)
    : QMainWindow(parent)
{
    setupUi(this);
    setObjectName(QStringLiteral("Dual"));
    SetupLayout();
    ErrorDisplay = [this](const QString& text) {
        QMessageBox::critical(this, QString::fromLatin1(AppTitle), text);
    };
    SettingsFile = comm::DefaultSettingsFile();
    AskFirmwarePath = [this] { return AbreArqDialog(); };

    TimerRX.setTimerType(Qt::PreciseTimer);
    TimerRX.setInterval(comm::ReceiveTimerStart);
    Timer_ACK.setTimerType(Qt::PreciseTimer);

    ConnectHandlers();
    FormCreate();
    TimerRX.start();
}

TDual::~TDual() = default;

template <typename Handler> void TDual::Guarded(Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Erro desconhecido"));
    }
}

void TDual::ShowError(const QString& text)
{
    if (ErrorDisplay)
        ErrorDisplay(text);
}

void TDual::ConnectHandlers()
{
    // Every handler runs through the error guard: a platform error ends it and is shown.
    auto on = [this](void (TDual::*handler)()) {
        return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
    };
    auto click = [this, &on](QAbstractButton* button, void (TDual::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, on(handler));
    };
    auto selected = [this, &on](QAbstractButton* button, void (TDual::*handler)()) {
        connect(button, &QAbstractButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                Guarded([this, handler] { (this->*handler)(); });
        });
    };
    auto leaving = [this, &on](QWidget* widget, void (TDual::*handler)()) {
        widget->installEventFilter(this);
        FocusOutHandlers.insert(widget, on(handler));
    };

    // Programming link
    click(Terminal, &TDual::TerminalClick);
    connect(Porta, &QComboBox::activated, this, on(&TDual::PortaChange));
    Porta->installEventFilter(this);
    FocusInHandlers.insert(Porta, on(&TDual::PortaEnter));
    connect(BaudRate, &QComboBox::activated, this, on(&TDual::BaudRateChange));
    connect(&ComPort1, &QSerialPort::readyRead, this, on(&TDual::ComPort1RxChar));
    connect(
        &ComPort1, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
            Guarded([this, error] { ComPort1Error(error); });
        });
    connect(&TimerRX, &QTimer::timeout, this, on(&TDual::TimerRXTimer));
    connect(&Timer_ACK, &QTimer::timeout, this, on(&TDual::Timer_ACKTimer));

    // Service functions
    Tx->installEventFilter(this);
    click(Button_ECO, &TDual::Button_ECOClick);
    click(BResetRadio, &TDual::BResetRadioClick);

    // Radio configuration
    click(BLeLocal, &TDual::BLeLocalClick);
    click(BConfig, &TDual::GravaClick);
    click(BconfigCanal, &TDual::BconfigCanalClick);
    click(NxButton1, &TDual::NxButton1Click);
    click(NxButton2, &TDual::NxButton2Click);
    // The ID box selects one of its 1024 items: Enter must not add a typed text as a new one.
    ID->setInsertPolicy(QComboBox::NoInsert);
    leaving(ID, &TDual::IDChange);
    if (ID->lineEdit())
        leaving(ID->lineEdit(), &TDual::IDChange);
    leaving(TSenha, &TDual::TSenhaExit);
    leaving(ASenha, &TDual::ASenhaExit);
    click(RadioButton1, &TDual::RadioButton1Click);
    click(RadioButton2, &TDual::RadioButton2Click);
    click(RadioButton3, &TDual::RadioButton3Click);
    click(BGravaSenhaD, &TDual::BGravaSenhaDClick);
    click(senha1, &TDual::senha1Click);
    click(senha2, &TDual::senha2Click);
    click(senha3, &TDual::senha3Click);
    click(senha4, &TDual::senha4Click);
    click(BTesteSenha, &TDual::BTesteSenhaClick);

    // Partitions
    click(BlePart, &TDual::BlePartClick);
    click(BgravaPart, &TDual::BgravaPartClick);
    part_cliente->installEventFilter(this); // and the code editor's keys, through its delegate
    connect(part_cliente, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        // Ticks set by the tool itself come with the grid's signals blocked.
        if (item->column() == 2)
            Guarded([this, item] { Evt_RadChange(item->row()); });
    });
    connect(Tipo_Comunic, &QComboBox::currentIndexChanged, this, on(&TDual::Tipo_ComunicChange));
    connect(EvtNmonit->itemDelegateForColumn(1), &QAbstractItemDelegate::closeEditor, this,
        on(&TDual::EvtNmonitEndEditing));

    // Field readings
    leaving(tbypass, &TDual::PulsaReleExit);
    click(BitBtn1, &TDual::BitBtn1Click);
    click(BitBtn2, &TDual::BitBtn2Click);
    click(BitBtn3, &TDual::BitBtn3Click);
    // The pulse box takes typed text but never adds items; a text that matches no item
    // selects none, so that PULSA PGM RÁDIO sends nothing rather than an earlier choice.
    PulsaReleS->setInsertPolicy(QComboBox::NoInsert);
    connect(PulsaReleS, &QComboBox::editTextChanged, this, [this](const QString& text) {
        const int match = PulsaReleS->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (match == PulsaReleS->currentIndex())
            return;
        QLineEdit* edit = PulsaReleS->lineEdit();
        const int caret = edit->cursorPosition();
        PulsaReleS->setCurrentIndex(match); // no item empties the edit...
        PulsaReleS->setEditText(text); // ...so the typed text goes back in
        edit->setCursorPosition(caret);
    });
    click(BRuido, &TDual::BRuidoClick);
    click(BleDiag, &TDual::BleDiagClick);

    // Firmware upgrade
    click(OpenFile, &TDual::OpenFileClick);
    click(programa, &TDual::programaClick);
    click(pause, &TDual::pauseClick);
    click(cancel, &TDual::cancelClick);
    selected(b1s, &TDual::b1sClick);
    selected(b15s, &TDual::b15sClick);
    selected(b2s, &TDual::b2sClick);
    selected(b3s, &TDual::b3sClick);
    selected(b5s, &TDual::b5sClick);
    selected(b7s, &TDual::b7sClick);
    connect(
        &ComPort1, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
            Guarded([this, error] { FirmwarePortError(error); });
        });
}

bool TDual::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Opening a drop-down list is not entering or leaving the control.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            break;
        if (auto handler = FocusInHandlers.value(watched))
            handler();
        break;
    }
    case QEvent::FocusOut: {
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            break;
        if (auto handler = FocusOutHandlers.value(watched))
            handler();
        break;
    }
    case QEvent::KeyPress: {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty())
            break;
        if (watched == Tx) {
            Guarded([this, &text] { TxKeyPress(text.at(0)); });
        } else if (watched == part_cliente || IsCodeEditor(watched)) {
            bool consumed = false;
            Guarded([this, &text, &consumed] { consumed = part_clienteKeyPress(text.at(0)); });
            if (consumed)
                return true;
        }
        break;
    }
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TDual::FormCreate()
{
    // 1. The window shows at once, centred; the rest fills it while visible.
    resize(914, 728);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    // 2. Start-up banner.
    AddLogLine(windowTitle());
    // 3. Serial-port settings.
    comm::LoadSettings(SettingsFile, ComPort1Settings);
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.portName();
    ports.sort();
    Porta->clear();
    Porta->addItems(ports);
    Porta->setCurrentIndex(Porta->findText(ComPort1Settings.port));
    Porta->setPlaceholderText(ComPort1Settings.port);
    ComPort1Settings.baudRate = QString::number(comm::LinkBaudRate);
    BaudRate->setCurrentIndex(BaudRate->findText(ComPort1Settings.baudRate));
    // 4. Channels.
    for (int channel = 0; channel < 80; ++channel)
        BCanal->addItem(QString::number(channel));
    BCanal->setCurrentIndex(1);
    // 5. Radio IDs.
    for (int id = 0; id < 1024; ++id)
        ID->addItem(QString::number(id));
    ID->setCurrentIndex(0);
    TID->setText(QString::number(ID->currentIndex()));
    // 6. PGM pulse lengths.
    PulsaReleS->addItems({ "1", "1,5", "2", "2,5" });
    PulsaReleS->setCurrentIndex(0);
    // 7. First tab.
    PG->setCurrentIndex(0);
    // 8. Partitions and their (empty) client codes, radio events under partition 0.
    part_cliente->setUpdatesEnabled(false);
    QFont bold = part_cliente->font();
    bold.setBold(true);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 2; ++column) {
            QTableWidgetItem* cell = part_cliente->item(row, column);
            cell->setText(column == 0 ? QString::number(row) : QString());
            cell->setForeground(QColor(0x80, 0, 0));
            cell->setFont(bold);
        }
    }
    part_cliente->item(0, 2)->setCheckState(Qt::Checked);
    part_cliente->setUpdatesEnabled(true);
    // 9. Communication type.
    Tipo_Comunic->setCurrentIndex(0);
    Tipo_Comunic->setEnabled(false);
    // 10.
    part_cliente->resize(308, part_cliente->height());
    // 11. Not-monitored inputs: pin 1 green, event 130; pin 2 yellow, event 401 inverted.
    EvtNmonit->item(0, 0)->setText(QStringLiteral("1"));
    EvtNmonit->item(0, 0)->setBackground(QColor(0, 0xFF, 0));
    EvtNmonit->item(0, 1)->setText(QStringLiteral("130"));
    EvtNmonit->item(0, 2)->setCheckState(Qt::Unchecked);
    EvtNmonit->item(1, 0)->setText(QStringLiteral("2"));
    EvtNmonit->item(1, 0)->setBackground(QColor(0xFF, 0xFF, 0));
    EvtNmonit->item(1, 1)->setText(QStringLiteral("401"));
    EvtNmonit->item(1, 2)->setCheckState(Qt::Checked);
}

void TDual::ClearReadings()
{
    for (QLineEdit* serial : { ID0, ID1, ID2, ID3 })
        serial->setText(QStringLiteral("0"));
    Param->setRowCount(10);
    for (int row = 0; row < 10; ++row) {
        Cell(Param, row, 0);
        SetCellText(Param, row, 1, QString());
    }
    for (int row = 0; row < 15; ++row)
        SetCellText(Diag, row, 1, QString());
}

int TDual::SelectedRadioId() const
{
    return qMax(0, ID->currentIndex());
}
