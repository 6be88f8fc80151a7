#include "radiosim/ptyradio.h"

#include "radiosim/wire.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <unistd.h>

namespace radiosim {

namespace {

constexpr quint8 DataCode = 235;
constexpr int ReadChunk = 4096;

QString SystemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(
        QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

qint64 Ms(int ms)
{
    return qint64(ms) * 1000000;
}

} // namespace

PtyRadio::PtyRadio(RadioModel& model, QObject* parent)
    : QObject(parent)
    , model_(model)
{
    clock_.start();
    idleTimer_.setSingleShot(true);
    idleTimer_.setInterval(LineIdleTime);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { model_.LineIdle(); });
    // Byte times at 9600 baud are about 1 ms apart: a Qt timer, rounded to whole ms, would
    // make every paced reply up to a ms late.
    dueTimerFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (dueTimerFd_ >= 0) {
        dueNotifier_ = new QSocketNotifier(dueTimerFd_, QSocketNotifier::Read, this);
        connect(dueNotifier_, &QSocketNotifier::activated, this, [this] {
            quint64 expirations = 0;
            [[maybe_unused]] ssize_t n = ::read(dueTimerFd_, &expirations, sizeof expirations);
            RunDue();
        });
    }
    previousNote_ = model_.onNote;
    model_.onNote = [this](const QString& text) {
        if (previousNote_)
            previousNote_(text);
        emit noteLogged(text);
    };
}

PtyRadio::~PtyRadio()
{
    model_.onNote = previousNote_;
    Close();
    delete dueNotifier_;
    if (dueTimerFd_ >= 0)
        ::close(dueTimerFd_);
}

bool PtyRadio::Open(QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (master_ >= 0)
        return fail(QStringLiteral("the pseudo-terminal is already open"));
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return fail(SystemError("openpty"));
    termios tio {};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    char name[128] = {};
    if (::ptsname_r(master, name, sizeof name) != 0) {
        const QString text = SystemError("ptsname");
        ::close(master);
        ::close(slave);
        return fail(text);
    }
    master_ = master;
    slave_ = slave;
    slavePath_ = QString::fromLocal8Bit(name);
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyRadio::OnReadable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyRadio::OnWritable);
    return true;
}

QString PtyRadio::SlavePath() const
{
    return slavePath_;
}

void PtyRadio::OnReadable()
{
    char buffer[ReadChunk];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        idleTimer_.start();
        const qint64 byteNs = CharacterTime.count();
        const qint64 now = Now();
        // With pacing, byte i of the piece has crossed the line (i + 1) character times after
        // the line was free; a frame counts as received when its last byte has.
        const qint64 lineFree = std::max(now, rxLineFreeNs_);
        if (faults.pace)
            rxLineFreeNs_ = lineFree + byteNs * n;
        for (const LineEvent& event : model_.Feed(QByteArray(buffer, int(n))))
            Dispatch(event, faults.pace ? lineFree + byteNs * (event.endOffset + 1) : now);
    }
    RunDue();
}

void PtyRadio::Dispatch(const LineEvent& event, qint64 receivedAt)
{
    if (!event.isFrame) {
        const quint8 byte = quint8(event.received.at(0));
        Schedule(receivedAt, [this, byte] { emit byteReceived(byte); });
    } else {
        const QByteArray frame = event.received;
        Schedule(receivedAt, [this, frame] { emit frameReceived(frame); });
        if (faults.closeAfter > 0 && FrameByte(frame, 2) == DataCode && FrameCrcOk(frame)
            && ++dataRecords_ == faults.closeAfter) {
            // The last record is stored but its answer never leaves: the cable is gone.
            Schedule(receivedAt, [this] {
                emit noteLogged(
                    QStringLiteral("cable pulled after %1 data records").arg(dataRecords_));
                PullCable();
            });
            return;
        }
    }
    for (const QByteArray& reply : event.replies) {
        const std::optional<QByteArray> out = injector_.Apply(reply, faults);
        if (!out) {
            Schedule(receivedAt, [this, reply] {
                emit noteLogged(
                    QStringLiteral("reply dropped: %1").arg(QString::fromLatin1(reply.toHex())));
            });
            continue;
        }
        qint64 dueAt = receivedAt;
        if (reply.size() > 1) {
            dueAt += Ms(faults.delayMs);
            if (FrameByte(reply, 2) == DataCode)
                dueAt += Ms(faults.processingMs);
        }
        const QByteArray bytes = *out;
        Schedule(dueAt, [this, bytes] { Transmit(bytes); });
    }
}

void PtyRadio::Send(const QByteArray& bytes)
{
    if (master_ < 0 || bytes.isEmpty())
        return;
    Transmit(bytes);
    RunDue();
}

void PtyRadio::Transmit(const QByteArray& bytes)
{
    if (master_ < 0)
        return;
    if (!faults.pace) {
        WriteOut(bytes);
        emit replySent(bytes);
        return;
    }
    const qint64 byteNs = CharacterTime.count();
    const qint64 start = std::max(Now(), txLineFreeNs_);
    txLineFreeNs_ = start + byteNs * bytes.size();
    for (int i = 0; i < bytes.size(); ++i) {
        const bool last = i == bytes.size() - 1;
        Schedule(start + byteNs * (i + 1), [this, bytes, i, last] {
            WriteOut(bytes.mid(i, 1));
            if (last)
                emit replySent(bytes);
        });
    }
}

void PtyRadio::Schedule(qint64 dueNs, std::function<void()> action)
{
    due_.emplace(dueNs, std::move(action));
    ArmTimer();
}

void PtyRadio::ArmTimer()
{
    if (dueTimerFd_ < 0)
        return;
    itimerspec when {};
    if (!due_.empty()) {
        // At least 1 ns: a zero value would disarm the timer.
        const qint64 waitNs = std::max<qint64>(1, due_.begin()->first - Now());
        when.it_value.tv_sec = time_t(waitNs / 1000000000);
        when.it_value.tv_nsec = long(waitNs % 1000000000);
    }
    ::timerfd_settime(dueTimerFd_, 0, &when, nullptr);
}

void PtyRadio::RunDue()
{
    constexpr qint64 ToleranceNs = 200000; // a timer may fire a little early
    while (!due_.empty() && due_.begin()->first <= Now() + ToleranceNs) {
        auto action = std::move(due_.begin()->second);
        due_.erase(due_.begin());
        action();
    }
    ArmTimer();
}

void PtyRadio::WriteOut(const QByteArray& bytes)
{
    if (master_ < 0)
        return;
    outgoing_.append(bytes);
    OnWritable();
}

void PtyRadio::OnWritable()
{
    while (master_ >= 0 && !outgoing_.isEmpty()) {
        const ssize_t n = ::write(master_, outgoing_.constData(), size_t(outgoing_.size()));
        if (n > 0) {
            outgoing_.remove(0, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            emit noteLogged(SystemError("write"));
            outgoing_.clear();
        }
        break;
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(!outgoing_.isEmpty());
}

void PtyRadio::PullCable()
{
    if (master_ < 0)
        return;
    Close();
    emit cablePulled();
}

void PtyRadio::Close()
{
    // Close can run inside a notifier's own signal: let Qt delete the notifiers later.
    for (QSocketNotifier* notifier : { readNotifier_, writeNotifier_ }) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    readNotifier_ = nullptr;
    writeNotifier_ = nullptr;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = -1;
    slave_ = -1;
    outgoing_.clear();
    due_.clear();
    ArmTimer();
    idleTimer_.stop();
}

} // namespace radiosim
