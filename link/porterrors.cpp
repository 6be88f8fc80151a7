#include "porterrors.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace comm {

namespace {

QString UserName(uid_t uid)
{
    const passwd* entry = ::getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

QString GroupName(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

bool ProcessHasGroup(gid_t gid)
{
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[size_t(i)] == gid)
            return true;
    return false;
}

// Whether the group database lists the user in the group: true right after `usermod -aG`,
// while the running session still has its old groups.
bool UserListedInGroup(uid_t uid, gid_t gid)
{
    const passwd* entry = ::getpwuid(uid);
    if (!entry)
        return false;
    const QByteArray name(entry->pw_name);
    const gid_t primary = entry->pw_gid;
    int count = 32;
    std::vector<gid_t> groups;
    for (int attempt = 0; attempt < 4; ++attempt) {
        groups.resize(size_t(count));
        if (::getgrouplist(name.constData(), primary, groups.data(), &count) >= 0) {
            groups.resize(size_t(count));
            for (gid_t listed : groups)
                if (listed == gid)
                    return true;
            return false;
        }
    }
    return false;
}

} // namespace

QString DevicePath(const QString& portName)
{
    if (portName.startsWith(QLatin1Char('/')) || portName.startsWith(QLatin1String("./"))
        || portName.startsWith(QLatin1String("../")))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

DeviceAccess ExamineDevice(const QString& portName)
{
    DeviceAccess access;
    access.path = DevicePath(portName);
    const QByteArray path = QFile::encodeName(access.path);
    access.denied = ::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES;
    const passwd* self = ::getpwuid(::geteuid());
    if (self)
        access.user = QString::fromLocal8Bit(self->pw_name);

    struct stat info { };
    if (::stat(path.constData(), &info) != 0)
        return access;
    access.found = true;
    access.owner = UserName(info.st_uid);
    access.group = GroupName(info.st_gid);
    access.groupIsRoot = info.st_gid == 0;
    access.groupMayOpen = (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
    access.inGroup = ProcessHasGroup(info.st_gid);
    access.memberOnRecord = UserListedInGroup(::geteuid(), info.st_gid);
    return access;
}

QString OpenFailureText(const QString& portName, const QString& componentError,
    bool permissionError, const DeviceAccess& access)
{
    const QString failure = QStringLiteral("Não foi possível abrir a porta %1: %2");
    if (!permissionError || !access.denied)
        return failure.arg(portName, componentError);

    const QString text = failure.arg(portName, QString::fromLocal8Bit(std::strerror(EACCES)));
    const QString who = access.user.isEmpty() ? QStringLiteral("Seu usuário")
                                              : QStringLiteral("Seu usuário (%1)").arg(access.user);
    const QString login = access.user.isEmpty() ? QStringLiteral("$USER") : access.user;
    const bool joinable
        = access.found && access.groupMayOpen && !access.groupIsRoot && !access.inGroup;

    if (joinable && access.memberOnRecord)
        return text
            + QStringLiteral("\n\n%1 já faz parte do grupo \"%2\", dono de %3, mas esta sessão "
                             "começou antes disso. Saia da sessão e entre de novo (ou reinicie o "
                             "computador) para usar a porta.")
                  .arg(who, access.group, access.path);
    if (joinable)
        return text
            + QStringLiteral("\n\n%1 não tem permissão para usar %2, que pertence ao grupo "
                             "\"%3\". Para entrar no grupo, execute:\n\n    sudo usermod -aG %3 "
                             "%4\n\ne depois saia da sessão e entre de novo (ou reinicie o "
                             "computador).")
                  .arg(who, access.path, access.group, login);
    // Joining would not help (the group may not open it, or is the administrators'), or the
    // device could not even be looked at: only the administrator can give access.
    const QString device = access.found
        ? QStringLiteral("%1 (dono: %2, grupo: %3)").arg(access.path, access.owner, access.group)
        : access.path;
    return text
        + QStringLiteral("\n\n%1 não tem permissão para usar %2. Peça acesso ao administrador "
                         "do sistema (as portas seriais costumam pertencer ao grupo "
                         "\"dialout\").")
              .arg(who, device);
}

QString OpenFailureMessage(
    const QString& portName, const QString& componentError, bool permissionError)
{
    return OpenFailureText(portName, componentError, permissionError,
        permissionError ? ExamineDevice(portName) : DeviceAccess {});
}

} // namespace comm
