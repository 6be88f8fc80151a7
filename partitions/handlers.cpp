// Partitions: client codes, radio-event partition, communication type, not-monitored inputs.
#include "TDual.h"

void TDual::BlePartClick() { }
void TDual::BgravaPartClick() { }
bool TDual::part_clienteKeyPress(QChar) { return false; }
void TDual::Evt_RadChange(int) { }
void TDual::Tipo_ComunicChange() { }
void TDual::EvtNmonitEndEditing() { }
void TDual::DecodeClientCodes(const QByteArray&) { }
