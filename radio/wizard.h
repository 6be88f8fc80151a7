#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace radio {

// Steps of the configuration wizard.
namespace step {
constexpr qint8 Idle = 0;
constexpr qint8 RadioId = 1;
constexpr qint8 Channel = 2;
constexpr qint8 Password = 3;
constexpr qint8 Partitions = 4;
constexpr qint8 Finished = 5;
} // namespace step

// The channel command always goes to this radio ID, whatever the ID box holds.
constexpr int ChannelCommandRadioId = 1;
constexpr int ChannelCount = 80;

// What the display of one step sets on the first tab.
struct WizardDisplay {
    bool idGroup = false; // GroupBox1
    bool channelGroup = false; // GroupBox2
    bool passwordGroup = false; // GroupBox5
    bool partitionGroup = false; // GroupBox10
    bool startLabel = false; // Label2
    bool localReadEnabled = false; // BLeLocal
    bool backEnabled = false; // NxButton2
    bool finishedLabel = false; // Label3
    bool guideShown = false; // Label7
    int guideTop = 0;
    int guideLeft = 0;
    QString guideText;
};

// The display of a step; nothing for a value that is no step (it changes no control).
std::optional<WizardDisplay> DisplayFor(int step);

// Body of the configure command (202): the serial number of the radio read, the
// low-voltage suspend flag.
QByteArray ConfigureBody(const std::array<quint8, 4>& serial, bool lowVoltageSuspend);
// Step that CONFIGURA leads to: the channel, or the password for fixed-channel hardware.
qint8 StepAfterConfigure(int model);

// Body of the channel command (217) for an item index of the channel box; nothing when no
// channel is selected.
std::optional<QByteArray> ChannelBody(int channelIndex);

// VOLTA: one step back; the value never wraps.
qint8 StepBack(qint8 step);

// Error text for a number typed in the ID box that is no radio ID.
QString InvalidTypedIdText(const QString& text);

} // namespace radio
