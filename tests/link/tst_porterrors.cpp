#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/porterrors.h"

Q_DECLARE_METATYPE(comm::DeviceAccess)

namespace {

const QString Denied = QString::fromLocal8Bit(std::strerror(EACCES));

comm::DeviceAccess Device(const QString& group, bool mayOpen, bool inGroup, bool onRecord)
{
    comm::DeviceAccess device;
    device.path = QStringLiteral("/dev/ttyUSB0");
    device.denied = true;
    device.found = true;
    device.owner = QStringLiteral("root");
    device.group = group;
    device.groupIsRoot = group == QLatin1String("root");
    device.groupMayOpen = mayOpen;
    device.inGroup = inGroup;
    device.memberOnRecord = onRecord;
    device.user = QStringLiteral("tecnico");
    return device;
}

} // namespace

class TestPortErrors : public QObject {
    Q_OBJECT

private slots:
    void openFailureText_data();
    void openFailureText();
    void examinesTheDevice();
};

void TestPortErrors::openFailureText_data()
{
    QTest::addColumn<QString>("componentError");
    QTest::addColumn<bool>("permissionError");
    QTest::addColumn<comm::DeviceAccess>("device");
    QTest::addColumn<QString>("expected");

    const QString head = QStringLiteral("Não foi possível abrir a porta ttyUSB0: ");
    QTest::newRow("missing port: the component's words alone")
        << QStringLiteral("No such file or directory") << false << comm::DeviceAccess {}
        << head + QStringLiteral("No such file or directory");
    // The component reports a port held by another program as a permission error too; the
    // system does not refuse access then, so there is no advice about groups.
    comm::DeviceAccess busy = Device(QStringLiteral("dialout"), true, false, false);
    busy.denied = false;
    QTest::newRow("port held by another program")
        << QStringLiteral("Permission error while locking the device") << true << busy
        << head + QStringLiteral("Permission error while locking the device");

    QTest::newRow("not in the device's group: the command to join it")
        << QStringLiteral("Permission denied") << true
        << Device(QStringLiteral("dialout"), true, false, false)
        << head + Denied
            + QStringLiteral("\n\nSeu usuário (tecnico) não tem permissão para usar "
                             "/dev/ttyUSB0, que pertence ao grupo \"dialout\". Para entrar no "
                             "grupo, execute:\n\n    sudo usermod -aG dialout tecnico\n\ne "
                             "depois saia da sessão e entre de novo (ou reinicie o "
                             "computador).");
    comm::DeviceAccess unknownUser = Device(QStringLiteral("uucp"), true, false, false);
    unknownUser.user.clear();
    QTest::newRow("user without a name: the command still works as typed")
        << QStringLiteral("Permission denied") << true << unknownUser
        << head + Denied
            + QStringLiteral("\n\nSeu usuário não tem permissão para usar /dev/ttyUSB0, que "
                             "pertence ao grupo \"uucp\". Para entrar no grupo, execute:\n\n    "
                             "sudo usermod -aG uucp $USER\n\ne depois saia da sessão e entre "
                             "de novo (ou reinicie o computador).");
    QTest::newRow("joined the group after logging in: log in again")
        << QStringLiteral("Permission denied") << true
        << Device(QStringLiteral("dialout"), true, false, true)
        << head + Denied
            + QStringLiteral("\n\nSeu usuário (tecnico) já faz parte do grupo \"dialout\", "
                             "dono de /dev/ttyUSB0, mas esta sessão começou antes disso. Saia "
                             "da sessão e entre de novo (ou reinicie o computador) para usar a "
                             "porta.");

    const QString administrator = QStringLiteral(
        "\n\nSeu usuário (tecnico) não tem permissão para usar /dev/ttyUSB0 (dono: root, grupo: "
        "%1). Peça acesso ao administrador do sistema (as portas seriais costumam pertencer ao "
        "grupo \"dialout\").");
    QTest::newRow("group is root: never advise joining it")
        << QStringLiteral("Permission denied") << true
        << Device(QStringLiteral("root"), true, false, false)
        << head + Denied + administrator.arg(QStringLiteral("root"));
    QTest::newRow("group may not open the device")
        << QStringLiteral("Permission denied") << true
        << Device(QStringLiteral("dialout"), false, false, false)
        << head + Denied + administrator.arg(QStringLiteral("dialout"));
    QTest::newRow("already in the group and still refused")
        << QStringLiteral("Permission denied") << true
        << Device(QStringLiteral("dialout"), true, true, true)
        << head + Denied + administrator.arg(QStringLiteral("dialout"));
    comm::DeviceAccess hidden;
    hidden.path = QStringLiteral("/dev/ttyUSB0");
    hidden.denied = true;
    hidden.user = QStringLiteral("tecnico");
    QTest::newRow("device that cannot be looked at")
        << QStringLiteral("Permission denied") << true << hidden
        << head + Denied
            + QStringLiteral("\n\nSeu usuário (tecnico) não tem permissão para usar "
                             "/dev/ttyUSB0. Peça acesso ao administrador do sistema (as portas "
                             "seriais costumam pertencer ao grupo \"dialout\").");
}

void TestPortErrors::openFailureText()
{
    QFETCH(QString, componentError);
    QFETCH(bool, permissionError);
    QFETCH(comm::DeviceAccess, device);
    QFETCH(QString, expected);
    QCOMPARE(
        comm::OpenFailureText(QStringLiteral("ttyUSB0"), componentError, permissionError, device),
        expected);
}

// The lookup itself, on files this process owns (who may not open them is the business of
// the test that opens a port as another user).
void TestPortErrors::examinesTheDevice()
{
    QCOMPARE(comm::DevicePath(QStringLiteral("ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(comm::DevicePath(QStringLiteral("/dev/pts/3")), QStringLiteral("/dev/pts/3"));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ttyQX0"));
    QFile node(path);
    QVERIFY(node.open(QIODevice::WriteOnly));
    node.close();
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);

    const comm::DeviceAccess device = comm::ExamineDevice(path);
    QCOMPARE(device.path, path);
    QVERIFY(device.found);
    QVERIFY(!device.denied);
    const group* own = ::getgrgid(::getegid());
    QVERIFY(own);
    QCOMPARE(device.group, QString::fromLocal8Bit(own->gr_name));
    QCOMPARE(device.groupIsRoot, ::getegid() == 0);
    QVERIFY(device.inGroup);
    QVERIFY(!device.groupMayOpen); // rw- r-- ---: the group may only read
    QVERIFY(!device.user.isEmpty());

    const comm::DeviceAccess missing = comm::ExamineDevice(dir.filePath(QStringLiteral("none")));
    QVERIFY(!missing.found);
    QVERIFY(!missing.denied);
    // A missing port keeps the component's own words.
    QCOMPARE(comm::OpenFailureMessage(dir.filePath(QStringLiteral("none")),
                 QStringLiteral("No such file or directory"), false),
        QStringLiteral("Não foi possível abrir a porta %1: No such file or directory")
            .arg(dir.filePath(QStringLiteral("none"))));
}

QTEST_GUILESS_MAIN(TestPortErrors)
#include "tst_porterrors.moc"
