// Partitions: client codes, radio-event partition, communication type, not-monitored inputs.
#include "TDual.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "cells.h"
#include "errors.h"
#include "link/dispatcher.h"
#include "link/frame.h"
#include "partitions/clientcodes.h"
#include "radio/wizard.h"
#include "texts.h"

namespace {

// Columns of part_cliente and EvtNmonit.
constexpr int CodeColumn = 1;
constexpr int RadioEventsColumn = 2;
constexpr int EventColumn = 1;
constexpr int InvertColumn = 2;

} // namespace

void TDual::BlePartClick()
{
    SendCommand(SelectedRadioId(), comm::code::ClientCodes, partitions::ReadSubcode, 0, 0);
    AwaitClientCodes();
}

// After a read or a write: the codes shown are gone until the radio's reply brings them.
void TDual::AwaitClientCodes()
{
    UserText->setText(QString());
    for (int row = 0; row < part_cliente->rowCount(); ++row)
        SetCellText(part_cliente, row, CodeColumn, QString());
    Status->showMessage(AwaitingReplyText);
}

void TDual::BgravaPartClick()
{
    QStringList codes;
    QList<bool> ticked;
    for (int row = 0; row < partitions::PartitionCount; ++row) {
        codes << CellText(part_cliente, row, CodeColumn);
        ticked << (Cell(part_cliente, row, RadioEventsColumn)->checkState() == Qt::Checked);
    }
    std::optional<partitions::Reporting> reporting;
    if (Tipo_Comunic->isEnabled())
        reporting = partitions::Reporting { partitions::CommunicationTypeCode(
                                                Tipo_Comunic->currentIndex(), ReceivedCommType),
            partitions::EventsPartition(ticked), TypedInput(0), TypedInput(1) };
    const QByteArray body = partitions::ClientCodeWriteBody(codes, reporting);

    LastWriteCommand = comm::code::ClientCodes;
    SendFrame(SelectedRadioId(), body);
    AwaitClientCodes();
    WizardStep = radio::step::Finished;
}

// Keys typed in the partition grid, and in a code cell's editor: only code characters get
// in, Enter moves down to an emptied row, and a radio in the basic format takes partition 0
// only. Returns true when the key is used up here.
bool TDual::part_clienteKeyPress(QChar key)
{
    if (partitions::LeftToGrid(key))
        return false;
    const int row = qMax(0, part_cliente->currentRow());
    QLineEdit* editor = CodeEditor(row);
    const partitions::CodeKey typed
        = partitions::FilterCodeKey(key, row, Tipo_Comunic->isEnabled());
    if (!typed.touchesCell)
        return editor == nullptr; // an edit ends as usual
    if (typed.row != row) {
        part_cliente->setCurrentCell(typed.row, CodeColumn); // commits and closes the edit
        editor = nullptr;
    }
    const bool character = typed.accepted && typed.character != QChar(partitions::Backspace);
    if (editor) {
        if (character)
            editor->insert(typed.character); // the editor's length limit holds
        else if (!typed.accepted)
            editor->clear();
        if (!typed.accepted)
            SetCellText(part_cliente, typed.row, CodeColumn, QString());
        return character || !typed.accepted; // Backspace is left to the editor
    }
    SetCellText(
        part_cliente, typed.row, CodeColumn, character ? QString(typed.character) : QString());
    if (character)
        StartCodeEdit(typed.row);
    return true;
}

// The user toggled an "Eventos Rádio" box: that row alone is ticked, so the ticked box
// cannot be unticked, only moved.
void TDual::Evt_RadChange(int row)
{
    TickEventsPartition(row);
    part_cliente->viewport()->update();
}

void TDual::Tipo_ComunicChange()
{
    const partitions::TypeDisplay display
        = partitions::DisplayForType(Tipo_Comunic->currentIndex());
    for (QWidget* label : { Label39, Label40, Label41, NxL_JFL, NxL_JFL915 })
        label->hide();
    ImRadioMonit->setVisible(display.inputs);
    EvtNmonit->setVisible(display.inputs);
    EvtNmonit->setEnabled(display.inputs);
    for (QWidget* label : { Label39, Label41, Label40 })
        label->setVisible(display.notWorkingLabels);
    for (QWidget* label : { NxL_JFL, NxL_JFL915 })
        label->setVisible(display.jflLabels);
}

void TDual::EvtNmonitEndEditing()
{
    for (int row = 0; row < 2; ++row) {
        bool number = false;
        const int event = CellText(EvtNmonit, row, EventColumn).toInt(&number);
        const int clamped = partitions::ClampInputEvent(event);
        if (number && clamped != event)
            SetCellText(EvtNmonit, row, EventColumn, QString::number(clamped));
    }
}

void TDual::DecodeClientCodes(const QByteArray& frame)
{
    const std::optional<partitions::ClientCodeReply> reply = partitions::DecodeClientCodes(frame);
    if (!reply) {
        AddLogLine(comm::IncompleteReplyText(frame.size()));
        LogTail();
        return;
    }
    for (int row = 0; row < reply->codes.size(); ++row)
        SetCellText(part_cliente, row, CodeColumn, reply->codes[row]);
    ReceivedCommType = reply->typeCode;
    Tipo_Comunic->setEnabled(reply->extended);
    {
        const QSignalBlocker quiet(Tipo_Comunic);
        Tipo_Comunic->setCurrentIndex(reply->typeItem);
    }
    Tipo_ComunicChange(); // also when the item stays the same
    TickEventsPartition(reply->eventsPartition);
    switch (reply->inputs) {
    case partitions::ClientCodeReply::Inputs::Unchanged: break;
    case partitions::ClientCodeReply::Inputs::Defaults:
        EvtNmonit->setEnabled(false);
        ShowInput(0, partitions::Pin1Default);
        ShowInput(1, partitions::Pin2Default);
        break;
    case partitions::ClientCodeReply::Inputs::FromReply:
        EvtNmonit->setEnabled(true);
        ShowInput(0, reply->pin1);
        ShowInput(1, reply->pin2);
        break;
    }
    if (WizardStep == radio::step::Finished)
        ShowWizardStep(radio::step::Finished);
    LogTail();
}

bool TDual::IsCodeEditor(const QObject* object) const
{
    return object && object->parent() == part_cliente->viewport()
        && qobject_cast<const QLineEdit*>(object);
}

QLineEdit* TDual::CodeEditor(int row) const
{
    return qobject_cast<QLineEdit*>(
        part_cliente->indexWidget(part_cliente->model()->index(row, CodeColumn)));
}

// Opens the code cell's editor on the character just typed, ready for the next ones.
void TDual::StartCodeEdit(int row)
{
    part_cliente->setCurrentCell(row, CodeColumn);
    part_cliente->editItem(Cell(part_cliente, row, CodeColumn));
    if (QLineEdit* editor = CodeEditor(row)) {
        editor->deselect();
        editor->end(false);
    }
}

void TDual::TickEventsPartition(int row)
{
    const QSignalBlocker quiet(part_cliente); // not a change made by the user
    for (int r = 0; r < part_cliente->rowCount(); ++r)
        Cell(part_cliente, r, RadioEventsColumn)
            ->setCheckState(r == row ? Qt::Checked : Qt::Unchecked);
}

void TDual::ShowInput(int row, const partitions::InputSetting& input)
{
    SetCellText(EvtNmonit, row, EventColumn, QString::number(input.event));
    Cell(EvtNmonit, row, InvertColumn)->setCheckState(input.invert ? Qt::Checked : Qt::Unchecked);
}

partitions::InputSetting TDual::TypedInput(int row) const
{
    const QTableWidgetItem* invert = EvtNmonit->item(row, InvertColumn);
    return { StrToInt(CellText(EvtNmonit, row, EventColumn)),
        invert && invert->checkState() == Qt::Checked };
}
