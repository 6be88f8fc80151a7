// Partitions: client codes, radio-event partition, communication type, not-monitored inputs.
#include "TDual.h"

#include "cells.h"
#include "link/frame.h"
#include "texts.h"

void TDual::BlePartClick()
{
    SendCommand(SelectedRadioId(), comm::code::ClientCodes, 2, 0, 0);
    UserText->setText(QString());
    for (int row = 0; row < part_cliente->rowCount(); ++row)
        SetCellText(part_cliente, row, 1, QString());
    Status->showMessage(AwaitingReplyText);
}
void TDual::BgravaPartClick() { }
bool TDual::part_clienteKeyPress(QChar) { return false; }
void TDual::Evt_RadChange(int) { }
void TDual::Tipo_ComunicChange() { }
void TDual::EvtNmonitEndEditing() { }
void TDual::DecodeClientCodes(const QByteArray&) { }
