// The programming link through the real window and a pseudo-terminal.
#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "ptyline.h"
#include "tdualprobe.h"

using P = TDualProbe;

class tst_Link : public QObject {
    Q_OBJECT

    QTemporaryDir config;

    // A window whose settings file is a fresh one in its own folder.
    std::unique_ptr<TDual> NewWindow(const QByteArray& ini = {})
    {
        static int n = 0;
        const QString folder = config.filePath(QString::number(++n));
        qputenv("XDG_CONFIG_HOME", folder.toLocal8Bit());
        if (!ini.isEmpty()) {
            QDir().mkpath(folder + "/qx284");
            QFile file(folder + "/qx284/ONDAVIA.ini");
            file.open(QIODevice::WriteOnly);
            file.write(ini);
        }
        return std::make_unique<TDual>();
    }

    // Connects a window to the line; returns what CONECTAR wrote.
    static QByteArray Connect(TDual& d, PtyLine& line)
    {
        P::PortSettings(d).port = line.Path();
        P::Button(d, "Terminal")->click();
        return line.ReadAtLeast(8);
    }

private slots:
    void connectSendsTheLocalReadAndStoresTheSettings()
    {
        auto d = NewWindow();
        PtyLine line;
        QVERIFY(P::Log(*d).contains("v1.3")); // start-up banner
        QCOMPARE(Connect(*d, line).toHex(), QByteArray("0000e200000015b8"));
        QVERIFY(P::Connected(*d));
        QVERIFY(P::AwaitingReply(*d));
        QCOMPARE(P::StatusText(*d), QStringLiteral("Aguardando Resposta"));
        QCOMPARE(P::Button(*d, "Terminal")->text(), QStringLiteral("&DESCONECTAR"));
        QVERIFY(!P::W(*d, "Porta")->isEnabled());
        QVERIFY(P::W(*d, "PG")->isEnabled());
        QVERIFY(P::Log(*d).isEmpty()); // the banner is gone
        QCOMPARE(int(P::WizardStep(*d)), 1);
        QVERIFY(!P::W(*d, "Label2")->isHidden());
        QVERIFY(P::W(*d, "BLeLocal")->isEnabled());

        QSettings ini(d->SettingsFile, QSettings::IniFormat);
        QCOMPARE(ini.childGroups(), QStringList { "ComPort1" });
        ini.beginGroup("ComPort1");
        QStringList keys = ini.childKeys();
        keys.sort();
        QCOMPARE(keys,
            QStringList({ "BaudRate", "DataBits", "FlowControl", "Parity", "Port", "StopBits" }));
        QCOMPARE(ini.value("Port").toString(), line.Path());

        P::Button(*d, "Terminal")->click(); // DESCONECTAR
        QVERIFY(!P::Connected(*d));
        QVERIFY(!P::Port(*d).isOpen());
        QCOMPARE(P::Button(*d, "Terminal")->text(), QStringLiteral("&CONECTAR"));
        QVERIFY(P::W(*d, "Porta")->isEnabled());
        QVERIFY(!P::W(*d, "PG")->isEnabled());
        QCOMPARE(int(P::WizardStep(*d)), 0);
        for (const char* hidden : { "GroupBox1", "GroupBox2", "GroupBox5", "GroupBox10", "Label2",
                 "Label3", "Label4", "Label6", "Label7" })
            QVERIFY2(P::W(*d, hidden)->isHidden(), hidden);
        QVERIFY(!P::W(*d, "BLeLocal")->isEnabled());
        QVERIFY(!P::W(*d, "NxButton2")->isEnabled());
        QVERIFY(P::AwaitingReply(*d)); // left as it was
    }

    void settingsFileWordsApplyOnConnect()
    {
        auto d = NewWindow("[ComPort1]\nBaudRate=19200\nParity=Even\nDataBits=7\n");
        PtyLine line;
        QCOMPARE(P::PortSettings(*d).baudRate, QStringLiteral("9600"));
        Connect(*d, line);
        QCOMPARE(P::Port(*d).baudRate(), 9600);
        QCOMPARE(P::Port(*d).parity(), QSerialPort::EvenParity);
        QCOMPARE(P::Port(*d).dataBits(), QSerialPort::Data7);
    }

    void sendingWhileClosedWritesNothingButCountsTheFrame()
    {
        auto d = NewWindow();
        P::LastFrameLength(*d) = 0;
        P::SendCommand(*d, 0, 226, 0, 0, 0);
        QCOMPARE(P::LastFrameLength(*d), 8);
        P::SendFrame(*d, 0, QByteArray()); // an empty body builds nothing
        QCOMPARE(P::LastFrameLength(*d), 8);
        P::Button(*d, "Button_ECO")->click(); // hidden, and the port is closed: nothing happens
    }

    void failedOpenShowsTheErrorAndStaysClosed()
    {
        auto d = NewWindow();
        auto errors = P::CatchErrors(*d);
        P::PortSettings(*d).port = QStringLiteral("/dev/no-such-port");
        P::Button(*d, "Terminal")->click();
        QCOMPARE(errors->size(), 1);
        QVERIFY2(errors->first().contains("/dev/no-such-port"), qPrintable(errors->first()));
        QVERIFY(!P::Connected(*d));
        QCOMPARE(P::Button(*d, "Terminal")->text(), QStringLiteral("&CONECTAR"));
        QVERIFY(P::W(*d, "PG")->isEnabled());
        QVERIFY(!P::AwaitingReply(*d));
    }

    void portVanishingDisconnectsOnceAndConnectWorksAgain()
    {
        auto d = NewWindow();
        auto errors = P::CatchErrors(*d);
        {
            PtyLine line;
            Connect(*d, line);
            line.Close();
            RunEvents(300);
        }
        QCOMPARE(errors->size(), 1);
        QVERIFY(!P::Connected(*d));
        QVERIFY(!P::Port(*d).isOpen());
        QCOMPARE(P::Button(*d, "Terminal")->text(), QStringLiteral("&CONECTAR"));
        QVERIFY(!P::W(*d, "PG")->isEnabled());

        PtyLine again;
        QCOMPARE(Connect(*d, again).toHex(), QByteArray("0000e200000015b8"));
        QVERIFY(P::Connected(*d));
        QCOMPARE(errors->size(), 1);
    }

    // Bursts end after 40 ms of quiet: pieces closer together are one burst.
    void quietGapFramesBursts_data()
    {
        QTest::addColumn<int>("pauseMs");
        QTest::addColumn<int>("bursts");
        QTest::newRow("10 ms apart") << 10 << 1;
        QTest::newRow("70 ms apart") << 70 << 2;
    }
    void quietGapFramesBursts()
    {
        QFETCH(int, pauseMs);
        auto d = NewWindow();
        PtyLine line;
        Connect(*d, line);
        // A burst that begins with the echo byte is marked in the log: count the bursts.
        line.Write(QByteArray::fromHex("F00102"));
        RunEvents(pauseMs);
        line.Write(QByteArray::fromHex("F00304"));
        RunEvents(150);
        QTEST(int(P::Log(*d).count(" ECO ")), "bursts");
    }

    void thousandBytesWithoutPauseAreCut()
    {
        auto d = NewWindow();
        PtyLine line;
        Connect(*d, line);
        QByteArray bytes(1300, '\x01');
        bytes[0] = char(0xF0);
        bytes[1000] = char(0xF0);
        line.Write(bytes);
        RunEvents(150);
        QCOMPARE(int(P::Log(*d).count(" ECO ")), 2);
        QCOMPARE(P::RxCount(*d), 0);
    }

    void heldZeroByteJoinsTheNextBurst()
    {
        auto d = NewWindow();
        PtyLine line;
        Connect(*d, line);
        line.Write(QByteArray(1, '\0'));
        RunEvents(80);
        QCOMPARE(P::CarryCount(*d), 1);
        // With the held 00: a whole parameter reply from radio 0.
        line.Write(QByteArray::fromHex("00E2") + QByteArray(27, '\0'));
        RunEvents(80);
        QCOMPARE(P::Log(*d), QStringLiteral(" CRC CRC\n"));
        QCOMPARE(P::W<QTableWidget>(*d, "Param")->item(0, 1)->text(), QStringLiteral("0"));
        QVERIFY(!P::AwaitingReply(*d));
    }

    void receiverMessagesAreAcknowledged_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("one message")
            << QByteArray("5000 0123 18 E130 01 001\x14") << QByteArray("\x06");
        QTest::newRow("no terminator") << QByteArray("5000 0123 18 E130 01 001") << QByteArray();
        QTest::newRow("two messages in one burst") << QByteArray("101 0123 18 E130\x14"
                                                                 "101 0124 18 E131\x14")
                                                   << QByteArray("\x06\x06");
    }
    void receiverMessagesAreAcknowledged()
    {
        QFETCH(QByteArray, message);
        auto d = NewWindow();
        PtyLine line;
        Connect(*d, line);
        P::AwaitingReply(*d) = false;
        line.Write(message);
        QTEST(line.ReadFor(150), "written");
        QVERIFY(P::Log(*d).isEmpty());
    }

    // The owner each frame reaches, by its effects. Selected radio 5.
    void dispatcherOrder_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("awaiting");
        QTest::addColumn<int>("lastWrite");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("awaitingAfter");
        QTest::addColumn<int>("lastWriteAfter");
        QTest::addColumn<QByteArray>("written");
        const QString waiting = "Aguardando Resposta";
        const QString note = " CRC CRC\n";
        const QByteArray reread = QByteArray::fromHex("0500E2000000");
        QTest::newRow("238 from the selected radio clears the status, nothing more")
            << QByteArray::fromHex("0500EE00AABB") << false << 238 << ""
            << "" << false << 238 << QByteArray();
        QTest::newRow("code 128 is ignored") << QByteArray::fromHex("050080000000") << true << 128
                                             << "" << waiting << true << 128 << QByteArray();
        QTest::newRow("other code from the selected radio: the note") << QByteArray::fromHex(
            "0500550000") << false << 0 << note << "" << false << 0 << QByteArray();
        QTest::newRow("a 226 from another radio ends the wait; the client codes follow")
            << QByteArray::fromHex("0900E2") + QByteArray(27, '\0') << true << 0 << "" << waiting
            << false << 0 << QByteArray::fromHex("0900CB020000");
        QTest::newRow("a write's reply from another radio triggers the re-read")
            << QByteArray::fromHex("0900CA000000") << false << 202 << "" << waiting << true << 0
            << reread;
        QTest::newRow("the note, then the re-read")
            << QByteArray::fromHex("0500D9010000") << false << 217 << note << waiting << true << 0
            << reread;
        QTest::newRow("a code 0 frame reaching the last step reads again") << QByteArray::fromHex(
            "0900000000") << false << 0 << "" << waiting << true << 0 << reread;
        QTest::newRow("another radio, nothing awaited, no write: nothing")
            << QByteArray::fromHex("0900D9010000") << false << 202 << "" << waiting << false << 202
            << QByteArray();
    }
    void dispatcherOrder()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, lastWrite);
        auto d = NewWindow();
        PtyLine line;
        Connect(*d, line);
        P::SelectRadio(*d, 5);
        QFETCH(bool, awaiting);
        P::AwaitingReply(*d) = awaiting;
        P::LastWriteCommand(*d) = quint8(lastWrite);
        d->findChild<QStatusBar*>("Status")->showMessage("Aguardando Resposta");
        line.Write(frame);
        const QByteArray got = line.ReadFor(150);
        QTEST(P::Log(*d), "log");
        QTEST(P::StatusText(*d), "status");
        QTEST(P::AwaitingReply(*d), "awaitingAfter");
        QTEST(int(P::LastWriteCommand(*d)), "lastWriteAfter");
        QFETCH(QByteArray, written); // frame without its CRC
        QCOMPARE(got.left(6).toHex(), written.toHex());
        QCOMPARE(got.size(), written.isEmpty() ? 0 : 8);
    }

    void loaderRepliesDuringATransferGoToTheLoader()
    {
        auto d = NewWindow();
        PtyLine line;
        Connect(*d, line);
        P::FirmwareActive(*d) = true;
        P::TargetRadioId(*d) = 0;
        P::AwaitingReply(*d) = true;
        QByteArray identity = QByteArray::fromHex("0000E2") + QByteArray(27, '\0');
        identity[9] = 14;
        line.Write(identity);
        RunEvents(120);
        QCOMPARE(P::Log(*d), QStringLiteral(" OK ")); // the loader's, no note of the selected radio
        QCOMPARE(int(P::LoaderState(*d)), 1);
        QCOMPARE(P::RadioModel(*d), 14);
        QVERIFY(P::AwaitingReply(*d)); // the awaited-reply stage was not reached
    }
};

QTEST_MAIN(tst_Link)
#include "tst_link.moc"
