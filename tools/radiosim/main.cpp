// radiosim: one simulated radio on a pseudo-terminal, for driving the tool by hand or in tests.
#include "radiosim/options.h"
#include "radiosim/ptyradio.h"
#include "radiosim/radiomodel.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = { -1, -1 };

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void PrintLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    radiosim::SimConfig config;
    QString error;
    if (!radiosim::ParseArguments(app.arguments(), &config, &error)) {
        std::fprintf(
            stderr, "radiosim: %s\nTry radiosim --help.\n", error.toLocal8Bit().constData());
        return 2;
    }
    if (config.help) {
        std::fputs(radiosim::HelpText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    radiosim::RadioModel model;
    model.state = config.state;
    radiosim::PtyRadio radio(model);
    radio.faults = config.faults;
    if (!radio.Open(&error)) {
        std::fprintf(stderr, "radiosim: cannot open a pseudo-terminal: %s\n",
            error.toLocal8Bit().constData());
        return 1;
    }
    PrintLine(radio.SlavePath());

    QObject::connect(&radio, &radiosim::PtyRadio::frameReceived,
        [](const QByteArray& frame) { PrintLine(QStringLiteral("RX ") + Hex(frame)); });
    QObject::connect(&radio, &radiosim::PtyRadio::byteReceived,
        [](quint8 byte) { PrintLine(QStringLiteral("RX ") + Hex(QByteArray(1, char(byte)))); });
    QObject::connect(&radio, &radiosim::PtyRadio::replySent,
        [](const QByteArray& reply) { PrintLine(QStringLiteral("TX ") + Hex(reply)); });
    QObject::connect(&radio, &radiosim::PtyRadio::noteLogged,
        [](const QString& text) { PrintLine(QStringLiteral("# ") + text); });
    QObject::connect(&radio, &radiosim::PtyRadio::cablePulled, &app, [] {
        PrintLine(QStringLiteral("# line closed"));
        QCoreApplication::quit();
    });

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        struct sigaction action { };
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(
            notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    }
    ::signal(SIGPIPE, SIG_IGN);

    QByteArray input;
    auto* stdinNotifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(stdinNotifier, &QSocketNotifier::activated, &app, [&] {
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            // Standard input closed: go on serving the line until a signal.
            stdinNotifier->setEnabled(false);
            return;
        }
        input.append(buffer, int(n));
        int end;
        while ((end = input.indexOf('\n')) >= 0) {
            const QString command = QString::fromLocal8Bit(input.left(end)).trimmed();
            input.remove(0, end + 1);
            if (command == QLatin1String("msg"))
                radio.Send(radiosim::RadioModel::ReceiverMessage());
            else if (command == QLatin1String("pull"))
                radio.PullCable();
            else if (command == QLatin1String("quit"))
                QCoreApplication::quit();
            else if (!command.isEmpty())
                PrintLine(
                    QStringLiteral("# unknown command \"%1\" (msg, pull, quit)").arg(command));
        }
    });

    const int result = app.exec();
    if (!model.state.flashOutPath.isEmpty()
        && !model.WriteFlashImage(model.state.flashOutPath, &error)) {
        std::fprintf(stderr, "radiosim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return result;
}
