#pragma once

#include <QString>

namespace firmware {

// The terminal log as the firmware routines write it.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void AddLogLine(const QString& text) = 0; // a new last line
    virtual void AppendLog(const QString& text) = 0; // text at the end, no line break
    virtual void LogTail() = 0; // terminal font, caret at the end, scrolled into view
};

} // namespace firmware
