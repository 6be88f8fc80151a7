// The LEITURAS tab through the real window: the exact frames its buttons put on the line,
// and what its bars, labels, grid and log show for replies written back.
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "ptyline.h"
#include "tdualprobe.h"

using P = TDualProbe;

namespace {

const QString Refused = QStringLiteral("Comando não pode ser enviado para ID zero!");
const QString Waiting = QStringLiteral("Aguardando Resposta");

// Radio 5 with the battery voltages (flags 0x07, master status 0x21, 1 d 1 h 1 min 1 s on).
const QByteArray RadioDiagnostics = QByteArray::fromHex(
    "0500e7151b2b2021220103000200010700015fcd800000001234210cffffffff00000004020001f202da02be557d"
    "0788d017");

// The technician's hand on the window.
void ClickTab(TDual& d, const QString& title)
{
    auto* pages = P::W<QTabWidget>(d, "PG");
    for (int i = 0; i < pages->count(); ++i) {
        if (pages->tabText(i) == title)
            QTest::mouseClick(
                pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(i).center());
    }
    QCOMPARE(pages->tabText(pages->currentIndex()), title);
}

void Click(TDual& d, const char* button)
{
    QTest::mouseClick(P::Button(d, button), Qt::LeftButton);
}

// Clicks into an edit and replaces its text by typing.
void Type(QLineEdit* edit, const QString& text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QColor BarColour(TDual& d, const char* bar)
{
    return P::W<QProgressBar>(d, bar)->palette().color(QPalette::Highlight);
}

} // namespace

class tst_ReadingsControls : public QObject {
    Q_OBJECT

    QTemporaryDir config;
    std::unique_ptr<TDual> d;
    std::unique_ptr<PtyLine> line;

    // A connected window on the LEITURAS tab with the given radio selected; the local read
    // of CONECTAR is answered with a frame that ends the wait.
    void Open(int radioId)
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        d = std::make_unique<TDual>();
        line = std::make_unique<PtyLine>();
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        P::PortSettings(*d).port = line->Path();
        Click(*d, "Terminal");
        QCOMPARE(line->ReadAtLeast(8).size(), 8);
        P::AwaitingReply(*d) = false;
        P::SelectRadio(*d, radioId);
        ClickTab(*d, QStringLiteral("LEITURAS"));
    }

private slots:
    void cleanup()
    {
        d.reset(); // the tool closes the port before the line goes
        line.reset();
    }

    void outputButtons_data()
    {
        QTest::addColumn<int>("radioId");
        QTest::addColumn<QString>("minutes"); // typed into T(min)=, "" for none
        QTest::addColumn<QString>("pulse"); // typed into the pulse box, "" for none
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("status");

        // With the start-up settings: 1 minute, pulse item "1".
        QTest::newRow("LIGA, start-up time") << 1 << ""
                                             << ""
                                             << "BitBtn1" << QByteArray("0100ee030100e6a9") << "";
        QTest::newRow("PULSA, start-up length")
            << 1 << ""
            << ""
            << "BitBtn3" << QByteArray("0100ee8064003c11") << "";
        QTest::newRow("LIGA, 45 typed, 30 sent")
            << 1 << "45"
            << ""
            << "BitBtn1" << QByteArray("0100ee031e00ee99") << "";
        QTest::newRow("LIGA, 0 typed") << 1 << "0"
                                       << ""
                                       << "BitBtn1" << QByteArray("0100ee030000e739") << "";
        QTest::newRow("DESLIGA") << 1 << ""
                                 << ""
                                 << "BitBtn2" << QByteArray("0100ee020000b6f9") << "";
        QTest::newRow("PULSA 1,5 typed") << 1 << ""
                                         << "1,5"
                                         << "BitBtn3" << QByteArray("0100ee8096007971") << "";
        QTest::newRow("PULSA 2,5 typed") << 1 << ""
                                         << "2,5"
                                         << "BitBtn3" << QByteArray("0100ee80fa005471") << "";
        QTest::newRow("PULSA, typed 3 matches no item") << 1 << ""
                                                        << "3"
                                                        << "BitBtn3" << QByteArray() << "";
        QTest::newRow("PULSA, typed 2.5 matches no item") << 1 << ""
                                                          << "2.5"
                                                          << "BitBtn3" << QByteArray() << "";
        QTest::newRow("LIGA to radio 5, 30 min")
            << 5 << "30"
            << ""
            << "BitBtn1" << QByteArray("0500ee031e00ef1d") << "";
        QTest::newRow("LIGA, master") << 0 << ""
                                      << ""
                                      << "BitBtn1" << QByteArray() << Refused;
        QTest::newRow("DESLIGA, master") << 0 << ""
                                         << ""
                                         << "BitBtn2" << QByteArray() << Refused;
        QTest::newRow("PULSA, master") << 0 << ""
                                       << ""
                                       << "BitBtn3" << QByteArray() << Refused;
    }

    void outputButtons()
    {
        QFETCH(int, radioId);
        QFETCH(QString, minutes);
        QFETCH(QString, pulse);
        QFETCH(QString, button);
        QFETCH(QByteArray, frame);
        QFETCH(QString, status);

        Open(radioId);
        auto* pulseBox = P::W<QComboBox>(*d, "PulsaReleS");
        if (!minutes.isEmpty())
            Type(P::W<QLineEdit>(*d, "tbypass"), minutes);
        if (!pulse.isEmpty()) {
            Type(pulseBox->lineEdit(), pulse);
            QTest::keyClick(pulseBox->lineEdit(), Qt::Key_Return);
        }
        d->findChild<QStatusBar*>("Status")->showMessage(Waiting); // left by an earlier request
        Click(*d, button.toLatin1().constData());

        QCOMPARE(line->ReadFor(100).toHex(), frame);
        QCOMPARE(P::StatusText(*d), status);
        QCOMPARE(pulseBox->count(), 4); // typed texts never become items
        if (pulse == "3" || pulse == "2.5")
            QCOMPARE(pulseBox->currentIndex(), -1);
        QCOMPARE(pulseBox->currentText(), pulse.isEmpty() ? QStringLiteral("1") : pulse);
        QVERIFY(!P::AwaitingReply(*d));
        QCOMPARE(int(P::LastWriteCommand(*d)), 0);
    }

    void bypassTimeIsClampedWhenTheEditIsLeft()
    {
        Open(1);
        auto* minutes = P::W<QLineEdit>(*d, "tbypass");
        Type(minutes, "45");
        QCOMPARE(P::BypassMinutes(*d), 1); // not before the edit is left
        QTest::mouseClick(P::W(*d, "PulsaReleS"), Qt::LeftButton);
        QCOMPARE(minutes->text(), QStringLiteral("30"));
        QCOMPARE(P::BypassMinutes(*d), 30);

        // An empty edit is no whole number: the error box, and nothing changes.
        auto errors = P::CatchErrors(*d);
        Type(minutes, "");
        QTest::mouseClick(P::W(*d, "PulsaReleS"), Qt::LeftButton);
        QCOMPARE(errors->size(), 1);
        QCOMPARE(P::BypassMinutes(*d), 30);
        QCOMPARE(minutes->text(), QString());
        Click(*d, "BitBtn1");
        QCOMPARE(line->ReadFor(100).toHex(), QByteArray("0100ee031e00ee99"));
        QCOMPARE(errors->size(), 1);
    }

    void outputReplyEndsItsBurst()
    {
        Open(1);
        d->findChild<QStatusBar*>("Status")->showMessage(Waiting);
        const QString logBefore = P::Log(*d);
        line->Write(QByteArray::fromHex("0100ee03b4a9"));
        RunEvents(250);
        QCOMPARE(P::StatusText(*d), QString());
        QCOMPARE(P::Log(*d), logBefore);
        QCOMPARE(line->ReadNow().toHex(), QByteArray());
    }

    void noiseReading()
    {
        Open(5);
        Click(*d, "BRuido");
        QCOMPARE(line->ReadAtLeast(8).toHex(), QByteArray("0500d80000001935"));
        QCOMPARE(P::StatusText(*d), Waiting);

        // Levels 95, 105, 150 in bytes 3, 4, 5.
        line->Write(QByteArray::fromHex("0500d85f69961234"));
        RunEvents(250);
        QCOMPARE(P::StatusText(*d), QString());
        const QColor green(0, 128, 0), blue(0, 0, 255);
        QCOMPARE(P::W<QProgressBar>(*d, "Ruido_Max")->value(), 0);
        QCOMPARE(BarColour(*d, "Ruido_Max"), green);
        QCOMPARE(P::W<QLabel>(*d, "TRuido_Max")->text(), QStringLiteral("-150 dBm"));
        QCOMPARE(P::W<QProgressBar>(*d, "Ruido_Med")->value(), 35);
        QCOMPARE(BarColour(*d, "Ruido_Med"), green);
        QCOMPARE(P::W<QLabel>(*d, "TRuido_Med")->text(), QStringLiteral("-105 dBm"));
        QCOMPARE(P::W<QProgressBar>(*d, "Ruido_Min")->value(), 45);
        QCOMPARE(BarColour(*d, "Ruido_Min"), blue);
        QCOMPARE(P::W<QLabel>(*d, "TRuido_Min")->text(), QStringLiteral("-95 dBm"));
        QVERIFY(P::W(*d, "Ruido_Min")->isHidden());
        QVERIFY(P::W(*d, "TRuido_Min")->isHidden());
        const QString logLine
            = QStringLiteral("[%1] RUIDO RADIO [5] Min -95 dBm / Med -105 dBm / Max -150 dBm")
                  .arg(P::ReplyTimeText(*d));
        QVERIFY2(P::Log(*d).endsWith("\n" + logLine), qPrintable(P::Log(*d)));

        // A louder channel: red, full bar.
        line->Write(QByteArray::fromHex("0500d81e285a0000"));
        RunEvents(250);
        QCOMPARE(P::W<QProgressBar>(*d, "Ruido_Max")->value(), 50);
        QCOMPARE(BarColour(*d, "Ruido_Max"), QColor(255, 0, 0));
        QCOMPARE(P::W<QProgressBar>(*d, "Ruido_Min")->value(), 100);
        QCOMPARE(P::W<QLabel>(*d, "TRuido_Min")->text(), QStringLiteral("-30 dBm"));

        // Too short for the levels: the bars stay and the log says so.
        line->Write(QByteArray::fromHex("0500d85f69"));
        RunEvents(250);
        QCOMPARE(P::W<QProgressBar>(*d, "Ruido_Max")->value(), 50);
        QCOMPARE(P::W<QLabel>(*d, "TRuido_Min")->text(), QStringLiteral("-30 dBm"));
        QVERIFY2(P::Log(*d).endsWith("\nResposta incompleta (5 bytes)"), qPrintable(P::Log(*d)));
    }

    void noiseOfAnotherRadioIsNotShown()
    {
        Open(5);
        line->Write(QByteArray::fromHex("0600d85f69961234"));
        RunEvents(250);
        QCOMPARE(P::W<QLabel>(*d, "TRuido_Med")->text(), QStringLiteral("---------"));
        QVERIFY(!P::Log(*d).contains("RUIDO"));
    }

    void diagnosticsReading()
    {
        Open(5);
        auto* grid = P::W<QTableWidget>(*d, "Diag");
        for (int row = 0; row < 16; ++row)
            grid->item(row, 1)->setText("old");
        Click(*d, "BleDiag");
        QCOMPARE(line->ReadAtLeast(8).toHex(), QByteArray("0500e70000001521"));
        QCOMPARE(P::StatusText(*d), Waiting);
        for (int row = 0; row < 16; ++row)
            QCOMPARE(grid->item(row, 1)->text(), QString());

        line->Write(RadioDiagnostics);
        RunEvents(250);
        QCOMPARE(P::StatusText(*d), QString());
        const QStringList captions { "ID RADIO", "TEMP MINIMA", "TEMP ATUAL", "TEMP MAXIMA",
            "NUMERO RESET", "TEMPO LIGADO", "TENSÃO DE LINHA", "EVENTOS TRANSMITIDOS",
            "EVENTOS RECUSADOS", "NIVEL CONTACT ID", "NIVEL CONTACT ID MAX", "ESTADO RADIO",
            "ESTADO COMUNICAÇÃO RF", "TENSÃO MIN", "TENSÃO ATUAL", "TENSÃO MAX" };
        const QStringList values { "5", "21", "27", "43", "259", "1 dd, 1 hr, 1 min, 1 seg", "12V",
            "-1", "4", "512 / 498", "730 / 702",
            "PROBLEMA TENSÃO LINHA, RECEBENDO CONTACT-ID, BYPASS RELE", "BUFFER MESTRE CHEIO",
            "12,5V", "0,7V", "13,6V" };
        for (int row = 0; row < 16; ++row) {
            QCOMPARE(grid->item(row, 0)->text(), captions[row]);
            QCOMPARE(grid->item(row, 1)->text(), values[row]);
        }
        const QString log = P::Log(*d);
        const QString time = QStringLiteral("\n[%1]\nID RADIO       :5\nTemp Min       :21\n")
                                 .arg(P::ReplyTimeText(*d));
        QVERIFY2(log.contains(time), qPrintable(log));
        QVERIFY(log.contains("\nTempo Reset    :-2147483648\n"));
        QVERIFY(log.contains("\nEventos ok     :-1\n"));
        QVERIFY2(log.endsWith("\nMax   L2       :702\nVBateria Min  :125\nVBateria Med  :7"
                              "\nVBateria Max  :136"),
            qPrintable(log));

        // The next reading has no battery voltages: their captions stay, their values were
        // emptied by the request.
        Click(*d, "BleDiag");
        line->ReadAtLeast(8);
        QByteArray noBattery = RadioDiagnostics.left(44);
        noBattery[28] = noBattery[29] = noBattery[30] = 0;
        noBattery += QByteArray::fromHex("0000");
        line->Write(noBattery);
        RunEvents(250);
        QCOMPARE(grid->item(7, 1)->text(), QStringLiteral("255"));
        for (int row = 13; row < 16; ++row) {
            QCOMPARE(grid->item(row, 0)->text(), captions[row]);
            QCOMPARE(grid->item(row, 1)->text(), QString());
        }
        QVERIFY(P::Log(*d).endsWith("\nMax   L2       :702"));

        // Too short for its fields: nothing decoded, the log says so.
        line->Write(RadioDiagnostics.left(30));
        RunEvents(250);
        QCOMPARE(grid->item(7, 1)->text(), QStringLiteral("255"));
        QVERIFY2(P::Log(*d).endsWith("\nResposta incompleta (30 bytes)"), qPrintable(P::Log(*d)));
    }

    void masterDiagnosticsCaptionsAndStates()
    {
        Open(0);
        Click(*d, "BleDiag");
        QCOMPARE(line->ReadAtLeast(8).toHex(), QByteArray("0000e70000001574"));
        line->Write(QByteArray::fromHex("0000e70a1e321f2021000000000000110000003b000000000000000d00"
                                        "0000100000000000010002000300042e5c"));
        RunEvents(250);
        auto* grid = P::W<QTableWidget>(*d, "Diag");
        QCOMPARE(grid->item(7, 0)->text(), QStringLiteral("EVENTOS CONTACT-ID"));
        QCOMPARE(grid->item(5, 1)->text(), QStringLiteral("0 dd, 0 hr, 0 min, 59 seg"));
        QCOMPARE(grid->item(11, 1)->text(), QString());
        QCOMPARE(grid->item(12, 1)->text(), QStringLiteral("INTERFACE AUTOMAÇÃO COM PROBLEMAS"));
        QCOMPARE(grid->item(13, 0)->text(), QString());
    }
};

QTEST_MAIN(tst_ReadingsControls)
#include "tst_readings_controls.moc"
