#include "firmware/checkpass.h"

#include <QFile>

#include "firmware/records.h"

namespace firmware {

namespace {

// Last address of a section: the next address less one, in the 16-bit address space.
QString SectionEnd(qint64 nextAddress)
{
    return QString::asprintf("[%04X]", unsigned(quint16(nextAddress - 1)));
}

QString SectionStart(int section, quint16 address)
{
    return QString::asprintf("Section %d :  [%04X]-", section, unsigned(address));
}

} // namespace

bool CheckFirmwareFile(
    const QString& path, LogSink& log, quint32& total, const std::function<void()>& afterGoodRecord)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        log.AddLogLine(FileNotFoundText(path));
        return false;
    }
    return CheckFirmware(file, log, total, afterGoodRecord);
}

bool CheckFirmware(
    QIODevice& file, LogSink& log, quint32& total, const std::function<void()>& afterGoodRecord)
{
    total = 1;
    quint32 flashSum = 0;
    int section = 0;
    qint64 nextAddress = 1;
    RecordReader reader(file);
    Record record;
    for (;;) {
        switch (reader.Next(Layout::CheckPass, record)) {
        case ReadResult::Record: break;
        case ReadResult::NoRecord:
        case ReadResult::CutOff: log.AddLogLine(NoColonText); return false;
        case ReadResult::Malformed: log.AddLogLine(InvalidRecordText(record.offset)); return false;
        }
        total += record.length;
        if (record.type == type::CrcLine)
            log.AddLogLine(QStringLiteral("Linha de CRC"));
        if (record.type == type::End) {
            log.AppendLog(SectionEnd(nextAddress));
            break;
        }
        if (section == 0 || record.address != nextAddress) {
            if (section > 0)
                log.AppendLog(SectionEnd(nextAddress));
            log.AddLogLine(QString());
            log.AppendLog(SectionStart(section, record.address));
            ++section;
        }
        nextAddress = qint64(record.address) + record.length;
        for (int i = 0; i < record.length; ++i) {
            if (record.data[size_t(i)] != 0xFF)
                flashSum += record.data[size_t(i)];
        }
        if (record.ChecksumRight() && afterGoodRecord)
            afterGoodRecord();
    }
    log.AddLogLine(QString::asprintf("Checksum Flash: %04X ", unsigned(flashSum & 0xFFFF)));
    return true;
}

} // namespace firmware
