#pragma once

#include "radiosim/faults.h"
#include "radiosim/radiomodel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>

class QSocketNotifier;

namespace radiosim {

// Quiet time after which a partial frame is dropped.
constexpr std::chrono::milliseconds LineIdleTime { 20 };
// One character at 9600 baud, 8N1 (10 bits).
constexpr std::chrono::nanoseconds CharacterTime { 1041667 };

// Serves a model on the master side of a pseudo-terminal, inside a Qt event loop.
class PtyRadio : public QObject {
    Q_OBJECT
public:
    explicit PtyRadio(RadioModel& model, QObject* parent = nullptr);
    ~PtyRadio() override;

    bool Open(QString* error); // openpty, raw mode; slave path available after
    QString SlavePath() const;
    bool IsOpen() const { return master_ >= 0; }
    void Send(const QByteArray& bytes); // raw bytes to the tool (e.g. a receiver message)
    void PullCable(); // close the master side now (the tool sees the port vanish)

    FaultOptions faults; // transport faults

signals:
    void frameReceived(const QByteArray& frame);
    void byteReceived(quint8 byte); // the echo or acknowledgement byte between frames
    void replySent(const QByteArray& reply);
    void noteLogged(const QString& text);
    void cablePulled();

private:
    void OnReadable();
    void OnWritable();
    void Dispatch(const LineEvent& event, qint64 receivedAt);
    void RunDue();
    void ArmTimer();
    void Schedule(qint64 dueNs, std::function<void()> action);
    void Transmit(const QByteArray& bytes);
    void WriteOut(const QByteArray& bytes);
    void Close();
    qint64 Now() const { return clock_.nsecsElapsed(); }

    RadioModel& model_;
    int master_ = -1;
    int slave_ = -1; // kept open so the line survives the tool closing and reopening the port
    QString slavePath_;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QByteArray outgoing_; // written when the pseudo-terminal takes more
    QTimer idleTimer_;
    int dueTimerFd_ = -1; // timerfd: line events are timed to the microsecond, not the ms
    QSocketNotifier* dueNotifier_ = nullptr;
    QElapsedTimer clock_;
    std::multimap<qint64, std::function<void()>> due_; // by time, in order of scheduling
    qint64 rxLineFreeNs_ = 0; // when the last received byte has fully arrived (pacing)
    qint64 txLineFreeNs_ = 0; // when the line is free for the next reply byte (pacing)
    int dataRecords_ = 0;
    FaultInjector injector_;
    std::function<void(const QString&)> previousNote_;
};

} // namespace radiosim
