// Field readings: bypass relay and PGM output, noise levels, diagnostics.
#include "TDual.h"

#include "cells.h"
#include "errors.h"
#include "labels.h"
#include "link/dispatcher.h"
#include "link/frame.h"
#include "readings/diagnostics.h"
#include "readings/noise.h"
#include "readings/outputs.h"
#include "texts.h"

namespace {

void ShowBar(QProgressBar* bar, QLabel* caption, const readings::NoiseBar& reading)
{
    QPalette palette = bar->palette();
    const QColor colour(reading.colour.red, reading.colour.green, reading.colour.blue);
    palette.setColor(QPalette::Active, QPalette::Highlight, colour);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, colour);
    bar->setPalette(palette);
    bar->setValue(reading.position);
    SetCaption(caption, reading.caption);
}

void ShowStatus(QStatusBar* status, const QString& text)
{
    if (text.isEmpty())
        status->clearMessage();
    else
        status->showMessage(text);
}

} // namespace

// ---- Relay and PGM output ------------------------------------------------------------

void TDual::PulsaReleExit()
{
    // A text that is no whole number raises before anything changes.
    BypassMinutes = readings::ClampBypassMinutes(StrToInt(tbypass->text()));
    tbypass->setText(QString::number(BypassMinutes));
}

void TDual::SendOutputs(const readings::OutputCommand& command)
{
    if (command.send)
        SendCommand(SelectedRadioId(), comm::code::Outputs, command.a1, command.a2, command.a3);
    ShowStatus(Status, command.status);
}

void TDual::BitBtn1Click()
{
    SendOutputs(readings::BypassOnCommand(SelectedRadioId(), BypassMinutes));
}

void TDual::BitBtn2Click()
{
    SendOutputs(readings::BypassOffCommand(SelectedRadioId()));
}

void TDual::BitBtn3Click()
{
    SendOutputs(readings::PgmPulseCommand(SelectedRadioId(), PulsaReleS->currentIndex()));
}

// ---- Noise -----------------------------------------------------------------------------

void TDual::BRuidoClick()
{
    Status->showMessage(AwaitingReplyText);
    SendCommand(SelectedRadioId(), comm::code::Noise, 0, 0, 0);
}

void TDual::DecodeNoiseReply(const QByteArray& frame)
{
    const std::optional<readings::NoiseReading> reading
        = readings::DecodeNoise(frame, ReplyTimeText);
    if (!reading) {
        AddLogLine(comm::IncompleteReplyText(frame.size()));
        LogTail();
        return;
    }
    ShowBar(Ruido_Min, TRuido_Min, reading->min);
    ShowBar(Ruido_Med, TRuido_Med, reading->med);
    ShowBar(Ruido_Max, TRuido_Max, reading->max);
    AppendLog(reading->logText);
    LogTail();
}

// ---- Diagnostics -----------------------------------------------------------------------

void TDual::BleDiagClick()
{
    for (int row = 0; row < readings::DiagRows; ++row)
        SetCellText(Diag, row, 1, QString());
    Status->showMessage(AwaitingReplyText);
    SendCommand(SelectedRadioId(), comm::code::Diagnostics, 0, 0, 0);
}

void TDual::DecodeDiagnostics(const QByteArray& frame)
{
    const std::optional<readings::DiagnosticsReading> reading
        = readings::DecodeDiagnostics(frame, ReplyTimeText);
    if (!reading) {
        AddLogLine(comm::IncompleteReplyText(frame.size()));
        LogTail();
        return;
    }
    for (const readings::DiagRow& row : reading->rows) {
        SetCellText(Diag, row.row, 0, row.caption);
        SetCellText(Diag, row.row, 1, row.value);
    }
    AppendLog(reading->logText);
    LogTail();
}
