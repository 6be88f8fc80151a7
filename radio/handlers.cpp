// Radio configuration: parameter read, configuration wizard, device password.
#include "TDual.h"

#include "cells.h"
#include "labels.h"
#include "errors.h"
#include "link/frame.h"
#include "radio/parameters.h"
#include "radio/password.h"
#include "radio/wizard.h"
#include "texts.h"

namespace {

// Byte 3 of a reply that, in the radio-ID step, ends the handling of the frame.
constexpr int StepOneMarkerAt = 3;
constexpr quint8 StepOneMarker = 226;

} // namespace

// ---- Parameter read ---------------------------------------------------------------------

void TDual::RequestLocalRead()
{
    SendCommand(SelectedRadioId(), comm::code::LocalRead, 0, 0, 0);
    AwaitingReply = true;
    Status->showMessage(AwaitingReplyText);
    ClearReadings();
}

// Every reply that reaches the dispatcher while a read is outstanding ends the wait.
bool TDual::AwaitingReplyStage(const QByteArray& frame)
{
    const quint8 code = comm::FrameCode(frame);
    if (code == comm::code::LocalRead || code == comm::code::RemoteRead)
        DecodeParameterReply(frame);
    AwaitingReply = false;
    Status->clearMessage();
    if (WizardStep == radio::step::RadioId && frame.size() > StepOneMarkerAt
        && quint8(frame[StepOneMarkerAt]) == StepOneMarker)
        return false;
    ShowWizardStep(WizardStep);
    BlePartClick(); // the client codes of the radio, at every step
    return true;
}

void TDual::DecodeParameterReply(const QByteArray& frame)
{
    QString problem;
    const std::optional<radio::ParameterReading> r = radio::DecodeParameterReply(frame, &problem);
    if (!r) {
        AddLogLine(problem);
        LogTail();
        return;
    }
    ID->setCurrentIndex(r->radioId);
    TID->setText(QString::number(ID->currentIndex()));
    for (int row = 0; row < radio::ParamRows; ++row) {
        SetCellText(Param, row, 0, r->captions[row]);
        if (r->values[row])
            SetCellText(Param, row, 1, *r->values[row]);
    }
    RadioModel = r->model;
    RadioSerial = r->serial;
    const QStringList serial { QString::number(r->serial[0]), QString::number(r->serial[1]),
        QString::number(r->serial[2]), QString::number(r->serial[3]) };
    ID0->setText(serial[0]);
    ID1->setText(serial[1]);
    ID2->setText(serial[2]);
    ID3->setText(serial[3]);
    // A channel beyond the list leaves the box without a selection: nothing to send.
    BCanal->setCurrentIndex(r->channel < BCanal->count() ? r->channel : -1);
    BCanal->setEnabled(r->channelSelectable);
    HBaixoConsumo->setChecked(r->lowVoltageTicked);
    HBaixoConsumo->setVisible(r->lowVoltageShown);
    for (QWidget* control : { static_cast<QWidget*>(BConfig), static_cast<QWidget*>(BconfigCanal),
             static_cast<QWidget*>(RadioButton1), static_cast<QWidget*>(RadioButton2),
             static_cast<QWidget*>(RadioButton3), static_cast<QWidget*>(BGravaSenhaD),
             static_cast<QWidget*>(BgravaPart), static_cast<QWidget*>(OpenFile) })
        control->setEnabled(!r->master);
    Label4->setVisible(r->master);
    Label6->setVisible(r->master);
}

void TDual::BLeLocalClick()
{
    RequestLocalRead();
    WizardStep = radio::step::RadioId;
}

// ---- Configuration wizard ---------------------------------------------------------------

void TDual::ShowWizardStep(int step)
{
    const std::optional<radio::WizardDisplay> d = radio::DisplayFor(step);
    if (!d)
        return;
    GroupBox1->setVisible(d->idGroup);
    GroupBox2->setVisible(d->channelGroup);
    GroupBox5->setVisible(d->passwordGroup);
    GroupBox10->setVisible(d->partitionGroup);
    Label2->setVisible(d->startLabel);
    BLeLocal->setEnabled(d->localReadEnabled);
    NxButton2->setEnabled(d->backEnabled);
    Label3->setVisible(d->finishedLabel);
    if (d->guideShown) {
        Label7->move(d->guideLeft, d->guideTop);
        SetCaption(Label7, d->guideText);
    }
    Label7->setVisible(d->guideShown);
}

void TDual::GravaClick()
{
    LastWriteCommand = comm::code::Configure;
    SendFrame(SelectedRadioId(), radio::ConfigureBody(RadioSerial, HBaixoConsumo->isChecked()));
    WizardStep = radio::StepAfterConfigure(RadioModel);
}

void TDual::BconfigCanalClick()
{
    const std::optional<QByteArray> body = radio::ChannelBody(BCanal->currentIndex());
    if (!body)
        throw PlatformError(
            QStringLiteral("Selecione um canal de 0 a %1").arg(radio::ChannelCount - 1));
    SendFrame(radio::ChannelCommandRadioId, *body);
    LastWriteCommand = comm::code::Channel;
    WizardStep = radio::step::Password;
}

void TDual::NxButton1Click()
{
    ClearReadings();
    for (QWidget* hidden : { static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(GroupBox2),
             static_cast<QWidget*>(GroupBox5), static_cast<QWidget*>(GroupBox10),
             static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4),
             static_cast<QWidget*>(Label6), static_cast<QWidget*>(Label7) })
        hidden->setVisible(false);
    Label2->setVisible(true);
    BLeLocal->setEnabled(true);
    NxButton2->setEnabled(false);
    WizardStep = radio::step::RadioId;
}

void TDual::NxButton2Click()
{
    RequestLocalRead();
    WizardStep = radio::StepBack(WizardStep);
}

// Leaving the ID box selects the ID typed; a text that selects no radio is refused and the
// box shows the selected ID again.
void TDual::IDChange()
{
    if (ID->currentText().isEmpty())
        ID->setEditText(QStringLiteral("0"));
    const QString text = ID->currentText();
    const QString selected = ID->itemText(ID->currentIndex());
    int id = 0;
    try {
        id = StrToInt(text);
        if (!radio::IsRadioId(id))
            throw PlatformError(radio::InvalidTypedIdText(text));
    } catch (const PlatformError&) {
        ID->setEditText(selected);
        throw;
    }
    ID->setCurrentIndex(id);
    ID->setEditText(ID->itemText(id)); // "007" reads "7"
    TID->setText(QString::number(ID->currentIndex()));
}

// ---- Device password --------------------------------------------------------------------

namespace {

// The value of a password edit, its text rewritten without leading zeros.
quint32 ReadPassword(QLineEdit* edit)
{
    const QString text = edit->text();
    const int value = StrToInt(text);
    if (!radio::IsPassword(value))
        throw PlatformError(radio::InvalidPasswordText(text));
    edit->setText(QString::number(value));
    return quint32(value);
}

} // namespace

void TDual::TSenhaExit()
{
    NewPassword = ReadPassword(TSenha);
}

void TDual::ASenhaExit()
{
    OldPassword = ReadPassword(ASenha);
}

void TDual::SendPassword(radio::PasswordCommand command)
{
    NewPassword = ReadPassword(TSenha);
    UserText->setText(QString());
    SendFrame(SelectedRadioId(), radio::PasswordBody(command, NewPassword, OldPassword));
    if (command == radio::PasswordCommand::Test)
        return;
    WizardStep = radio::step::Partitions;
    LastWriteCommand = comm::code::Password;
}

void TDual::ShowLockButtons(radio::LockState state)
{
    const radio::LockButtons b = radio::LockButtonsFor(state);
    senha1->setEnabled(b.store);
    senha2->setEnabled(b.confirm);
    senha3->setEnabled(b.send);
    senha4->setEnabled(b.cancel);
}

void TDual::ShowPasswordMode(radio::PasswordMode mode)
{
    const radio::ModeLayout layout = radio::LayoutFor(mode);
    Label1->setVisible(layout.oldPassword);
    ASenha->setVisible(layout.oldPassword);
    BGravaSenhaD->setVisible(layout.storeNoLock);
    for (QWidget* lock : { senha1, senha2, senha3, senha4 })
        lock->setVisible(layout.lockButtons);
    BTesteSenha->setVisible(layout.testButton);
    if (layout.lockState)
        ShowLockButtons(*layout.lockState);
}

void TDual::RadioButton1Click()
{
    ShowPasswordMode(radio::PasswordMode::NoLock);
}

void TDual::RadioButton2Click()
{
    ShowPasswordMode(radio::PasswordMode::Lock);
}

void TDual::RadioButton3Click()
{
    ShowPasswordMode(radio::PasswordMode::Test);
}

void TDual::BGravaSenhaDClick()
{
    SendPassword(radio::PasswordCommand::Store);
}

void TDual::senha1Click()
{
    ShowLockButtons(radio::LockState::Armed);
}

void TDual::senha2Click()
{
    ShowLockButtons(radio::LockState::Confirmed);
}

void TDual::senha3Click()
{
    SendPassword(radio::PasswordCommand::StoreLocked);
    ShowLockButtons(radio::LockState::Ready);
}

void TDual::senha4Click()
{
    ShowLockButtons(radio::LockState::Ready);
}

void TDual::BTesteSenhaClick()
{
    SendPassword(radio::PasswordCommand::Test);
}

void TDual::DecodePasswordReply(const QByteArray& frame)
{
    SetCaption(UserText, radio::PasswordStatusText(frame));
    if (WizardStep == radio::step::Partitions)
        ShowWizardStep(radio::step::Partitions);
}
