// Firmware upgrade figures.
//   bench_firmware [transfer] [check] [memory]     (all three when none is named)
// transfer: a 4 KiB file in 16-byte records through the window to the simulator (its own
//   process, pacing the line at 9600 baud, 5 ms per record): the time against the protocol
//   floor (every exchange's frame, processing, reply and the 40 ms receive gap), and the
//   tool's CPU time against its wall time.
// check: the check pass through the window on 4 MiB of data against srec_cat reading the
//   same file.
// memory: peak memory of the check pass and of the transfer engine for 64 KiB and 16 MiB
//   of data, each in a fresh process; and what the terminal log adds per record.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "../tests/common/tdualprobe.h"
#include "benchclock.h"
#include "firmware/loaderreply.h"
#include "firmware/transfer.h"
#include "link/frame.h"

namespace {

constexpr double CharacterMs = 10.0 / 9.6; // one byte at 9600 baud, 8N1
constexpr double ReceiveGapMs = 40.0;
constexpr double ProcessingMs = 5.0;

void RunFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

QByteArray HexRecord(quint16 address, quint8 type, const QByteArray& data)
{
    QByteArray bytes(4, '\0');
    bytes[0] = char(data.size());
    bytes[1] = char(address >> 8);
    bytes[2] = char(address);
    bytes[3] = char(type);
    bytes += data;
    quint8 sum = 0;
    for (const char b : bytes)
        sum += quint8(b);
    bytes += char(-sum);
    return ':' + bytes.toHex().toUpper() + '\n';
}

// Random data from address 0 in Intel HEX records (extended linear address records every
// 64 KiB), optionally after a header record for the simulator's radio.
bool WriteFirmware(
    const QString& path, qint64 bytes, int recordSize, bool header, QByteArray* written = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(284);
    if (header)
        file.write(":0000001F0E01D2\n");
    QByteArray chunk;
    for (qint64 at = 0; at < bytes; at += recordSize) {
        if (at % 65536 == 0) {
            QByteArray upper(2, '\0');
            upper[0] = char(at >> 24);
            upper[1] = char(at >> 16);
            chunk += HexRecord(0, 0x04, upper);
        }
        QByteArray data(int(std::min<qint64>(recordSize, bytes - at)), '\0');
        for (char& b : data)
            b = char(random.bounded(256));
        if (written)
            *written += data;
        chunk += HexRecord(quint16(at), 0x00, data);
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    chunk += ":00000001FF\n";
    return file.write(chunk) == chunk.size();
}

// ---- transfer -----------------------------------------------------------------------

QStringList TraceLines(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readAll()).split('\n');
}

// Request and reply sizes of every exchange, from the simulator's trace ("RX hex", "TX hex").
double ProtocolFloorMs(const QStringList& trace, int* exchanges)
{
    double floor = 0;
    *exchanges = 0;
    qsizetype request = -1;
    for (const QString& line : trace) {
        if (line.startsWith("RX ") && line.size() > 12) {
            request = (line.size() - 3) / 2;
        } else if (line.startsWith("TX ") && request > 0) {
            const qsizetype reply = (line.size() - 3) / 2;
            const bool data = line.mid(7, 2) == QLatin1String("eb");
            floor
                += double(request + reply) * CharacterMs + (data ? ProcessingMs : 0) + ReceiveGapMs;
            ++*exchanges;
            request = -1;
        }
    }
    return floor;
}

int Transfer(const QString& folder)
{
    const QString sim = QCoreApplication::applicationDirPath() + "/radiosim";
    const QString firmware = folder + "/T4K.RAD";
    const QString image = folder + "/t4k-flash.bin";
    const QString trace = folder + "/t4k-trace.txt";
    QByteArray data;
    if (!WriteFirmware(firmware, 4096, 16, true, &data)) {
        std::printf("transfer: cannot write %s\n", qPrintable(firmware));
        return 1;
    }
    // Detached, so that watching the child costs the tool's event loop nothing.
    QProcess radio;
    radio.setProgram(sim);
    radio.setArguments({ "--pace", "--processing-ms", "5", "--flash-out", image });
    radio.setStandardOutputFile(trace);
    qint64 radioPid = 0;
    if (!radio.startDetached(&radioPid)) {
        std::printf("transfer: cannot start %s\n", qPrintable(sim));
        return 1;
    }
    QString path;
    for (int i = 0; i < 200 && path.isEmpty(); ++i) {
        QThread::msleep(10);
        QFile t(trace);
        const QByteArray first = t.open(QIODevice::ReadOnly) ? t.readLine() : QByteArray();
        if (first.endsWith('\n'))
            path = QString::fromLocal8Bit(first).trimmed();
    }

    TDual d;
    auto errors = TDualProbe::CatchErrors(d);
    TDualProbe::PortSettings(d).port = path;
    TDualProbe::Button(d, "Terminal")->click();
    RunFor(300);
    TDualProbe::SelectRadio(d, 1);
    TDualProbe::AnswerFirmwareDialog(d, firmware);
    TDualProbe::Button(d, "OpenFile")->click();
    RunFor(100);
    // The line, the machine and its other users vary: the same load, a few times over.
    constexpr int Runs = 3;
    std::printf("transfer of 4 KiB in 16-byte records at 9600 baud, 5 ms per record "
                "(%d runs; targets: ratio <= 1.02, CPU <= 1 %%):\n",
        Runs);
    bool ok = true;
    double bestRatio = 1e9, bestCpu = 1e9;
    for (int run = 0; run < Runs; ++run) {
        const qsizetype traceBefore = TraceLines(trace).size();
        const double cpuBefore = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        TDualProbe::Button(d, "programa")->click();
        const double wallMs = double(wall.nsecsElapsed()) / 1e6;
        const double cpu = CpuSeconds() - cpuBefore;
        RunFor(300); // the simulator writes its flash image after the end of load
        int exchanges = 0;
        const double floorMs = ProtocolFloorMs(TraceLines(trace).mid(traceBefore), &exchanges);
        QFile img(image);
        img.open(QIODevice::ReadOnly);
        const bool loaded = TDualProbe::Log(d).endsWith("Firmware carregado com sucesso")
            && img.readAll() == data;
        ok = ok && loaded && errors->isEmpty();
        const double ratio = wallMs / floorMs;
        const double share = 100.0 * cpu / (wallMs / 1000);
        bestRatio = std::min(bestRatio, ratio);
        bestCpu = std::min(bestCpu, share);
        std::printf("  %s, %d exchanges: time %.3f s, protocol floor %.3f s, ratio %.4f; "
                    "tool CPU %.3f s, %.3f %%\n",
            loaded ? "loaded, flash image right" : "FAILED", exchanges, wallMs / 1000,
            floorMs / 1000, ratio, cpu, share);
    }
    std::printf("  best: ratio %.4f, CPU %.3f %%\n", bestRatio, bestCpu);
    ::kill(pid_t(radioPid), SIGTERM);
    return ok ? 0 : 1;
}

// ---- check pass ---------------------------------------------------------------------

int Check(const QString& folder)
{
    const QString srec = QStandardPaths::findExecutable("srec_cat");
    const QString firmware = folder + "/C4M.RAD";
    if (!WriteFirmware(firmware, 4 << 20, 16, false)) {
        std::printf("check: cannot write %s\n", qPrintable(firmware));
        return 1;
    }
    TDual d;
    TDualProbe::W(d, "PG")->setEnabled(true); // as after CONECTAR
    TDualProbe::AnswerFirmwareDialog(d, firmware);
    double best = 1e9, bestSrec = 1e9;
    bool ok = true;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer clock;
        clock.start();
        TDualProbe::Button(d, "OpenFile")->click();
        best = std::min(best, double(clock.nsecsElapsed()) / 1e9);
        ok = ok && TDualProbe::Log(d).endsWith("Arquivo Pronto para ser enviado");
        if (srec.isEmpty())
            continue;
        QProcess process;
        clock.restart();
        process.start(srec, { firmware, "-intel", "-o", "/dev/null", "-binary" });
        process.waitForFinished(60000);
        bestSrec = std::min(bestSrec, double(clock.nsecsElapsed()) / 1e9);
        ok = ok && process.exitCode() == 0;
    }
    std::printf("check pass on 4 MiB of data (%.1f MB file, 16-byte records): %.3f s%s\n",
        double(QFileInfo(firmware).size()) / 1e6, best, ok ? "" : " FAILED");
    if (srec.isEmpty())
        std::printf("  srec_cat not installed (Debian package srecord): no comparison\n");
    else
        std::printf("  srec_cat FILE -intel -o /dev/null -binary: %.3f s: ratio %.3f "
                    "(target <= 1)\n",
            bestSrec, best / bestSrec);
    return ok ? 0 : 1;
}

// ---- memory ---------------------------------------------------------------------------

// A loader that answers every command at once; the log goes nowhere, or to the window.
class InstantLoader : public firmware::TransferHost, public firmware::HeldTransferValues {
public:
    explicit InstantLoader(TDual* window)
        : window_(window)
    {
        ackTimeout = 1000;
    }
    QString position;
    qint64 frames = 0;

    void AddLogLine(const QString& text) override
    {
        if (window_)
            window_->AddLogLine(text);
    }
    void AppendLog(const QString& text) override
    {
        if (window_)
            window_->AppendLog(text);
    }
    void LogTail() override { }
    void SendCommand(int radioId, quint8 code, quint8 a1, quint8 a2, quint8 a3) override
    {
        SendFrame(radioId, comm::CommandBody(code, a1, a2, a3));
    }
    int SendFrame(int radioId, const QByteArray& body) override
    {
        const QByteArray frame = *comm::BuildFrame(radioId, body);
        ++frames;
        reply_ = frame.left(5);
        if (comm::FrameCode(frame) == 235)
            reply_ = frame.left(2) + QByteArray::fromHex("eb0000") + frame.mid(6, 2);
        if (comm::FrameCode(frame) == 234)
            reply_[4] = 0;
        return int(frame.size());
    }
    void WaitLoaderReply(int) override
    {
        loaderState = firmware::DecodeLoaderReply(reply_, expectedAddress).state;
    }
    bool LinkLost() override { return false; }
    void SetProgress(int) override { }
    QString ResumePosition() override { return position; }
    void SetResumePosition(const QString& text) override { position = text; }
    qint64 ElapsedMs() override { return 0; }

private:
    TDual* window_;
    QByteArray reply_;
};

// In a fresh process: what one run costs at its peak.
int MemoryChild(const QString& kind, const QString& firmware)
{
    TDual d;
    TDualProbe::W(d, "PG")->setEnabled(true);
    RunFor(50);
    bool ok = false;
    if (kind == "check") {
        TDualProbe::AnswerFirmwareDialog(d, firmware);
        TDualProbe::Button(d, "OpenFile")->click();
        ok = TDualProbe::Log(d).endsWith("Arquivo Pronto para ser enviado");
    } else {
        InstantLoader loader(kind == "window-log" ? &d : nullptr);
        ok = firmware::TransferFirmware(firmware, false, 1, loader.Values(), loader);
    }
    std::printf("%ld %d\n", PeakKiB(), ok ? 1 : 0);
    return 0;
}

long MemoryOf(const QString& kind, const QString& firmware)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), { "memory-child", kind, firmware });
    child.waitForFinished(-1);
    const QList<QByteArray> out = child.readAllStandardOutput().trimmed().split(' ');
    return out.size() == 2 && out[1] == "1" ? out[0].toLong() : -1;
}

int Memory(const QString& folder)
{
    const QString small = folder + "/M64K.RAD";
    const QString large = folder + "/M16M.RAD";
    const QString medium = folder + "/M1M.RAD";
    if (!WriteFirmware(small, 64 << 10, 16, false) || !WriteFirmware(large, 16 << 20, 16, false)
        || !WriteFirmware(medium, 1 << 20, 16, false)) {
        std::printf("memory: cannot write the files\n");
        return 1;
    }
    const long checkSmall = MemoryOf("check", small), checkLarge = MemoryOf("check", large);
    const long sendSmall = MemoryOf("transfer", small), sendLarge = MemoryOf("transfer", large);
    std::printf("peak memory (KiB), 64 KiB / 16 MiB of data (%.0f MB file):\n",
        double(QFileInfo(large).size()) / 1e6);
    std::printf("  check pass through the window: %ld / %ld: +%ld KiB (target within 2048)\n",
        checkSmall, checkLarge, checkLarge - checkSmall);
    std::printf("  transfer engine (instant loader, log discarded): %ld / %ld: +%ld KiB "
                "(target within 2048)\n",
        sendSmall, sendLarge, sendLarge - sendSmall);
    const long logSmall = MemoryOf("window-log", small), logMedium = MemoryOf("window-log", medium);
    std::printf("  transfer with its log lines in the window, 64 KiB / 1 MiB: %ld / %ld: "
                "+%ld KiB, about %.0f bytes a record\n",
        logSmall, logMedium, logMedium - logSmall,
        double(logMedium - logSmall) * 1024.0 / double(((1 << 20) - (64 << 10)) / 16));
    const bool ok = checkSmall > 0 && checkLarge > 0 && sendSmall > 0 && sendLarge > 0;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", "/tmp/qx284-bench-config");
    QApplication app(argc, argv);
    QStringList modes = app.arguments().mid(1);
    if (modes.value(0) == "memory-child")
        return MemoryChild(modes.value(1), modes.value(2));
    if (modes.isEmpty())
        modes = QStringList { "transfer", "check", "memory" };
    QTemporaryDir folder;
    int failures = 0;
    for (const QString& mode : modes) {
        if (mode == "transfer")
            failures += Transfer(folder.path());
        else if (mode == "check")
            failures += Check(folder.path());
        else if (mode == "memory")
            failures += Memory(folder.path());
        else
            std::printf("unknown figure \"%s\"\n", qPrintable(mode));
    }
    return failures == 0 ? 0 : 1;
}
