// Hidden service functions: the key codes typed into the log, the echo test and the restart.
#include "TDual.h"

#include "link/frame.h"

namespace {

// Key codes typed into the log: show and hide the echo button and the restart button.
constexpr const char* ShowEcho = "eco";
constexpr const char* HideEcho = "oce";
constexpr const char* ShowReset = "rst";
constexpr const char* HideReset = "tsr";

} // namespace

void TDual::TxKeyPress(QChar key)
{
    const QString typed = QString(KeyBefore2) + KeyBefore1 + key;
    struct Code {
        const char* keys;
        QWidget* button;
        bool visible;
    };
    for (const Code& code :
        { Code { ShowEcho, Button_ECO, true }, Code { HideEcho, Button_ECO, false },
            Code { ShowReset, BResetRadio, true }, Code { HideReset, BResetRadio, false } }) {
        if (typed == QLatin1String(code.keys)) {
            code.button->setVisible(code.visible);
            Tx->clear();
            break;
        }
    }
    KeyBefore2 = KeyBefore1;
    KeyBefore1 = key;
}

void TDual::Button_ECOClick()
{
    if (Connected)
        WriteByte(comm::EchoByte);
}

void TDual::BResetRadioClick()
{
    SendCommand(SelectedRadioId(), comm::code::ResetRadio, 4, 0, 0);
}
