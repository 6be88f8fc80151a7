// Field readings: bypass relay and PGM output, noise levels, diagnostics.
#include "TDual.h"

void TDual::PulsaReleExit() { }
void TDual::BitBtn1Click() { }
void TDual::BitBtn2Click() { }
void TDual::BitBtn3Click() { }
void TDual::BRuidoClick() { }
void TDual::DecodeNoiseReply(const QByteArray&) { }
void TDual::BleDiagClick() { }
void TDual::DecodeDiagnostics(const QByteArray&) { }
