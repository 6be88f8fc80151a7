// Cost of the terminal log as it grows: the lines a firmware transfer writes per record
// (its Section line, the loader's " OK " and LogTail), timed per thousand records.
//   bench_log [records]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>

#include <cstdio>

#include "../tests/common/tdualprobe.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", "/tmp/qx284-bench-config");
    QApplication app(argc, argv);
    const int records = argc > 1 ? atoi(argv[1]) : 5000;
    TDual d;
    QElapsedTimer clock;
    clock.start();
    for (int record = 1; record <= records; ++record) {
        d.AddLogLine(
            QString::asprintf("Section %d : [0010] words from [%04X]", record, record * 16));
        d.AppendLog(QStringLiteral(" OK "));
        d.LogTail();
        QCoreApplication::processEvents(); // a repaint per record, as the transfer's waits give
        if (record % 1000 == 0) {
            std::printf("records %5d..%5d: %.3f ms a record\n", record - 999, record,
                double(clock.nsecsElapsed()) / 1e6 / 1000);
            clock.restart();
        }
    }
    return 0;
}
