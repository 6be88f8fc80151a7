#pragma once
// The noise reply (code 216): three levels in dB below 1 mW, drawn as bars with a verdict.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace readings {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb& a, const Rgb& b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

// Verdict colours: a quiet channel, a fair one, a noisy one.
constexpr Rgb QuietColour { 0, 128, 0 };
constexpr Rgb FairColour { 0, 0, 255 };
constexpr Rgb NoisyColour { 255, 0, 0 };

// Levels are drawn within -40 dBm (full bar) to -140 dBm (empty bar).
constexpr int LoudestLevel = 40;
constexpr int QuietestLevel = 140;

// One level as a bar shows it.
struct NoiseBar {
    quint8 level = 0; // as received: the level in dBm is its negative
    int position = 0; // 0..100
    Rgb colour;
    QString caption; // "-95 dBm"
};

NoiseBar NoiseBarFor(quint8 level);

// Frame bytes 3, 4 and 5: the levels logged as Min, Med and Max.
struct NoiseReading {
    int radioId = 0;
    NoiseBar min; // byte 3
    NoiseBar med; // byte 4
    NoiseBar max; // byte 5
    QString logText; // appended to the terminal log as it is
};

// Shortest noise reply that holds the three levels.
constexpr int NoiseReplyMinLength = 6;

// Nothing for a frame too short to hold the levels. timeText is the time of the reply.
std::optional<NoiseReading> DecodeNoise(const QByteArray& frame, const QString& timeText);

} // namespace readings
