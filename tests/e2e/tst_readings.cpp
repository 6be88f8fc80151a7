// A technician on the LEITURAS tab against the simulated radio at the real line rate:
// bypass on for a typed time, bypass off, a PGM pulse, the noise and the diagnostics.
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "radiosim/ptyradio.h"
#include "radiosim/radiomodel.h"
#include "tdualprobe.h"

using P = TDualProbe;

namespace {

constexpr int ReplyWaitMs = 3000;

void Click(TDual& d, const char* button)
{
    QTest::mouseClick(P::Button(d, button), Qt::LeftButton);
}

QList<QByteArray> FramesWithCode(const radiosim::RadioModel& model, quint8 code)
{
    QList<QByteArray> frames;
    for (const QByteArray& frame : model.framesReceived) {
        if (frame.size() > 2 && quint8(frame[2]) == code)
            frames.append(frame);
    }
    return frames;
}

// A technician waits for the radio's answer before the next press: replies that follow each
// other within the receive gap would reach the tool as one burst.
void AwaitReply(QSignalSpy& replies)
{
    const qsizetype before = replies.size();
    QTRY_VERIFY_WITH_TIMEOUT(replies.size() > before, ReplyWaitMs);
    QTest::qWait(150); // the receive gap ends the reply's burst
}

QString DiagValue(TDual& d, int row)
{
    const QTableWidgetItem* cell = P::W<QTableWidget>(d, "Diag")->item(row, 1);
    return cell ? cell->text() : QString();
}

} // namespace

class tst_Readings : public QObject {
    Q_OBJECT

    QTemporaryDir config;

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit()); }

    void fieldVisitOfARadio()
    {
        radiosim::RadioModel model;
        model.state.id = 7;
        model.state.noiseMin = 95;
        model.state.noiseMedium = 105;
        model.state.noiseMax = 88;
        radiosim::Diagnostics& diag = model.state.diagnostics;
        diag.statusFlags = 0x03; // receiving Contact-ID, bypass relay
        diag.masterStatus = 0x21;
        diag.uptimeSeconds = 2 * 86400 + 5 * 3600 + 7 * 60 + 9;
        diag.eventsSent = 0xFFFFFFFF;
        diag.batteryMin = 118;
        diag.batteryCurrent = 125;
        diag.batteryMax = 136;
        radiosim::PtyRadio radio(model);
        radio.faults.pace = true;
        QString error;
        QVERIFY2(radio.Open(&error), qPrintable(error));

        TDual d;
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        P::PortSettings(d).port = radio.SlavePath();
        Click(d, "Terminal");
        QVERIFY(P::Connected(d));
        QTRY_VERIFY_WITH_TIMEOUT(!P::AwaitingReply(d), ReplyWaitMs);
        QTest::qWait(300); // whatever the parameter read asks for next
        // The radio on the cable is the one addressed (the parameter read selects it too).
        P::SelectRadio(d, model.state.id);
        const qsizetype framesBefore = model.framesReceived.size();
        QSignalSpy replies(&radio, &radiosim::PtyRadio::replySent);

        auto* pages = P::W<QTabWidget>(d, "PG");
        QTest::mouseClick(
            pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
        QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("LEITURAS"));

        // Bypass on for 12 minutes, typed into T(min)= and left for the button.
        auto* minutes = P::W<QLineEdit>(d, "tbypass");
        QTest::mouseClick(minutes, Qt::LeftButton);
        QTest::keyClick(minutes, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(minutes, QStringLiteral("12"));
        Click(d, "BitBtn1");
        AwaitReply(replies);
        QVERIFY(model.state.relayOn);
        QCOMPARE(int(model.state.relayMinutes), 12);
        QCOMPARE(minutes->text(), QStringLiteral("12"));
        QCOMPARE(P::StatusText(d), QString());

        Click(d, "BitBtn2");
        AwaitReply(replies);
        QVERIFY(!model.state.relayOn);

        // A 2-second PGM pulse, chosen with the arrow keys in the pulse box.
        auto* pulse = P::W<QComboBox>(d, "PulsaReleS");
        QTest::mouseClick(pulse->lineEdit(), Qt::LeftButton);
        QTest::keyClick(pulse, Qt::Key_Down);
        QTest::keyClick(pulse, Qt::Key_Down);
        QCOMPARE(pulse->currentText(), QStringLiteral("2"));
        Click(d, "BitBtn3");
        AwaitReply(replies);
        QCOMPARE(model.state.pgmPulses, 1);
        QCOMPARE(int(model.state.pgmPulse), 200);

        const QList<QByteArray> outputs = FramesWithCode(model, 238);
        QCOMPARE(outputs.size(), 3);
        QCOMPARE(outputs[0].toHex(), QByteArray("0700ee030c00e25f"));
        QCOMPARE(outputs[1].toHex(), QByteArray("0700ee020000b69f"));
        QCOMPARE(outputs[2].toHex(), QByteArray("0700ee80c8004177"));

        // Noise.
        Click(d, "BRuido");
        QCOMPARE(P::StatusText(d), QStringLiteral("Aguardando Resposta"));
        QTRY_COMPARE_WITH_TIMEOUT(
            P::W<QLabel>(d, "TRuido_Med")->text(), QStringLiteral("-105 dBm"), ReplyWaitMs);
        QCOMPARE(P::StatusText(d), QString());
        QCOMPARE(P::W<QLabel>(d, "TRuido_Max")->text(), QStringLiteral("-88 dBm"));
        QCOMPARE(P::W<QProgressBar>(d, "Ruido_Max")->value(), 52);
        QCOMPARE(P::W<QProgressBar>(d, "Ruido_Max")->palette().color(QPalette::Highlight),
            QColor(255, 0, 0));
        QCOMPARE(P::W<QProgressBar>(d, "Ruido_Med")->value(), 35);
        QCOMPARE(P::W<QProgressBar>(d, "Ruido_Med")->palette().color(QPalette::Highlight),
            QColor(0, 128, 0));
        QVERIFY2(P::Log(d).endsWith(QStringLiteral(
                     "\n[%1] RUIDO RADIO [7] Min -95 dBm / Med -105 dBm / Max -88 dBm")
                                        .arg(P::ReplyTimeText(d))),
            qPrintable(P::Log(d)));

        // Diagnostics.
        Click(d, "BleDiag");
        QCOMPARE(P::StatusText(d), QStringLiteral("Aguardando Resposta"));
        QTRY_COMPARE_WITH_TIMEOUT(DiagValue(d, 0), QStringLiteral("7"), ReplyWaitMs);
        QCOMPARE(P::StatusText(d), QString());
        const QStringList values { "7", "21", "27", "43", "3", "2 dd, 5 hr, 7 min, 9 seg", "12V",
            "-1", "4", "512 / 498", "730 / 702", "OK, RECEBENDO CONTACT-ID, BYPASS RELE",
            "BUFFER MESTRE CHEIO", "11,8V", "12,5V", "13,6V" };
        for (int row = 0; row < values.size(); ++row)
            QCOMPARE(DiagValue(d, row), values[row]);
        const QString log = P::Log(d);
        const qsizetype start
            = log.lastIndexOf(QStringLiteral("\n[%1]\n").arg(P::ReplyTimeText(d)));
        QVERIFY(start >= 0);
        const QStringList lines = log.mid(start + 1).split('\n');
        QCOMPARE(lines.size(), 1 + 1 + 21 + 3);
        QCOMPARE(lines[1], QStringLiteral("ID RADIO       :7"));
        QCOMPARE(lines[17], QStringLiteral("Eventos ok     :-1"));
        QCOMPARE(lines.last(), QStringLiteral("VBateria Max  :136"));

        QCOMPARE(FramesWithCode(model, 216).size(), 1);
        QCOMPARE(FramesWithCode(model, 231).size(), 1);
        QCOMPARE(model.framesReceived.size() - framesBefore, 5); // nothing else went out
        P::Button(d, "Terminal")->click(); // the tool lets go of the port first
    }
};

QTEST_MAIN(tst_Readings)
#include "tst_readings.moc"
