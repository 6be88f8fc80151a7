#pragma once

#include "radiosim/faults.h"
#include "radiosim/radiomodel.h"

#include <QString>
#include <QStringList>

namespace radiosim {

// What the command line asks of the simulator.
struct SimConfig {
    RadioState state;
    FaultOptions faults;
    bool help = false;
};

// arguments[0] is the program name. On a bad argument: false, and a message in error.
bool ParseArguments(const QStringList& arguments, SimConfig* config, QString* error);
QString HelpText();

// A client code given on the command line: up to 4 bytes, "\xNN" for any byte, "\\" for a
// backslash; padded with zero bytes to 4.
bool ParseClientCode(const QString& text, QByteArray* code, QString* error);

} // namespace radiosim
