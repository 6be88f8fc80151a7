#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "link/linksettings.h"

using namespace comm;

class tst_LinkSettings : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString Write(const QByteArray& text)
    {
        const QString path = dir.filePath(QStringLiteral("ONDAVIA.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return path;
    }

private slots:
    // Each row: the section's text and the settings it gives, starting from the defaults.
    void load_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("parity");
        QTest::addColumn<QString>("flow");
        const int one = int(StopBits::One), none = int(Parity::None);
        QTest::newRow("every key")
            << QByteArray("Port=/dev/ttyUSB0\nBaudRate=19200\nStopBits=2\n"
                          "DataBits=7\nParity=Even\nFlowControl=Hardware\n")
            << "/dev/ttyUSB0"
            << "19200" << int(StopBits::Two) << 7 << int(Parity::Even) << "Hardware";
        QTest::newRow("words without regard to case")
            << QByteArray("BaudRate=custom\nParity=sPaCe\nFlowControl=software\nStopBits=1.5\n")
            << "COM1"
            << "Custom" << int(StopBits::OneAndHalf) << 8 << int(Parity::Space) << "Software";
        QTest::newRow("unknown words give the fallbacks")
            << QByteArray("BaudRate=9601\nStopBits=3\nDataBits=9\nParity=Red\n") << "COM1"
            << "9600" << one << 8 << none << "None";
        QTest::newRow("missing keys keep the settings") << QByteArray("Port=COM7\n") << "COM7"
                                                        << "9600" << one << 8 << none << "None";
    }
    void load()
    {
        QFETCH(QByteArray, section);
        PortSettings settings;
        LoadSettings(Write("[ComPort1]\n" + section), settings);
        QTEST(settings.port, "port");
        QTEST(settings.baudRate, "baud");
        QTEST(int(settings.stopBits), "stopBits");
        QTEST(settings.dataBits, "dataBits");
        QTEST(int(settings.parity), "parity");
        QTEST(FlowControlWord(settings.flow), "flow");
    }

    void customOrUnknownFlowKeepsWhatItWas()
    {
        for (const char* word : { "Custom", "Whatever" }) {
            PortSettings settings;
            settings.flow = { true, true };
            LoadSettings(Write(QByteArray("[ComPort1]\nFlowControl=") + word + "\n"), settings);
            QVERIFY2(settings.flow.rtsHandshake && settings.flow.xonXoff, word);
        }
    }

    void missingOrBrokenFileChangesNothing()
    {
        PortSettings settings;
        settings.port = QStringLiteral("ttyS3");
        LoadSettings(dir.filePath(QStringLiteral("absent.ini")), settings);
        LoadSettings(Write(QByteArray("\x00\xFF\xFE garbage [[[ =\n", 18)), settings);
        LoadSettings(dir.path(), settings); // a folder, not a file
        QCOMPARE(settings.port, QStringLiteral("ttyS3"));
        QCOMPARE(settings.baudRate, QStringLiteral("9600"));
    }

    void storeWritesTheBasicKeys()
    {
        PortSettings settings;
        settings.port = QStringLiteral("/dev/pts/7");
        settings.parity = Parity::Odd;
        const QString path = dir.filePath(QStringLiteral("sub/folder/ONDAVIA.ini"));
        QVERIFY(StoreSettings(path, settings));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        QCOMPARE(lines.value(0), QByteArray("[ComPort1]"));
        QStringList keys;
        for (const QByteArray& line : lines.mid(1))
            keys << QString::fromLatin1(line.trimmed());
        keys.sort();
        QCOMPARE(keys,
            QStringList({ "BaudRate=9600", "DataBits=8", "FlowControl=None", "Parity=Odd",
                "Port=/dev/pts/7", "StopBits=1" }));

        PortSettings reread;
        LoadSettings(path, reread);
        QCOMPARE(reread.port, settings.port);
        QCOMPARE(reread.parity, Parity::Odd);
    }
};

QTEST_APPLESS_MAIN(tst_LinkSettings)
#include "tst_linksettings.moc"
