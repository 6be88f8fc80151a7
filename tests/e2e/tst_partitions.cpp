// End to end: the simulated radio behind a pseudo-terminal, the wizard taken from the start
// to its end by clicks and typing, and the client codes, radio-event partition,
// communication type and input events that the radio then holds.
#include <QApplication>
#include <QTest>

#include "radiosim/ptyradio.h"
#include "radiosim/radiomodel.h"
#include "tdualprobe.h"

using P = TDualProbe;

namespace {

constexpr int ReplyWaitMs = 3000;

QByteArray Raw(const char* bytes, int size)
{
    return QByteArray(bytes, size);
}

class Technician {
public:
    explicit Technician(TDual& d)
        : d_(d)
    {
    }

    bool Click(const char* name)
    {
        QWidget* w = P::W(d_, name);
        if (!w->isVisible() || !w->isEnabled()) {
            qWarning("%s cannot be clicked now", name);
            return false;
        }
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        return true;
    }

    void ClickCell(const char* grid, int row, int column)
    {
        auto* table = P::W<QTableWidget>(d_, grid);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
            table->visualItemRect(table->item(row, column)).center());
    }

    // Double-click into a cell, select what it holds and type over it.
    void Retype(const char* grid, int row, int column, const QString& keys)
    {
        auto* table = P::W<QTableWidget>(d_, grid);
        const QPoint centre = table->visualItemRect(table->item(row, column)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        Type(keys);
    }

    // Keys go where the focus is; "\r" is Enter.
    static void Type(const QString& keys)
    {
        for (const QChar key : keys) {
            QWidget* focus = QApplication::focusWidget();
            if (key == QLatin1Char('\r'))
                QTest::keyClick(focus, Qt::Key_Return);
            else
                QTest::keyClick(focus, key.toLatin1());
            QCoreApplication::processEvents(); // keys come one by one, the events between them
        }
    }

    // Picks an item of a drop-down list from the keyboard: the focus on it (as Tab gives
    // it), Home, then Down to the item. (The open list is a window of its own, whose
    // activation the headless platform hands back late.)
    bool Choose(const char* name, const QString& text)
    {
        auto* combo = P::W<QComboBox>(d_, name);
        const int index = combo->findText(text);
        if (index < 0 || !combo->isVisible() || !combo->isEnabled())
            return false;
        combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        return combo->currentIndex() == index;
    }

private:
    TDual& d_;
};

} // namespace

class tst_Partitions : public QObject {
    Q_OBJECT

    radiosim::RadioModel model;
    std::unique_ptr<radiosim::PtyRadio> radio;
    std::unique_ptr<TDual> d;

    bool Shown(const char* name) { return P::W(*d, name)->isVisible(); }
    QString Code(int row) { return P::W<QTableWidget>(*d, "part_cliente")->item(row, 1)->text(); }

    // Every step's display is followed by the client-code read: wait for its answer, so
    // that the next click's reply does not share a burst with it.
    bool CodesRead()
    {
        return QTest::qWaitFor(
            [this] { return P::StatusText(*d).isEmpty() && !Code(0).isEmpty(); }, ReplyWaitMs);
    }

    // From CONECTAR through the radio ID, the channel and the password to the partitions.
    void WizardToThePartitions(Technician& hands)
    {
        P::PortSettings(*d).port = radio->SlavePath();
        QVERIFY(hands.Click("Terminal"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown("GroupBox1"), ReplyWaitMs);
        QVERIFY(CodesRead());
        QVERIFY(hands.Click("BConfig"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown("GroupBox2"), ReplyWaitMs);
        QVERIFY(CodesRead());
        QVERIFY(hands.Click("BconfigCanal"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown("GroupBox5"), ReplyWaitMs);
        QVERIFY(CodesRead());
        QVERIFY(hands.Click("BGravaSenhaD"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown("GroupBox10"), ReplyWaitMs);
        QCOMPARE(P::W<QLabel>(*d, "Label7")->text(),
            QString::fromUtf8("Configure as partições do rádio"));
    }

    // GRAVA COD CLIENTE, and the wizard's end once the radio has answered.
    void WriteAndFinish(Technician& hands)
    {
        const int framesBefore = int(model.framesReceived.size());
        QVERIFY(hands.Click("BgravaPart"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown("Label3"), ReplyWaitMs);
        QCOMPARE(P::W<QLabel>(*d, "Label3")->text(),
            QString::fromUtf8("FIM. Para Novo Rádio clique RECOMEÇAR"));
        QVERIFY(!Shown("GroupBox10"));
        QCOMPARE(int(P::WizardStep(*d)), 5);
        QCOMPARE(int(model.framesReceived.size()), framesBefore + 1);
    }

private slots:
    void init()
    {
        model = radiosim::RadioModel();
        radio = std::make_unique<radiosim::PtyRadio>(model);
        QString error;
        QVERIFY2(radio->Open(&error), qPrintable(error));
        d = std::make_unique<TDual>();
        P::CatchErrors(*d);
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
    }
    void cleanup()
    {
        d.reset(); // the tool closes the port before the radio leaves the line
        radio.reset();
    }

    void extendedFormatRadio()
    {
        radiosim::RadioState& s = model.state;
        s.clientFormat = 0x56;
        s.clientCodes = { Raw("12*#", 4), Raw("5\0", 2), Raw(" 77\0", 4), {}, {}, Raw("ABCD", 4),
            {}, Raw("9\0", 2), {} };
        s.communicationType = 1;
        s.eventsPartition = 2;

        Technician hands(*d);
        WizardToThePartitions(hands);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Code(0), QStringLiteral("12BC"));
        QCOMPARE(Code(2), QStringLiteral("  77"));
        QVERIFY(P::W(*d, "Tipo_Comunic")->isEnabled());
        QVERIFY(!Shown("EvtNmonit"));

        hands.ClickCell("part_cliente", 0, 1);
        hands.Type("a1\r2b");
        hands.ClickCell("part_cliente", 6, 1);
        hands.Type("cd\r"); // row 7 is emptied, ready for typing
        hands.ClickCell("part_cliente", 4, 2); // radio events under partition 4
        QVERIFY(hands.Choose("Tipo_Comunic", "CONTACT-ID + ENTRADA PGM"));
        QVERIFY(Shown("EvtNmonit"));
        QVERIFY(Shown("Label39"));
        hands.Retype("EvtNmonit", 0, 1, "850");
        hands.Retype("EvtNmonit", 1, 1, "402\r");
        hands.ClickCell("EvtNmonit", 0, 2); // pin 1 inverted
        hands.ClickCell("EvtNmonit", 1, 2); // pin 2 no longer inverted
        QTRY_COMPARE(
            P::W<QTableWidget>(*d, "EvtNmonit")->item(0, 1)->text(), QStringLiteral("900"));

        WriteAndFinish(hands);
        const QByteArray sent = model.framesReceived.last();
        QCOMPARE(sent.size(), 48);
        QCOMPARE(quint8(sent[3]), quint8(16));
        const QList<QByteArray> codes { "00A1", "002B", "  77", "    ", "    ", "ABCD", "00CD",
            QByteArray(4, '\0'), "    " };
        for (int k = 0; k < 9; ++k)
            QCOMPARE(s.clientCodes[k], codes[k]);
        QCOMPARE(int(s.communicationType), 6);
        QCOMPARE(int(s.eventsPartition), 4);
        QCOMPARE(int(s.inputPin1), 0x8000 | 900);
        QCOMPARE(int(s.inputPin2), 402);

        // The radio's reply to the write is what the grid shows now.
        QCOMPARE(Code(0), QStringLiteral("00A1"));
        QCOMPARE(Code(7), QStringLiteral("    "));
        QCOMPARE(P::W<QComboBox>(*d, "Tipo_Comunic")->currentIndex(), 5);
        QCOMPARE(P::W<QTableWidget>(*d, "part_cliente")->item(4, 2)->checkState(), Qt::Checked);
    }

    void basicFormatRadio()
    {
        radiosim::RadioState& s = model.state;
        s.clientFormat = 0x00;
        s.clientCodes = { Raw("7\0", 2), Raw("1234", 4), Raw("#\0", 2), {}, {}, {}, {}, {}, {} };
        const quint8 typeBefore = s.communicationType;
        const quint8 partitionBefore = s.eventsPartition;
        const quint16 pin1Before = s.inputPin1;

        Technician hands(*d);
        WizardToThePartitions(hands);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Code(0), QStringLiteral("   7"));
        QCOMPARE(Code(2), QStringLiteral("   C"));
        QVERIFY(!P::W(*d, "Tipo_Comunic")->isEnabled());

        hands.ClickCell("part_cliente", 0, 1);
        hands.Type("9a5");
        hands.ClickCell("part_cliente", 2, 1);
        hands.Type("4"); // refused: partition 2 cannot be typed, and is emptied
        QVERIFY(Code(2).isEmpty());
        hands.ClickCell("part_cliente", 3, 2); // a tick that a basic radio is not sent

        WriteAndFinish(hands);
        const QByteArray sent = model.framesReceived.last();
        QCOMPARE(sent.size(), 42);
        QCOMPARE(quint8(sent[3]), quint8(1));
        const QList<QByteArray> codes { "09A5", "1234", QByteArray(4, '\0'), "    ", "    ", "    ",
            "    ", "    ", "    " };
        for (int k = 0; k < 9; ++k)
            QCOMPARE(s.clientCodes[k], codes[k]);
        QCOMPARE(s.communicationType, typeBefore);
        QCOMPARE(s.eventsPartition, partitionBefore);
        QCOMPARE(s.inputPin1, pin1Before);
        QCOMPARE(Code(0), QStringLiteral("09A5"));
        QCOMPARE(P::W<QTableWidget>(*d, "part_cliente")->item(0, 2)->checkState(), Qt::Checked);
    }
};

QTEST_MAIN(tst_Partitions)
#include "tst_partitions.moc"
