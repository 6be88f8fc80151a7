#pragma once

#include <QString>

#include <stdexcept>

// An error raised by a platform operation (the port, a text that is not a number). It ends
// the running handler and is shown in the error box; the program goes on.
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
    QString Message() const { return QString::fromStdString(what()); }
};

// Integer value of a text, as the edits need it; a text that is not a whole number raises
// PlatformError.
int StrToInt(const QString& text);

// Caption of error boxes and the application's title.
inline const char* const AppTitle = "QX284 Configuration";
