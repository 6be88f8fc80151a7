// Helper of the port-permission test.
//   openport hold GROUP   opens a pseudo-terminal, gives its device to root:GROUP with mode
//                         0660, prints the device's path and keeps it until stdin closes
//   openport open PATH    opens PATH as the tool's CONECTAR does; prints "aberta" or the
//                         text of the error box (exit status 0 or 1)
#include <QCoreApplication>
#include <QSerialPort>
#include <QTextStream>

#include <cstdio>

#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/porterrors.h"

namespace {

int Hold(const char* groupName)
{
    const group* entry = ::getgrnam(groupName);
    if (!entry) {
        std::fprintf(stderr, "no group %s\n", groupName);
        return 2;
    }
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0
        || ::fchown(slave, 0, entry->gr_gid) != 0 || ::fchmod(slave, 0660) != 0) {
        std::perror("pseudo-terminal");
        return 2;
    }
    std::printf("%s\n", name);
    std::fflush(stdout);
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) { }
    return 0;
}

int Open(const QString& path)
{
    QTextStream out(stdout);
    QSerialPort port;
    port.setPortName(path);
    if (port.open(QIODevice::ReadWrite)) {
        out << "aberta\n";
        return 0;
    }
    out << comm::OpenFailureMessage(
        path, port.errorString(), port.error() == QSerialPort::PermissionError)
        << '\n';
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("hold"))
        return Hold(argv[2]);
    if (args.size() == 3 && args[1] == QLatin1String("open"))
        return Open(args[2]);
    std::fprintf(stderr, "usage: openport hold GROUP | openport open PATH\n");
    return 2;
}
