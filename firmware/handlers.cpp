// Firmware upgrade: file check, transfer to the radio's loader, transfer controls.
#include "TDual.h"

void TDual::OpenFileClick() { }
bool TDual::CheckFirmwareFile(const QString&) { return false; }
bool TDual::TransferFirmware(bool, int) { return false; }
void TDual::WaitLoaderReply(int) { }
void TDual::Timer_ACKTimer() { }
void TDual::DecodeLoaderReply(const QByteArray&) { }
void TDual::programaClick() { }
void TDual::pauseClick() { }
void TDual::cancelClick() { }
void TDual::RunTransfer(bool) { }
void TDual::b1sClick() { }
void TDual::b15sClick() { }
void TDual::b2sClick() { }
void TDual::b3sClick() { }
void TDual::b5sClick() { }
void TDual::b7sClick() { }
