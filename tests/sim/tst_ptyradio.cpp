// The simulator behind a real pseudo-terminal: what the tool's serial port would see.
#include "radiosim/ptyradio.h"
#include "radiosim/radiomodel.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using radiosim::PtyRadio;
using radiosim::RadioModel;

Q_DECLARE_METATYPE(radiosim::FaultOptions)

namespace {

const QByteArray LocalRead = QByteArray::fromHex("0100e20000001469");
const QByteArray ParameterReply
    = QByteArray::fromHex("0100e2000000009a4e0e000b010000000006000000000000000000002611");

// The tool's end of the cable: the slave side, raw, as the serial port opens it.
class Port {
public:
    explicit Port(const QString& path)
    {
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio {};
        if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~Port()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }
    bool Write(const QByteArray& bytes)
    {
        return ::write(fd_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // Whatever has arrived; false once the other end has gone.
    bool Read(QByteArray* into)
    {
        char buffer[512];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                into->append(buffer, int(n));
                continue;
            }
            return n < 0 && errno == EAGAIN;
        }
    }

private:
    int fd_ = -1;
};

// Collects what reaches the port until it holds the expected number of bytes.
QByteArray ReadUntil(Port& port, int count, int timeoutMs = 2000)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < count && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!port.Read(&got))
            break;
        QTest::qWait(1);
    }
    return got;
}

} // namespace

class TestPtyRadio : public QObject {
    Q_OBJECT

private slots:
    void roundTrip();
    void sendReachesThePort();
    void pullCable();
    void paceAndDelay_data();
    void paceAndDelay();
    void closeAfterDataRecords();
    void injectedFaults_data();
    void injectedFaults();
    void randomDropsFollowTheSeed();
};

void TestPtyRadio::roundTrip()
{
    RadioModel model;
    PtyRadio radio(model);
    QString error;
    QVERIFY2(radio.Open(&error), qPrintable(error));
    QVERIFY(radio.SlavePath().startsWith("/dev/pts/"));
    Port port(radio.SlavePath());
    QVERIFY(port.isOpen());
    QSignalSpy frames(&radio, &PtyRadio::frameReceived);
    QSignalSpy replies(&radio, &PtyRadio::replySent);

    QVERIFY(port.Write(LocalRead.left(3)));
    QTest::qWait(5);
    QVERIFY(port.Write(LocalRead.mid(3) + QByteArray::fromHex("f0")));
    QCOMPARE(
        ReadUntil(port, ParameterReply.size() + 1), ParameterReply + QByteArray::fromHex("f0"));
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0][0].toByteArray(), LocalRead);
    QCOMPARE(replies.size(), 2);
    QCOMPARE(replies[0][0].toByteArray(), ParameterReply);

    // A partial frame is dropped once the line has been quiet.
    QVERIFY(port.Write(LocalRead.left(4)));
    QTest::qWait(3 * radiosim::LineIdleTime.count());
    QVERIFY(port.Write(LocalRead));
    QCOMPARE(ReadUntil(port, ParameterReply.size()), ParameterReply);
}

void TestPtyRadio::sendReachesThePort()
{
    RadioModel model;
    PtyRadio radio(model);
    QVERIFY(radio.Open(nullptr));
    Port port(radio.SlavePath());
    radio.Send(RadioModel::ReceiverMessage());
    const QByteArray message = ReadUntil(port, RadioModel::ReceiverMessage().size());
    QVERIFY(message.startsWith("5000"));
    QVERIFY(message.endsWith('\x14'));
    QVERIFY(port.Write(QByteArray::fromHex("06")));
    QTRY_COMPARE(model.acknowledgements, 1);
}

void TestPtyRadio::pullCable()
{
    RadioModel model;
    PtyRadio radio(model);
    QVERIFY(radio.Open(nullptr));
    Port port(radio.SlavePath());
    QSignalSpy pulled(&radio, &PtyRadio::cablePulled);
    radio.PullCable();
    QCOMPARE(pulled.size(), 1);
    QVERIFY(!radio.IsOpen());
    QByteArray got;
    QVERIFY(!port.Read(&got)); // the port has vanished
    radio.Send(QByteArray("x")); // nothing to write to, and no crash
}

void TestPtyRadio::paceAndDelay_data()
{
    QTest::addColumn<radiosim::FaultOptions>("faults");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("atLeastMs");

    const QByteArray record = QByteArray::fromHex("0100eb000001010012ecea1694");
    const QByteArray ack = QByteArray::fromHex("0100eb00000100b49e");
    radiosim::FaultOptions f;
    f.pace = true;
    // 8 bytes in and 30 bytes out at 1.0417 ms each take 39.6 ms.
    QTest::newRow("line rate") << f << LocalRead << ParameterReply << 39;
    f.delayMs = 60;
    QTest::newRow("line rate and delay") << f << LocalRead << ParameterReply << 99;
    f = {};
    f.delayMs = 120;
    QTest::newRow("delay") << f << LocalRead << ParameterReply << 120;
    f = {};
    f.processingMs = 150;
    QTest::newRow("processing time of a data record") << f << record << ack << 150;
}

void TestPtyRadio::paceAndDelay()
{
    QFETCH(radiosim::FaultOptions, faults);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(int, atLeastMs);
    RadioModel model;
    PtyRadio radio(model);
    radio.faults = faults;
    QVERIFY(radio.Open(nullptr));
    Port port(radio.SlavePath());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(port.Write(request));
    QCOMPARE(ReadUntil(port, reply.size()), reply);
    QVERIFY2(clock.elapsed() >= atLeastMs, qPrintable(QString::number(clock.elapsed())));
}

void TestPtyRadio::closeAfterDataRecords()
{
    RadioModel model;
    PtyRadio radio(model);
    radio.faults.closeAfter = 2;
    QVERIFY(radio.Open(nullptr));
    Port port(radio.SlavePath());
    QVERIFY(port.Write(QByteArray::fromHex("0100eb000001010012ecea1694")));
    QCOMPARE(ReadUntil(port, 9), QByteArray::fromHex("0100eb00000100b49e"));
    QSignalSpy pulled(&radio, &PtyRadio::cablePulled);
    QVERIFY(port.Write(QByteArray::fromHex("0100eb000001010112ebec955a")));
    QTRY_COMPARE(pulled.size(), 1);
    QByteArray got;
    QVERIFY(!port.Read(&got));
    QVERIFY(got.isEmpty()); // the second record is stored but never answered
    QCOMPARE(model.state.flash.mid(0x100), QByteArray::fromHex("1212"));
}

void TestPtyRadio::injectedFaults_data()
{
    QTest::addColumn<radiosim::FaultOptions>("faults");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("expected"); // "-": lost

    const QStringList acks { "0100eb00000100b49e", "0100eb000001fff4de", "0100eb00000200b46e" };
    radiosim::FaultOptions f;
    f.dropEvery = 2;
    QTest::newRow("drop every second reply")
        << f << QStringList { "0100ee03759d", "f0", "0100ee02b45d", "0100ee80343c" }
        << QStringList { "0100ee03759d", "f0", "-", "0100ee80343c" };
    f = {};
    f.dropShare = 1.0;
    QTest::newRow("drop them all")
        << f << QStringList { "0100ee03759d", "f0" } << QStringList { "-", "f0" };
    f = {};
    f.errorStatus = 4;
    f.errorEvery = 2;
    QTest::newRow("error status on every second acknowledgement")
        << f << acks << QStringList { acks[0], "0100eb000401ffb51f", acks[2] };
    f = {};
    f.errorStatus = 16;
    QTest::newRow("error status on every acknowledgement")
        << f << acks.mid(0, 1) << QStringList { "0100eb00100100b55b" };
    f = {};
    f.wrongAddressEvery = 2;
    QTest::newRow("wrong address on every second acknowledgement")
        << f << acks << QStringList { acks[0], "0100eb00000200b46e", acks[2] };
}

void TestPtyRadio::injectedFaults()
{
    QFETCH(radiosim::FaultOptions, faults);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, expected);
    radiosim::FaultInjector injector;
    QStringList out;
    for (const QString& reply : replies) {
        const auto sent = injector.Apply(QByteArray::fromHex(reply.toLatin1()), faults);
        out.append(sent ? QString::fromLatin1(sent->toHex()) : QStringLiteral("-"));
    }
    QCOMPARE(out, expected);
}

void TestPtyRadio::randomDropsFollowTheSeed()
{
    radiosim::FaultOptions faults;
    faults.dropShare = 0.3;
    faults.seed = 7;
    auto pattern = [&faults] {
        radiosim::FaultInjector injector;
        QString lost;
        for (int i = 0; i < 200; ++i)
            lost += injector.Apply(QByteArray::fromHex("0100ee03759d"), faults) ? '.' : 'x';
        return lost;
    };
    const QString first = pattern();
    QCOMPARE(pattern(), first);
    const int dropped = int(first.count('x'));
    QVERIFY2(dropped > 30 && dropped < 90, qPrintable(first));
    faults.seed = 8;
    QVERIFY(pattern() != first);
}

QTEST_GUILESS_MAIN(TestPtyRadio)
#include "tst_ptyradio.moc"
