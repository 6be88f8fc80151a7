#pragma once

#include <QString>

namespace comm {

enum class StopBits { One, OneAndHalf, Two };
enum class Parity { None, Odd, Even, Mark, Space };

// Flow control as the port applies it. The settings file names four words; "Custom" (or
// an unknown word) keeps whatever the lines were.
struct FlowControl {
    bool rtsHandshake = false; // RTS handshake with CTS output flow control
    bool xonXoff = false; // XON/XOFF (characters 17 and 19) both ways
};

// The serial-link settings that the settings file keeps.
struct PortSettings {
    QString port = QStringLiteral("COM1");
    QString baudRate = QStringLiteral("9600"); // one of the accepted words
    int customBaudRate = 0;
    StopBits stopBits = StopBits::One;
    int dataBits = 8;
    Parity parity = Parity::None;
    FlowControl flow;
};

// Section of the settings file, named after the serial component.
inline const char* const SettingsSection = "ComPort1";
constexpr int LinkBaudRate = 9600;

// Word for a value, and value for a word (case-insensitive; an unknown word gives the
// fallback of the table: 9600, 1, 8, None).
QString BaudRateWord(const QString& word);
QString StopBitsWord(StopBits value);
StopBits StopBitsFromWord(const QString& word);
QString DataBitsWord(int bits);
int DataBitsFromWord(const QString& word);
QString ParityWord(Parity value);
Parity ParityFromWord(const QString& word);
QString FlowControlWord(const FlowControl& flow);
// Applies a flow-control word; "Custom" and unknown words leave flow unchanged.
void ApplyFlowControlWord(const QString& word, FlowControl& flow);

// Reads the keys present in the file into settings; a missing file or key leaves the
// setting as it was. Unreadable files are treated as missing.
void LoadSettings(const QString& file, PortSettings& settings);
// Writes the basic group of keys. False when the file could not be written.
bool StoreSettings(const QString& file, const PortSettings& settings);

// $XDG_CONFIG_HOME/qx284/ONDAVIA.ini (by default ~/.config/qx284/ONDAVIA.ini).
QString DefaultSettingsFile();

} // namespace comm
