// The partition group through the real window and a pseudo-terminal: the 203 frames on the
// line, replies shown in the grids, and typing, ticking and editing with real key presses
// and clicks.
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "ptyline.h"
#include "tdualprobe.h"

using P = TDualProbe;

namespace {

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// Replies of radio 1 (frame bytes 0 to 3, nine codes of five bytes, then the rest).
const QByteArray BasicReply = Hex("0100cb00 31322a2300 3500000000 3132333400 0000000000 "
                                  "0000000000 0000000000 0000000000 0000000000 0000000000 00 399f");
const QByteArray ExtendedReply = Hex("0100cb00 3100000000 3200000000 3300000000 3400000000 "
                                     "3500000000 3600000000 3700000000 3800000000 3900000000 "
                                     "56 9181 e783 0602 0000"); // type 6, radio events row 2

QTableWidgetItem* Item(TDual& d, const char* grid, int row, int column)
{
    return P::W<QTableWidget>(d, grid)->item(row, column);
}

QString Code(TDual& d, int row)
{
    return Item(d, "part_cliente", row, 1)->text();
}

QList<int> TickedRows(TDual& d, const char* grid = "part_cliente", int column = 2)
{
    QList<int> rows;
    auto* table = P::W<QTableWidget>(d, grid);
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, column)->checkState() == Qt::Checked)
            rows << row;
    return rows;
}

void ClickCell(TDual& d, const char* grid, int row, int column)
{
    auto* table = P::W<QTableWidget>(d, grid);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
        table->visualItemRect(table->item(row, column)).center());
}

void DoubleClickCell(TDual& d, const char* grid, int row, int column)
{
    auto* table = P::W<QTableWidget>(d, grid);
    const QPoint centre = table->visualItemRect(table->item(row, column)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
}

// Keys go where the keyboard focus is, as they do for a technician.
void Type(const QString& keys)
{
    for (const QChar key : keys) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        if (key == QLatin1Char('\r'))
            QTest::keyClick(focus, Qt::Key_Return);
        else if (key == QLatin1Char('\b'))
            QTest::keyClick(focus, Qt::Key_Backspace);
        else
            QTest::keyClick(focus, key.toLatin1());
        QCoreApplication::processEvents(); // keys come one by one, the events between them
    }
}

QWidget* EditorOf(TDual& d, const char* grid, int row, int column)
{
    auto* table = P::W<QTableWidget>(d, grid);
    return table->indexWidget(table->model()->index(row, column));
}

} // namespace

class tst_PartitionsWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<PtyLine> line;
    std::unique_ptr<TDual> d;

    // A reply from the radio, through the line and the receive path: handled once the
    // dispatcher has taken the time of its burst.
    void Reply(const QByteArray& frame)
    {
        P::ReplyTimeText(*d).clear();
        line->Write(frame);
        QVERIFY(QTest::qWaitFor([this] { return !P::ReplyTimeText(*d).isEmpty(); }, 3000));
    }
    QByteArray Sent(qsizetype bytes) { return line->ReadAtLeast(bytes); }
    void Click(const char* button) { QTest::mouseClick(P::Button(*d, button), Qt::LeftButton); }

private slots:
    // Connected to radio 1, with the partition group in view (the wizard's step 4).
    void init()
    {
        line = std::make_unique<PtyLine>();
        d = std::make_unique<TDual>();
        P::PortSettings(*d).port = line->Path();
        P::Button(*d, "Terminal")->click();
        QCOMPARE(Sent(8).toHex(), QByteArray("0000e200000015b8"));
        P::SelectRadio(*d, 1);
        P::AwaitingReply(*d) = false;
        P::WizardStep(*d) = 4;
        P::W(*d, "GroupBox10")->show();
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
    }
    void cleanup()
    {
        d.reset();
        line.reset();
    }

    void readRequestEmptiesTheCodes()
    {
        Reply(BasicReply);
        QCOMPARE(Code(*d, 0), QStringLiteral("12BC"));
        P::W<QLabel>(*d, "UserText")->setText("---");
        Click("BlePart");
        QCOMPARE(Sent(8).toHex(), QByteArray("0100cb020000bdf5"));
        for (int row = 0; row < 9; ++row)
            QVERIFY(Code(*d, row).isEmpty());
        QVERIFY(P::W<QLabel>(*d, "UserText")->text().isEmpty());
        QCOMPARE(P::StatusText(*d), QStringLiteral("Aguardando Resposta"));
        QCOMPARE(int(P::WizardStep(*d)), 4);
        QCOMPARE(int(P::LastWriteCommand(*d)), 0);
    }

    // A radio in the basic format: the codes as they came, written back in mode 1.
    void basicReplyAndWriteOfCodesOnly()
    {
        Reply(BasicReply);
        const QStringList shown
            = { "12BC", "   5", "1234", "    ", "    ", "    ", "    ", "    ", "    " };
        for (int row = 0; row < 9; ++row)
            QCOMPARE(Code(*d, row), shown[row]);
        auto* type = P::W<QComboBox>(*d, "Tipo_Comunic");
        QCOMPARE(type->currentIndex(), 0);
        QVERIFY(!type->isEnabled());
        QCOMPARE(TickedRows(*d), QList<int> { 0 });
        QVERIFY(P::W(*d, "EvtNmonit")->isHidden());
        QVERIFY(P::Log(*d).isEmpty());

        Click("BgravaPart");
        QCOMPARE(Sent(42).toHex(' '),
            Hex("0100cb01 31324243 20202035 31323334 20202020 20202020 20202020 20202020 "
                "20202020 20202020 c4e7")
                .toHex(' '));
        QCOMPARE(int(P::LastWriteCommand(*d)), 203);
        QCOMPARE(int(P::WizardStep(*d)), 5);
        QCOMPARE(P::StatusText(*d), QStringLiteral("Aguardando Resposta"));
        QVERIFY(Code(*d, 0).isEmpty());
    }

    void extendedReplyShowsTheReportingSettings()
    {
        Reply(ExtendedReply);
        QCOMPARE(Code(*d, 8), QStringLiteral("   9"));
        auto* type = P::W<QComboBox>(*d, "Tipo_Comunic");
        QVERIFY(type->isEnabled());
        QCOMPARE(type->currentText(), QStringLiteral("CONTACT-ID + ENTRADA PGM"));
        QCOMPARE(TickedRows(*d), QList<int> { 2 });
        auto* inputs = P::W<QTableWidget>(*d, "EvtNmonit");
        QVERIFY(!inputs->isHidden());
        QVERIFY(inputs->isEnabled());
        QVERIFY(!P::W(*d, "ImRadioMonit")->isHidden());
        QCOMPARE(inputs->item(0, 1)->text(), QStringLiteral("999"));
        QCOMPARE(inputs->item(1, 1)->text(), QStringLiteral("401"));
        QCOMPARE(TickedRows(*d, "EvtNmonit"), (QList<int> { 0, 1 }));
        for (const char* shown : { "Label39", "Label40", "Label41" })
            QVERIFY2(!P::W(*d, shown)->isHidden(), shown);
        for (const char* hidden : { "NxL_JFL", "NxL_JFL915" })
            QVERIFY2(P::W(*d, hidden)->isHidden(), hidden);

        // Marker 0x55: the inputs go back to their defaults and their grid is disabled.
        QByteArray defaults = ExtendedReply;
        defaults[49] = 0x55;
        Reply(defaults);
        QVERIFY(!inputs->isHidden());
        QVERIFY(!inputs->isEnabled());
        QCOMPARE(inputs->item(0, 1)->text(), QStringLiteral("130"));
        QCOMPARE(inputs->item(1, 1)->text(), QStringLiteral("401"));
        QCOMPARE(TickedRows(*d, "EvtNmonit"), QList<int> { 1 });

        // The master radio: partition 0 only, then the basic format.
        P::SelectRadio(*d, 0);
        QByteArray master = ExtendedReply;
        master[0] = 0;
        master[4] = '7';
        Reply(master);
        QCOMPARE(Code(*d, 0), QStringLiteral("   7"));
        QCOMPARE(Code(*d, 1), QStringLiteral("   2"));
        QCOMPARE(type->currentIndex(), 0);
        QVERIFY(!type->isEnabled());
        QVERIFY(inputs->isHidden());
        QCOMPARE(TickedRows(*d), QList<int> { 0 });
    }

    void visibilityFollowsTheType_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("shown");
        const QStringList inputs { "EvtNmonit", "ImRadioMonit" };
        QTest::newRow("CONTACT-ID") << 0 << QStringList();
        QTest::newRow("NAO MONITORADA") << 4 << inputs;
        QTest::newRow("CONTACT-ID + ENTRADA PGM")
            << 5 << inputs + QStringList { "Label39", "Label40", "Label41" };
        QTest::newRow("JFL / COMPATEC") << 6 << QStringList { "NxL_JFL", "NxL_JFL915" };
    }
    void visibilityFollowsTheType()
    {
        QFETCH(int, item);
        QFETCH(QStringList, shown);
        Reply(ExtendedReply); // type item 5: everything but the JFL lines in view
        auto* type = P::W<QComboBox>(*d, "Tipo_Comunic");
        QTest::keyClick(type, Qt::Key_Home);
        for (int i = 0; i < item; ++i)
            QTest::keyClick(type, Qt::Key_Down);
        QCOMPARE(type->currentIndex(), item);
        for (const char* name : { "EvtNmonit", "ImRadioMonit", "Label39", "Label40", "Label41",
                 "NxL_JFL", "NxL_JFL915" })
            QCOMPARE(P::W(*d, name)->isHidden(), !shown.contains(QLatin1String(name)));
        QCOMPARE(P::W(*d, "EvtNmonit")->isEnabled(), shown.contains("EvtNmonit"));
    }

    // The Part's example: type 6, row 3, pin 2 401 inverted, pin 1 130 not inverted.
    void writeWithReportingSettings()
    {
        QByteArray reply = ExtendedReply;
        reply[50] = char(0x82); // pin 2: 130, not inverted
        reply[51] = 0;
        reply[52] = char(0x91); // pin 1: 401 inverted
        reply[53] = char(0x81);
        Reply(reply);
        ClickCell(*d, "part_cliente", 3, 2);
        ClickCell(*d, "EvtNmonit", 0, 2); // pin 1 not inverted
        ClickCell(*d, "EvtNmonit", 1, 2); // pin 2 inverted
        DoubleClickCell(*d, "EvtNmonit", 0, 1);
        QVERIFY(EditorOf(*d, "EvtNmonit", 0, 1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        Type("130\r");
        QTRY_VERIFY(!EditorOf(*d, "EvtNmonit", 0, 1));
        DoubleClickCell(*d, "EvtNmonit", 1, 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        Type("401");
        ClickCell(*d, "part_cliente", 0, 0); // the edit ends with the focus elsewhere
        QTRY_VERIFY(!EditorOf(*d, "EvtNmonit", 1, 1));

        Click("BgravaPart");
        const QByteArray frame = Sent(48);
        QCOMPARE(frame.size(), 48);
        QCOMPARE(quint8(frame[3]), quint8(16));
        QCOMPARE(frame.mid(4, 8).toHex(), QByteArray("2020203120202032"));
        QCOMPARE(frame.mid(40, 6).toHex(), QByteArray("060391818200"));
    }

    // A type byte that the list lacks: no item shown, written back as it came until the
    // user chooses an item.
    void unlistedTypeIsWrittenBackAsItCame()
    {
        QByteArray reply = ExtendedReply;
        reply[54] = char(0xC7);
        Reply(reply);
        auto* type = P::W<QComboBox>(*d, "Tipo_Comunic");
        QVERIFY(type->isEnabled());
        QCOMPARE(type->currentIndex(), -1);
        QVERIFY(P::W(*d, "EvtNmonit")->isHidden());
        Click("BgravaPart");
        QCOMPARE(Sent(48).mid(40, 2).toHex(), QByteArray("c702"));

        Reply(reply);
        type->setCurrentIndex(2);
        Click("BgravaPart");
        QCOMPARE(Sent(48).mid(40, 2).toHex(), QByteArray("0302"));
    }

    void shortReplyIsNotDecoded_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("47 bytes") << BasicReply.left(47);
        QTest::newRow("extended marker, 55 bytes") << ExtendedReply.left(55);
    }
    void shortReplyIsNotDecoded()
    {
        QFETCH(QByteArray, frame);
        Reply(ExtendedReply);
        Click("BlePart");
        Sent(8);
        Reply(frame);
        QCOMPARE(P::Log(*d), QStringLiteral("Resposta incompleta (%1 bytes)\n").arg(frame.size()));
        QVERIFY(Code(*d, 0).isEmpty());
        QVERIFY(P::W(*d, "Tipo_Comunic")->isEnabled());
        QCOMPARE(TickedRows(*d), QList<int> { 2 });
        QVERIFY(P::StatusText(*d).isEmpty()); // the reply came
    }

    // Typing in the code column: code characters only, upper case, Enter to the next
    // (emptied) row, a refused key empties the cell.
    void typingCodes()
    {
        Reply(ExtendedReply);
        ClickCell(*d, "part_cliente", 0, 1);
        Type("1b");
        QVERIFY(EditorOf(*d, "part_cliente", 0, 1));
        Type("c9f\r"); // the fifth character does not fit
        QCOMPARE(Code(*d, 0), QStringLiteral("1BC9"));
        QCOMPARE(P::W<QTableWidget>(*d, "part_cliente")->currentRow(), 1);
        QVERIFY(Code(*d, 1).isEmpty());
        Type("a0\b7");
        Type("\r");
        QCOMPARE(Code(*d, 1), QStringLiteral("A7"));
        Type("5G"); // refused: the cell is emptied
        QVERIFY(Code(*d, 2).isEmpty());
        Type("12");
        ClickCell(*d, "part_cliente", 7, 0); // leaving the edit keeps it
        QCOMPARE(Code(*d, 2), QStringLiteral("12"));
        QCOMPARE(Code(*d, 7), QStringLiteral("   8"));
        Type("G"); // outside an edit too, and on whatever column the row was selected
        QVERIFY(Code(*d, 7).isEmpty());
        ClickCell(*d, "part_cliente", 8, 1);
        Type("d\r"); // the last row: Enter ends the edit and keeps the code
        QTRY_VERIFY(!EditorOf(*d, "part_cliente", 8, 1));
        QCOMPARE(Code(*d, 8), QStringLiteral("D"));
        QCOMPARE(P::W<QTableWidget>(*d, "part_cliente")->currentRow(), 8);

        Click("BgravaPart");
        const QByteArray frame = Sent(48);
        QCOMPARE(frame.mid(4, 36).toHex(' '),
            Hex("31424339 30304137 30303132 20202034 20202035 20202036 20202037 00000000 "
                "30303044")
                .toHex(' '));
    }

    // Whatever gets into the editor, the cell ends up with code characters only.
    void pastedTextIsCleanedWhenTheEditEnds()
    {
        Reply(ExtendedReply);
        QApplication::clipboard()->setText(QStringLiteral("1g2-"));
        ClickCell(*d, "part_cliente", 3, 1);
        Type("a");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(qobject_cast<QLineEdit*>(EditorOf(*d, "part_cliente", 3, 1))->text(),
            QStringLiteral("A1g2"));
        ClickCell(*d, "part_cliente", 0, 0);
        QCOMPARE(Code(*d, 3), QStringLiteral("A12"));
        ClickCell(*d, "part_cliente", 3, 1);
        Type("\b"); // outside an edit Backspace empties the code
        QVERIFY(Code(*d, 3).isEmpty());
    }

    // A code opened for editing and left unchanged keeps its bytes; Escape abandons an edit.
    void editorLeftUnchangedKeepsTheCode()
    {
        Reply(ExtendedReply);
        DoubleClickCell(*d, "part_cliente", 4, 1);
        QVERIFY(EditorOf(*d, "part_cliente", 4, 1));
        ClickCell(*d, "part_cliente", 0, 0);
        QCOMPARE(Code(*d, 4), QStringLiteral("   5"));
        DoubleClickCell(*d, "part_cliente", 4, 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!EditorOf(*d, "part_cliente", 4, 1));
        QCOMPARE(Code(*d, 4), QStringLiteral("   5"));
    }

    // The basic format: only partition 0 can be typed.
    void basicFormatTypesPartitionZeroOnly()
    {
        Reply(BasicReply);
        ClickCell(*d, "part_cliente", 0, 1);
        Type("a1\r"); // Enter moves to row 1, which refuses: its code is emptied
        QCOMPARE(Code(*d, 0), QStringLiteral("A1"));
        QVERIFY(Code(*d, 1).isEmpty());
        Type("7");
        QVERIFY(Code(*d, 1).isEmpty());
        QVERIFY(!EditorOf(*d, "part_cliente", 1, 1));
        DoubleClickCell(*d, "part_cliente", 2, 1); // no editor opens either
        QVERIFY(!EditorOf(*d, "part_cliente", 2, 1));
        QCOMPARE(Code(*d, 2), QStringLiteral("1234"));
        ClickCell(*d, "part_cliente", 0, 1);
        Type("b");
        QCOMPARE(Code(*d, 0), QStringLiteral("B"));
    }

    // Exactly one row is ticked under "Eventos Rádio"; the ticked box cannot be unticked.
    void singleRadioEventsTick()
    {
        QCOMPARE(TickedRows(*d), QList<int> { 0 });
        ClickCell(*d, "part_cliente", 4, 2);
        QCOMPARE(TickedRows(*d), QList<int> { 4 });
        ClickCell(*d, "part_cliente", 4, 2);
        QCOMPARE(TickedRows(*d), QList<int> { 4 });
        ClickCell(*d, "part_cliente", 8, 2);
        QCOMPARE(TickedRows(*d), QList<int> { 8 });
    }

    void inputEventClampedWhenTheEditEnds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("850") << "850"
                             << "900";
        QTest::newRow("800") << "800"
                             << "900";
        QTest::newRow("799") << "799"
                             << "799";
        QTest::newRow("900") << "900"
                             << "900";
        QTest::newRow("below 100: not taken") << "99"
                                              << "999";
    }
    void inputEventClampedWhenTheEditEnds()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Reply(ExtendedReply);
        DoubleClickCell(*d, "EvtNmonit", 0, 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        Type(typed);
        ClickCell(*d, "part_cliente", 0, 0);
        QTRY_VERIFY(!EditorOf(*d, "EvtNmonit", 0, 1));
        QCOMPARE(Item(*d, "EvtNmonit", 0, 1)->text(), kept);
    }
};

QTEST_MAIN(tst_PartitionsWindow)
#include "tst_partitions_window.moc"
