// Radio configuration: parameter read, configuration wizard, device password.
#include "TDual.h"

#include "link/frame.h"
#include "texts.h"

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
    ShowWizardStep(WizardStep);
    return true;
}

void TDual::DecodeParameterReply(const QByteArray&) { }
void TDual::ShowWizardStep(int) { }
void TDual::BLeLocalClick() { }
void TDual::GravaClick() { }
void TDual::BconfigCanalClick() { }
void TDual::NxButton1Click() { }
void TDual::NxButton2Click() { }
void TDual::IDChange() { }
void TDual::TSenhaExit() { }
void TDual::ASenhaExit() { }
void TDual::RadioButton1Click() { }
void TDual::RadioButton2Click() { }
void TDual::RadioButton3Click() { }
void TDual::BGravaSenhaDClick() { }
void TDual::senha1Click() { }
void TDual::senha2Click() { }
void TDual::senha3Click() { }
void TDual::senha4Click() { }
void TDual::BTesteSenhaClick() { }
void TDual::DecodePasswordReply(const QByteArray&) { }
