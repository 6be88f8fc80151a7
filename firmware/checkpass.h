#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

#include "firmware/logsink.h"

namespace firmware {

// The check pass over a firmware file: lists its address sections and the flash sum in the
// log and counts its bytes into total (FirmwareTotal). It reads the file once, record by
// record, up to the first end record of type 0x01, and runs afterGoodRecord after every
// record whose checksum byte is right. True when the file is fit to be sent.
bool CheckFirmwareFile(const QString& path, LogSink& log, quint32& total,
    const std::function<void()>& afterGoodRecord);
// The same on a file already open for reading.
bool CheckFirmware(
    QIODevice& file, LogSink& log, quint32& total, const std::function<void()>& afterGoodRecord);

} // namespace firmware
