// Start-up defaults, ClearReadings and the hidden service functions.
#include <QTest>

#include "ptyline.h"
#include "tdualprobe.h"

using P = TDualProbe;

class tst_Startup : public QObject {
    Q_OBJECT

private slots:
    void init() { qputenv("XDG_CONFIG_HOME", QByteArray("/nonexistent/qx284-test")); }

    void defaults()
    {
        TDual d;
        QVERIFY(d.isVisible());
        QCOMPARE(d.windowTitle(), QStringLiteral("BRENTOLA ZADUDOZOZOR- v1.3_Q3_2020"));
        auto* id = P::W<QComboBox>(d, "ID");
        QCOMPARE(id->count(), 1024);
        QCOMPARE(id->itemText(1023), QStringLiteral("1023"));
        QCOMPARE(id->currentIndex(), 0);
        QCOMPARE(P::W<QLineEdit>(d, "TID")->text(), QStringLiteral("0"));
        auto* channel = P::W<QComboBox>(d, "BCanal");
        QCOMPARE(channel->count(), 80);
        QCOMPARE(channel->itemText(79), QStringLiteral("79"));
        QCOMPARE(channel->currentIndex(), 1);
        auto* pulse = P::W<QComboBox>(d, "PulsaReleS");
        QCOMPARE(pulse->count(), 4);
        QCOMPARE(pulse->itemText(3), QStringLiteral("2,5"));
        QCOMPARE(pulse->currentIndex(), 0);
        QCOMPARE(P::W<QTabWidget>(d, "PG")->currentIndex(), 0);
        QVERIFY(!P::W(d, "PG")->isEnabled());
        QCOMPARE(P::W<QComboBox>(d, "BaudRate")->currentText(), QStringLiteral("9600"));

        auto* partitions = P::W<QTableWidget>(d, "part_cliente");
        QCOMPARE(partitions->rowCount(), 9);
        QCOMPARE(partitions->width(), 308);
        for (int row = 0; row < 9; ++row) {
            QCOMPARE(partitions->item(row, 0)->text(), QString::number(row));
            QCOMPARE(partitions->item(row, 1)->text(), QString());
            QCOMPARE(partitions->item(row, 1)->foreground().color(), QColor(128, 0, 0));
            QCOMPARE(
                partitions->item(row, 2)->checkState(), row == 0 ? Qt::Checked : Qt::Unchecked);
        }
        auto* type = P::W<QComboBox>(d, "Tipo_Comunic");
        QCOMPARE(type->currentIndex(), 0);
        QVERIFY(!type->isEnabled());
        auto* inputs = P::W<QTableWidget>(d, "EvtNmonit");
        QCOMPARE(inputs->item(0, 0)->text(), QStringLiteral("1"));
        QCOMPARE(inputs->item(0, 0)->background().color(), QColor(0, 255, 0));
        QCOMPARE(inputs->item(0, 1)->text(), QStringLiteral("130"));
        QCOMPARE(inputs->item(0, 2)->checkState(), Qt::Unchecked);
        QCOMPARE(inputs->item(1, 0)->text(), QStringLiteral("2"));
        QCOMPARE(inputs->item(1, 0)->background().color(), QColor(255, 255, 0));
        QCOMPARE(inputs->item(1, 1)->text(), QStringLiteral("401"));
        QCOMPARE(inputs->item(1, 2)->checkState(), Qt::Checked);
        QVERIFY(!P::Connected(d));
        QCOMPARE(P::AckTimeout(d), 7000);
        QCOMPARE(P::BypassMinutes(d), 1);
    }

    void clearReadingsKeepsTheLastDiagnosticsRow()
    {
        TDual d;
        auto* param = P::W<QTableWidget>(d, "Param");
        auto* diag = P::W<QTableWidget>(d, "Diag");
        for (int row = 0; row < 16; ++row)
            diag->item(row, 1)->setText("x");
        param->item(3, 1)->setText("x");
        P::W<QLineEdit>(d, "ID2")->setText("154");
        P::ClearReadings(d);
        QCOMPARE(param->rowCount(), 10);
        QCOMPARE(param->item(9, 0)->background(), param->item(0, 0)->background());
        for (int row = 0; row < 10; ++row)
            QCOMPARE(param->item(row, 1)->text(), QString());
        for (int row = 0; row < 15; ++row)
            QCOMPARE(diag->item(row, 1)->text(), QString());
        QCOMPARE(diag->item(15, 1)->text(), QStringLiteral("x"));
        for (const char* serial : { "ID0", "ID1", "ID2", "ID3" })
            QCOMPARE(P::W<QLineEdit>(d, serial)->text(), QStringLiteral("0"));
    }

    void keyCodesShowAndHideTheServiceButtons_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("echoShown");
        QTest::addColumn<bool>("resetShown");
        QTest::addColumn<bool>("logEmptied");
        QTest::newRow("nothing") << "xyz" << false << false << false;
        QTest::newRow("eco") << "eco" << true << false << true;
        QTest::newRow("eco twice") << "ecoeco" << true << false << true;
        QTest::newRow("eco then oce") << "ecooce" << false << false << true;
        QTest::newRow("rst") << "rst" << false << true << true;
        QTest::newRow("rst then tsr") << "rsttsr" << false << false << true;
        QTest::newRow("split by another key") << "ecxo" << false << false << false;
    }
    void keyCodesShowAndHideTheServiceButtons()
    {
        QFETCH(QString, typed);
        TDual d;
        auto* log = P::W<QPlainTextEdit>(d, "Tx");
        QVERIFY(!log->toPlainText().isEmpty()); // the banner
        QTest::keyClicks(log, typed);
        QTEST(!P::W(d, "Button_ECO")->isHidden(), "echoShown");
        QTEST(!P::W(d, "BResetRadio")->isHidden(), "resetShown");
        QTEST(log->toPlainText().isEmpty(), "logEmptied");
    }

    void echoAndRestartButtons()
    {
        TDual d;
        PtyLine line;
        P::PortSettings(d).port = line.Path();
        P::Button(d, "Terminal")->click();
        line.ReadAtLeast(8);
        P::SelectRadio(d, 300);
        P::Button(d, "Button_ECO")->click();
        P::Button(d, "BResetRadio")->click();
        const QByteArray sent = line.ReadAtLeast(9);
        QCOMPARE(sent.left(1).toHex(), QByteArray("f0"));
        QCOMPARE(sent.mid(1, 6).toHex(), QByteArray("2c0188040000"));
        line.Write(QByteArray::fromHex("F0"));
        RunEvents(100);
        QCOMPARE(P::Log(d), QStringLiteral(" ECO "));
    }

    void logLinesAndAppendedText()
    {
        TDual d;
        auto* log = P::W<QPlainTextEdit>(d, "Tx");
        log->clear();
        // The same sequence a firmware check writes: sections opened and closed across calls.
        d.AddLogLine(QString());
        d.AppendLog("Section 0 :  [0100]-");
        d.AppendLog("[011F]");
        d.AddLogLine(QString());
        d.AppendLog("Section 1 :  [0400]-");
        d.AppendLog("[040F]");
        d.AddLogLine("Checksum Flash: 1234 ");
        QCOMPARE(log->toPlainText(),
            QStringLiteral(
                "\nSection 0 :  [0100]-[011F]\nSection 1 :  [0400]-[040F]\nChecksum Flash: 1234 "));
        // A click into the log does not make replies land in the middle of it.
        QTextCursor cursor = log->textCursor();
        cursor.setPosition(3);
        log->setTextCursor(cursor);
        d.AppendLog(" OK ");
        QVERIFY(log->toPlainText().endsWith("1234  OK "));
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
