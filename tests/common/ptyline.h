#pragma once
// The radio's end of a pseudo-terminal: what a test reads here is exactly what a radio on
// the cable would receive from the tool.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

class PtyLine {
public:
    PtyLine()
    {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0)
            return;
        termios raw {};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        // Keep the slave open so the line stays up until the tool has opened it.
        slave_ = slave;
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        path_ = QString::fromLocal8Bit(name);
    }
    ~PtyLine()
    {
        if (slave_ >= 0)
            ::close(slave_);
        Close();
    }
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    bool IsOpen() const { return master_ >= 0; }
    QString Path() const { return path_; }

    void Write(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n
                = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                QThread::msleep(1);
        }
    }

    // Everything the tool writes within the time given, while the tool's events run.
    QByteArray ReadFor(int milliseconds)
    {
        QByteArray got;
        QDeadlineTimer deadline(milliseconds);
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            got += ReadNow();
            QThread::usleep(500);
        } while (!deadline.hasExpired());
        return got + ReadNow();
    }

    // Reads until at least n bytes came or the time is up.
    QByteArray ReadAtLeast(qsizetype n, int milliseconds = 2000)
    {
        QByteArray got;
        QDeadlineTimer deadline(milliseconds);
        while (got.size() < n && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            got += ReadNow();
            QThread::usleep(500);
        }
        return got;
    }

    QByteArray ReadNow()
    {
        QByteArray got;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got.append(buffer, n);
        }
        return got;
    }

    // The cable pulled: the tool's side sees the line vanish.
    void Close()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// Lets the tool's events run for a while (timers, bytes arriving).
inline void RunEvents(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    } while (!deadline.hasExpired());
}
