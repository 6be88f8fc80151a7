#pragma once

#include <QString>

namespace comm {

// What the system says about this process and a serial device, for the box shown when the
// port refuses to open for lack of permission.
struct DeviceAccess {
    QString path; // the device, such as /dev/ttyUSB0
    bool denied = false; // the system refuses this process read and write access (EACCES)
    bool found = false; // the device could be examined (stat)
    QString owner; // user owning the device, empty when unknown
    QString group; // group owning the device, such as "dialout"; empty when unknown
    bool groupIsRoot = false; // owned by the administrators' group: no one should join it
    bool groupMayOpen = false; // the group has read and write permission
    bool inGroup = false; // this process already has the group
    bool memberOnRecord = false; // the user is listed in the group (maybe since this login)
    QString user; // login name of this process, empty when unknown
};

// Device path of a port name: names without a directory live in /dev.
QString DevicePath(const QString& portName);

// Looks the device up for this process (access, stat, getgrgid, the process's groups).
DeviceAccess ExamineDevice(const QString& portName);

// Text of the error box when the port cannot be opened. componentError is the serial
// component's own message; when the system refused access, the text says so in the
// system's words (strerror) and tells how to get access.
QString OpenFailureText(const QString& portName, const QString& componentError,
    bool permissionError, const DeviceAccess& access);

// OpenFailureText for this process: examines the device when the component reported a
// permission error (which is also what it reports for a port that another program holds).
QString OpenFailureMessage(
    const QString& portName, const QString& componentError, bool permissionError);

} // namespace comm
