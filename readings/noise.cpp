#include "readings/noise.h"

#include "link/frame.h"

namespace readings {

NoiseBar NoiseBarFor(quint8 level)
{
    const int clamped = qBound(LoudestLevel, int(level), QuietestLevel);
    NoiseBar bar;
    bar.level = level;
    bar.position = QuietestLevel - clamped;
    bar.colour = clamped > 100 ? QuietColour : clamped > 90 ? FairColour : NoisyColour;
    bar.caption = QStringLiteral("-%1 dBm").arg(int(level));
    return bar;
}

std::optional<NoiseReading> DecodeNoise(const QByteArray& frame, const QString& timeText)
{
    if (frame.size() < NoiseReplyMinLength)
        return std::nullopt;
    const quint8 m = quint8(frame[3]);
    const quint8 d = quint8(frame[4]);
    const quint8 x = quint8(frame[5]);
    NoiseReading reading;
    reading.radioId = comm::FrameRadioId(frame);
    reading.min = NoiseBarFor(m);
    reading.med = NoiseBarFor(d);
    reading.max = NoiseBarFor(x);
    reading.logText
        = QStringLiteral("\n[%1] RUIDO RADIO [%2] Min -%3 dBm / Med -%4 dBm / Max -%5 dBm")
              .arg(timeText)
              .arg(reading.radioId)
              .arg(int(m))
              .arg(int(d))
              .arg(int(x));
    return reading;
}

} // namespace readings
