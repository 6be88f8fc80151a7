// Reaction time of the receive path and idle CPU use, over a pseudo-terminal.
//   bench_receive [samples] [idle seconds]
// Prints the time from the last byte of a reply to its dispatch (median, min, max of the
// samples; the line must be quiet 40 ms before a reply counts as complete) and the tool's CPU
// use while the port is open and nothing arrives.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStatusBar>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "../tests/common/ptyline.h"
#include "../tests/common/tdualprobe.h"
#include "benchclock.h"

namespace {

void Idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", "/tmp/qx284-bench-config");
    QApplication app(argc, argv);
    const int samples = argc > 1 ? atoi(argv[1]) : 50;
    const int idleSeconds = argc > 2 ? atoi(argv[2]) : 10;

    TDual d;
    PtyLine line;
    TDualProbe::PortSettings(d).port = line.Path();
    TDualProbe::Button(d, "Terminal")->click();
    line.ReadAtLeast(8);
    Idle(200);

    // The awaited-reply stage empties the status bar: that is the moment of dispatch.
    QElapsedTimer clock;
    clock.start();
    qint64 dispatchedAt = -1;
    auto* status = d.findChild<QStatusBar*>("Status");
    QObject::connect(status, &QStatusBar::messageChanged, [&](const QString& text) {
        if (text.isEmpty())
            dispatchedAt = clock.nsecsElapsed();
    });
    const QByteArray reply
        = QByteArray::fromHex("0000e2000000009a4e0e00060b0100000000060000003c000000000000");

    QList<double> delays;
    for (int i = 0; i < samples; ++i) {
        TDualProbe::RequestLocalRead(d);
        Idle(60);
        line.ReadNow();
        dispatchedAt = -1;
        line.Write(reply);
        const qint64 lastByteAt = clock.nsecsElapsed();
        QElapsedTimer wait;
        wait.start();
        while (dispatchedAt < 0 && wait.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (dispatchedAt >= 0)
            delays << double(dispatchedAt - lastByteAt) / 1e6;
        Idle(30);
    }
    std::sort(delays.begin(), delays.end());
    if (delays.isEmpty()) {
        std::printf("no reply was dispatched\n");
        return 1;
    }
    std::printf("reply dispatch after its last byte: median %.2f ms, min %.2f ms, max %.2f ms "
                "(%lld samples; target 40 ms + at most 2 ms)\n",
        delays[delays.size() / 2], delays.first(), delays.last(), qlonglong(delays.size()));

    const double cpuBefore = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    Idle(idleSeconds * 1000);
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("idle with the port open: %.3f %% of one core over %d s (target under 0.5 %%)\n",
        100.0 * cpu / (double(wall.elapsed()) / 1000.0), idleSeconds);
    return 0;
}
