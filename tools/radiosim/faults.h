#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QtGlobal>

#include <optional>

namespace radiosim {

// Faults of the line and of a tired radio, to exercise the tool's time-outs and retries.
struct FaultOptions {
    int dropEvery = 0; // drop every Nth reply frame (0: never)
    double dropShare = 0.0; // share of reply frames dropped at random, 0..1
    quint32 seed = 1; // for dropShare
    int wrongAddressEvery = 0; // every Nth data acknowledgement (235) carries another address
    int errorStatus = -1; // status that errorEvery puts into data acknowledgements
    int errorEvery = 0; // every Nth data acknowledgement gets errorStatus (0: all, when set)
    int delayMs = 0; // before each reply
    bool pace = false; // real line rate, 9600 8N1
    int processingMs = 0; // extra time the radio takes per data record
    int closeAfter = 0; // pull the cable after this many data records (0: never)
};

// Decides, reply by reply, which replies are lost or altered.
class FaultInjector {
public:
    // The reply as it goes out, or nothing when it is lost. Single bytes pass untouched.
    std::optional<QByteArray> Apply(const QByteArray& reply, const FaultOptions& options);

private:
    qint64 replies_ = 0;
    qint64 acknowledgements_ = 0;
    std::optional<QRandomGenerator> random_;
};

} // namespace radiosim
