// The window as it starts: every control where it belongs, with its caption and state,
// the grids' columns and cells, the edit limits, the fonts and the pictures.

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QValidator>

#include "tdualprobe.h"

namespace {

const QString Any = QStringLiteral("<any>"); // caption not checked

QString Caption(QWidget* w)
{
    if (auto* box = qobject_cast<QGroupBox*>(w))
        return box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        return text->toPlainText();
    return QString();
}

QImage Opaque(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

bool HasColour(const QImage& image, QColor colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class tst_Layout : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void control_data();
    void control();
    void fixedItems();
    void editLimits_data();
    void editLimits();
    void looks_data();
    void looks();
    void readingGrids_data();
    void readingGrids();
    void dataGrids_data();
    void dataGrids();
    void checkCellsToggleInTheirMiddle();
    void cellEditors();
    void pictures();
    void snapshots();

private:
    TDual* d = nullptr;
};

void tst_Layout::init()
{
    d = new TDual;
    d->ErrorDisplay = [](const QString& text) { QFAIL(qPrintable(text)); };
}

void tst_Layout::cleanup()
{
    delete d;
    d = nullptr;
}

void tst_Layout::window()
{
    QCOMPARE(d->windowTitle(), QStringLiteral("BRENTOLA ZADUDOZOZOR- v1.3_Q3_2020"));
    QCOMPARE(d->size(), QSize(914, 728));
    QVERIFY(d->centralWidget());
    QCOMPARE(d->centralWidget()->objectName(), QStringLiteral("centralwidget"));
    QCOMPARE(d->centralWidget()->geometry(), QRect(0, 0, 914, 709));
    auto* status = TDualProbe::W<QStatusBar>(*d, "Status");
    QCOMPARE(d->statusBar(), status);
    QCOMPARE(status->geometry(), QRect(0, 709, 914, 19));

    auto* pages = TDualProbe::W<QTabWidget>(*d, "PG");
    QCOMPARE(pages->count(), 3);
    const char* names[] = { "TabSheet2", "TabSheet3", "UPDATE_RF" };
    const char* captions[] = { "PROGRAMAÇÃO DO RÁDIO", "LEITURAS", "UPGRADE DE FIRMWARE" };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(pages->widget(i)->objectName(), QLatin1String(names[i]));
        QCOMPARE(pages->tabText(i), QString::fromUtf8(captions[i]));
    }
    QCOMPARE(pages->currentIndex(), 0);

    auto* log = TDualProbe::W<QPlainTextEdit>(*d, "Tx");
    QVERIFY(log->isReadOnly());
    QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void tst_Layout::control_data()
{
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("enabled");

    struct Row {
        const char* name;
        const char* cls;
        const char* parent;
        QRect bounds;
        const char* caption; // nullptr: not checked
        bool shown;
        bool enabled;
    };
    const char* B = "QPushButton";
    const char* G = "QGroupBox";
    const char* L = "QLabel";
    const char* E = "QLineEdit";
    const char* K = "QComboBox";
    const char* R = "QRadioButton";
    const char* X = "QCheckBox";
    const char* T = "QTableWidget";
    const char* P = "QProgressBar";
    const char* top = "centralwidget";
    const char* tab1 = "TabSheet2";
    const char* tab2 = "TabSheet3";
    const char* tab3 = "UPDATE_RF";
    const bool on = true;
    const bool off = false;
    // clang-format off
    const Row rows[] = {
        // Top strip
        {"GroupBox4", G, top, {8, 8, 369, 57}, "CONEXÃO COM CABO ZADUDOZOZOR", on, on},
        {"Terminal", B, "GroupBox4", {208, 22, 129, 25}, "&CONECTAR", on, on},
        {"Porta", K, "GroupBox4", {88, 21, 97, 28}, nullptr, on, on},
        {"BaudRate", K, "GroupBox4", {32, 16, 73, 28}, "9600", off, on},
        {"Decimal", X, "GroupBox4", {192, 8, 73, 17}, "Hexa/Dec", off, on},
        {"GroupBox11", G, top, {384, 8, 145, 57}, "ID RÁDIO", on, on},
        {"TID", E, "GroupBox11", {26, 23, 95, 28}, "0", on, off},
        {"Tx", "QPlainTextEdit", top, {536, 6, 364, 62}, nullptr, on, on},
        {"PG", "QTabWidget", top, {8, 80, 889, 617}, nullptr, on, off},
        // PROGRAMAÇÃO DO RÁDIO
        {"Label2", L, tab1, {152, 12, 108, 20}, "Comece AQUI", off, on},
        {"Label3", L, tab1, {40, 500, 322, 20}, "FIM. Para Novo Rádio clique RECOMEÇAR", off, on},
        {"Label4", L, tab1, {525, 12, 208, 20}, "Este é um rádio MESTRE!!!", off, on},
        {"Label6", L, tab1, {448, 36, 353, 20}, "Não é possível configurá-lo com este software", off, on},
        {"Label7", L, tab1, {530, 76, 178, 20}, "Configure o ID do rádio", off, on},
        {"BLeLocal", B, tab1, {137, 40, 137, 41}, "LEITURA LOCAL", on, off},
        {"Param", T, tab1, {34, 104, 342, 233}, nullptr, on, on},
        {"GroupBox1", G, tab1, {448, 120, 377, 121}, "ID RÁDIO", off, on},
        {"ID", K, "GroupBox1", {136, 18, 97, 28}, "0", on, on},
        {"HBaixoConsumo", X, "GroupBox1", {60, 55, 249, 17}, "Suspender com tensão abaixo 9,5V", off, on},
        {"BConfig", B, "GroupBox1", {104, 80, 161, 33}, "CONFIGURA", on, on},
        {"GroupBox2", G, tab1, {448, 243, 377, 62}, "CANAL", off, on},
        {"BCanal", K, "GroupBox2", {24, 22, 73, 28}, "1", on, on},
        {"BconfigCanal", B, "GroupBox2", {128, 18, 209, 33}, "CONFIGURA CANAL DE RF", on, on},
        {"GroupBox5", G, tab1, {448, 312, 377, 161}, "SENHA", off, on},
        {"Label1", L, "GroupBox5", {8, 64, 102, 20}, "Senha Antiga", off, on},
        {"UserText", L, "GroupBox5", {33, 123, 24, 24}, "---", on, on},
        {"TSenha", E, "GroupBox5", {10, 36, 91, 25}, "0", on, on},
        {"RadioButton1", R, "GroupBox5", {118, 19, 113, 17}, "SEM trava", on, on},
        {"RadioButton2", R, "GroupBox5", {118, 48, 113, 17}, "COM trava", on, on},
        {"RadioButton3", R, "GroupBox5", {118, 77, 113, 17}, "Teste Senha", on, on},
        {"ASenha", E, "GroupBox5", {13, 92, 89, 25}, "0", off, on},
        {"BGravaSenhaD", B, "GroupBox5", {232, 14, 136, 27}, "GRAVA S/TRAVA", on, on},
        {"senha1", B, "GroupBox5", {232, 14, 138, 27}, "GRAVA C/TRAVA", off, on},
        {"senha2", B, "GroupBox5", {232, 48, 138, 27}, "CONFIRMA", off, off},
        {"BTesteSenha", B, "GroupBox5", {232, 48, 137, 27}, "TESTE DE SENHA", off, on},
        {"senha4", B, "GroupBox5", {232, 82, 68, 27}, "CANCELA", off, off},
        {"senha3", B, "GroupBox5", {302, 82, 68, 27}, "ENVIA", off, off},
        {"GroupBox10", G, tab1, {416, 56, 441, 497}, "PARTIÇÃO", off, on},
        {"BlePart", B, "GroupBox10", {32, 24, 170, 33}, "LE COD CLIENTE", on, on},
        {"BgravaPart", B, "GroupBox10", {215, 24, 170, 33}, "GRAVA COD CLIENTE", on, on},
        {"part_cliente", T, "GroupBox10", {56, 64, 308, 217}, nullptr, on, on},
        {"Tipo_Comunic", K, "GroupBox10", {92, 285, 233, 28}, "CONTACT-ID", on, off},
        {"EvtNmonit", T, "GroupBox10", {56, 315, 305, 73}, nullptr, off, off},
        {"ImRadioMonit", L, "GroupBox10", {10, 400, 257, 81}, nullptr, off, on},
        {"Label39", L, "GroupBox10", {297, 418, 106, 17}, "NÃO FUNCIONA", off, on},
        {"Label41", L, "GroupBox10", {273, 434, 138, 17}, "- 460M 5r2 ou inferior", off, on},
        {"Label40", L, "GroupBox10", {273, 450, 154, 17}, "- 915M 50r15 ou inferior", off, on},
        {"NxL_JFL", L, "GroupBox10", {8, 401, 457, 21}, "JFL: 460MHz FW 6r11 e NS acima de 00.0.154.078 ", off, on},
        {"NxL_JFL915", L, "GroupBox10", {40, 422, 457, 21}, "915MHz FW 50r25 e NS acima de 0.0.15.232 ", off, on},
        {"NxButton2", B, tab1, {33, 448, 137, 41}, "VOLTA", on, off},
        {"NxButton1", B, tab1, {225, 448, 137, 41}, "RECOMEÇAR", on, on},
        // LEITURAS
        {"GroupBox6", G, tab2, {8, 8, 401, 121}, "Relé Bypass", on, on},
        {"Label5", L, "GroupBox6", {72, 46, 62, 20}, "T(min)=", on, on},
        {"tbypass", E, "GroupBox6", {138, 44, 32, 28}, "1", on, on},
        {"BitBtn2", B, "GroupBox6", {192, 16, 169, 41}, "DESLIGA BYPASS", on, on},
        {"BitBtn1", B, "GroupBox6", {192, 64, 169, 41}, "LIGA BYPASS", on, on},
        {"GroupBox7", G, tab2, {8, 144, 401, 97}, "Liga/Desliga Central (PGM Interna)", on, on},
        {"PulsaReleS", K, "GroupBox7", {88, 40, 49, 25}, "1", on, on},
        {"Label48", L, "GroupBox7", {144, 43, 26, 17}, "Seg.", on, on},
        {"BitBtn3", B, "GroupBox7", {192, 32, 169, 41}, "PULSA PGM RÁDIO", on, on},
        {"GroupBox8", G, tab2, {8, 256, 401, 249}, "Ruído", on, on},
        {"Label13", L, "GroupBox8", {28, 36, 42, 20}, "MIN", on, on},
        {"Label18", L, "GroupBox8", {90, 36, 42, 20}, "MÉD", on, on},
        {"Label19", L, "GroupBox8", {154, 36, 42, 20}, "MÁX", off, on},
        {"Ruido_Max", P, "GroupBox8", {32, 56, 25, 137}, nullptr, on, on},
        {"Ruido_Med", P, "GroupBox8", {96, 56, 25, 137}, nullptr, on, on},
        {"Ruido_Min", P, "GroupBox8", {160, 56, 25, 137}, nullptr, off, on},
        {"TRuido_Max", L, "GroupBox8", {17, 200, 45, 15}, "---------", on, on},
        {"TRuido_Med", L, "GroupBox8", {83, 200, 45, 15}, "---------", on, on},
        {"TRuido_Min", L, "GroupBox8", {147, 200, 45, 15}, "---------", off, on},
        {"BRuido", B, "GroupBox8", {192, 96, 169, 41}, "LEITURA RUIDO", on, on},
        {"GroupBox12", G, tab2, {424, 8, 449, 497}, "Diagnóstico", on, on},
        {"BleDiag", B, "GroupBox12", {128, 24, 201, 41}, "LEITURA DIAGNÓSTICO", on, on},
        {"Diag", T, "GroupBox12", {12, 75, 425, 409}, nullptr, on, on},
        // UPGRADE DE FIRMWARE
        {"Ondavia460", L, tab3, {512, 16, 113, 457}, nullptr, on, on},
        {"GroupBox3", G, tab3, {136, 40, 225, 265}, "ATUALIZAÇÃO DE FIRMWARE", on, on},
        {"OpenFile", B, "GroupBox3", {48, 40, 137, 57}, "ABRE AR&QUIVO", on, on},
        {"programa", B, "GroupBox3", {48, 104, 137, 57}, "GRAVA FIRM&WARE", on, off},
        {"PosFW", E, "GroupBox3", {32, 164, 49, 25}, "0x0000", off, on},
        {"pause", B, "GroupBox3", {32, 190, 81, 28}, "PA&USA", on, off},
        {"cancel", B, "GroupBox3", {120, 190, 81, 28}, "CA&NCELA", on, off},
        {"GroupBox9", G, tab3, {184, 320, 121, 129}, "TIMEOUT", on, on},
        {"b1s", R, "GroupBox9", {24, 24, 65, 17}, "1s", on, on},
        {"b15s", R, "GroupBox9", {24, 40, 65, 17}, "1,5s", on, on},
        {"b2s", R, "GroupBox9", {24, 56, 65, 17}, "2s", on, on},
        {"b3s", R, "GroupBox9", {24, 72, 65, 17}, "3s", on, on},
        {"b5s", R, "GroupBox9", {24, 88, 65, 17}, "5s", on, on},
        {"b7s", R, "GroupBox9", {24, 104, 65, 17}, "7s", on, on},
        {"ID0", E, tab3, {336, 453, 33, 21}, "0", off, off},
        {"ID1", E, tab3, {376, 453, 33, 21}, "0", off, off},
        {"ID2", E, tab3, {416, 453, 33, 21}, "0", off, off},
        {"ID3", E, tab3, {456, 453, 33, 21}, "0", off, off},
        {"BResetRadio", B, tab3, {200, 456, 33, 25}, "R", off, on},
        {"Button_ECO", B, tab3, {240, 456, 41, 25}, "ECO", off, on},
        {"andamento", P, tab3, {8, 480, 473, 17}, nullptr, on, on},
    };
    // clang-format on
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString::fromLatin1(row.cls) << QString::fromLatin1(row.parent)
                                << row.bounds
                                << (row.caption ? QString::fromUtf8(row.caption) : Any) << row.shown
                                << row.enabled;
    }
}

// Captions are as the window starts: TID, BCanal and part_cliente's width are set at start.
void tst_Layout::control()
{
    QFETCH(QString, cls);
    QFETCH(QString, parent);
    QFETCH(QRect, bounds);
    QFETCH(QString, caption);
    QFETCH(bool, shown);
    QFETCH(bool, enabled);

    QWidget* w = TDualProbe::W(*d, QTest::currentDataTag());
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), cls);
    QVERIFY(w->parentWidget());
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), bounds);
    if (caption != Any)
        QCOMPARE(Caption(w), caption);
    QCOMPARE(w->isVisibleTo(w->parentWidget()), shown);
    QCOMPARE(w->isEnabledTo(w->parentWidget()), enabled);
}

void tst_Layout::fixedItems()
{
    auto* baud = TDualProbe::W<QComboBox>(*d, "BaudRate");
    QStringList rates;
    for (int i = 0; i < baud->count(); ++i)
        rates << baud->itemText(i);
    QCOMPARE(rates,
        QStringList({ "Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400",
            "19200", "38400", "56000", "57600", "115200", "128000", "256000" }));
    QCOMPARE(baud->currentIndex(), 7);
    QCOMPARE(baud->focusPolicy(), Qt::NoFocus);

    auto* type = TDualProbe::W<QComboBox>(*d, "Tipo_Comunic");
    QStringList types;
    for (int i = 0; i < type->count(); ++i)
        types << type->itemText(i);
    QCOMPARE(types,
        QStringList({ "CONTACT-ID", "Ultra 738", "Paradox SP / MG", "INTELBRAS AMT4010",
            QString::fromUtf8("NÃO MONITORADA (ENT. PGM)"), "CONTACT-ID + ENTRADA PGM",
            "JFL / COMPATEC", QString::fromUtf8("Não Monitorada (4 Ent. PGM)"),
            "Paradox SP/MG Sem ccomandos", "CWR-32" }));
    QCOMPARE(type->maxVisibleItems(), 6);

    // Combo boxes with an edit field, and drop-down lists without.
    for (const char* name : { "ID", "PulsaReleS" })
        QVERIFY2(TDualProbe::W<QComboBox>(*d, name)->isEditable(), name);
    for (const char* name : { "Porta", "BaudRate", "BCanal", "Tipo_Comunic" })
        QVERIFY2(!TDualProbe::W<QComboBox>(*d, name)->isEditable(), name);

    QVERIFY(TDualProbe::Button(*d, "Decimal")->isChecked());
    QVERIFY(TDualProbe::Button(*d, "RadioButton1")->isChecked());
    QVERIFY(!TDualProbe::Button(*d, "RadioButton2")->isChecked());
    for (const char* name : { "b1s", "b15s", "b2s", "b3s", "b5s" })
        QVERIFY2(!TDualProbe::Button(*d, name)->isChecked(), name);
    QVERIFY(TDualProbe::Button(*d, "b7s")->isChecked());

    QCOMPARE(TDualProbe::W(*d, "HBaixoConsumo")->toolTip(),
        QString::fromUtf8("Quando o rádio ficar mais de 10s com tensão abaixo de 9,5V,  suspende "
                          "o funcionamento para preservar bateria"));
    QCOMPARE(TDualProbe::W(*d, "TSenha")->toolTip(),
        QString::fromUtf8("Senha de no mínimo 4 caracteres"));

    for (const char* name : { "Ruido_Max", "Ruido_Med", "Ruido_Min" }) {
        auto* bar = TDualProbe::W<QProgressBar>(*d, name);
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QVERIFY(!bar->isTextVisible());
    }
    auto* progress = TDualProbe::W<QProgressBar>(*d, "andamento");
    QCOMPARE(progress->orientation(), Qt::Horizontal);
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(progress->value(), 0);
}

void tst_Layout::editLimits_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<bool>("tabStop");
    QTest::addColumn<bool>("digitsOnly");

    QTest::newRow("TID") << 4 << false << true;
    QTest::newRow("TSenha") << 9 << true << true;
    QTest::newRow("ASenha") << 9 << true << true;
    QTest::newRow("tbypass") << 2 << true << true;
    QTest::newRow("ID0") << 3 << false << true;
    QTest::newRow("ID1") << 3 << false << true;
    QTest::newRow("ID2") << 3 << false << true;
    QTest::newRow("ID3") << 3 << false << true;
    QTest::newRow("PosFW") << 6 << true << false;
}

void tst_Layout::editLimits()
{
    QFETCH(int, maxLength);
    QFETCH(bool, tabStop);
    QFETCH(bool, digitsOnly);

    auto* edit = TDualProbe::W<QLineEdit>(*d, QTest::currentDataTag());
    QCOMPARE(edit->maxLength(), maxLength);
    QCOMPARE(edit->focusPolicy() != Qt::NoFocus, tabStop);
    const QValidator* validator = edit->validator();
    QCOMPARE(validator != nullptr, digitsOnly);
    if (!validator)
        return;
    auto accepts = [validator](QString text) {
        int position = 0;
        return validator->validate(text, position) == QValidator::Acceptable;
    };
    QVERIFY(accepts(QString())); // every digit of the mask is optional
    QVERIFY(accepts(QString(maxLength, QLatin1Char('9'))));
    QVERIFY(!accepts(QString(maxLength + 1, QLatin1Char('1'))));
    QVERIFY(!accepts(QStringLiteral("1a")));
    QVERIFY(!accepts(QStringLiteral("-1")));
    QVERIFY(!accepts(QStringLiteral(" 1")));

    // Typing is filtered too, not only checked.
    TDualProbe::W(*d, "PG")->setEnabled(true);
    for (QWidget* w = edit; w != d; w = w->parentWidget()) {
        w->setEnabled(true);
        w->show();
    }
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("7x8"));
    QCOMPARE(edit->text(), QStringLiteral("78").left(maxLength));
}

void tst_Layout::looks_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");

    const QColor orange(0xFF, 0x80, 0x00);
    const QColor grey(0x51, 0x51, 0x51);
    const QColor navy(0x00, 0x00, 0x80);
    const QColor red(0xFF, 0x00, 0x00);
    const QColor black(Qt::black);
    QTest::newRow("GroupBox4") << 16 << true << orange;
    QTest::newRow("GroupBox10") << 16 << true << orange;
    QTest::newRow("GroupBox3") << 13 << true << navy;
    QTest::newRow("GroupBox9") << 13 << true << navy;
    QTest::newRow("BLeLocal") << 16 << true << grey;
    QTest::newRow("OpenFile") << 16 << true << grey;
    QTest::newRow("BitBtn1") << 19 << true << grey;
    QTest::newRow("BleDiag") << 19 << true << grey;
    QTest::newRow("BResetRadio") << 19 << true << grey;
    QTest::newRow("BlePart") << 17 << true << grey;
    QTest::newRow("BgravaPart") << 17 << true << grey;
    QTest::newRow("Terminal") << 11 << false << black;
    QTest::newRow("Button_ECO") << 11 << false << black;
    QTest::newRow("Label2") << 16 << true << red;
    QTest::newRow("Label7") << 16 << true << red;
    QTest::newRow("Label39") << 13 << true << red;
    QTest::newRow("Label41") << 13 << true << navy;
    QTest::newRow("Label48") << 13 << true << navy;
    QTest::newRow("Label5") << 16 << true << navy;
    QTest::newRow("Label13") << 16 << true << navy;
    QTest::newRow("UserText") << 19 << true << navy;
    QTest::newRow("TRuido_Med") << 12 << true << navy;
    QTest::newRow("NxL_JFL") << 11 << false << black;
    QTest::newRow("RadioButton1") << 13 << true << black;
    QTest::newRow("TSenha") << 13 << true << grey;
    QTest::newRow("TID") << 13 << false << grey;
    QTest::newRow("ID0") << 13 << false << grey;
    QTest::newRow("ID") << 13 << true << grey;
    QTest::newRow("Param") << 13 << true << navy;
    QTest::newRow("Diag") << 13 << true << navy;
    QTest::newRow("part_cliente") << 15 << true << navy;
    QTest::newRow("Tx") << 11 << false << black;
}

// Colours are those the style sheet gives, as the platform resolves them for each control.
void tst_Layout::looks()
{
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);

    QWidget* w = TDualProbe::W(*d, QTest::currentDataTag());
    w->ensurePolished();
    QCOMPARE(w->font().pixelSize(), pixelSize);
    QCOMPARE(w->font().bold(), bold);
    const QPalette::ColorRole role = qobject_cast<QAbstractScrollArea*>(w)
            || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)
        ? QPalette::Text
        : w->foregroundRole();
    QCOMPARE(w->palette().color(role), colour);
}

void tst_Layout::readingGrids_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("firstWidth");
    QTest::addColumn<int>("secondWidth");

    QTest::newRow("Param") << 9 << 150 << 184;
    QTest::newRow("Diag") << 16 << 210 << 210;
}

void tst_Layout::readingGrids()
{
    QFETCH(int, rows);
    QFETCH(int, firstWidth);
    QFETCH(int, secondWidth);

    auto* grid = TDualProbe::W<QTableWidget>(*d, QTest::currentDataTag());
    QCOMPARE(grid->rowCount(), rows);
    QCOMPARE(grid->columnCount(), 2);
    QCOMPARE(grid->columnWidth(0), firstWidth);
    QCOMPARE(grid->columnWidth(1), secondWidth);
    QVERIFY(grid->horizontalHeader()->isHidden());
    QVERIFY(grid->verticalHeader()->isHidden());
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->rowHeight(0), 25);
    for (int row = 1; row < rows; ++row)
        QCOMPARE(grid->rowHeight(row), 24);
    QCOMPARE(grid->viewport()->palette().color(QPalette::Base), QColor(Qt::white));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 2; ++column) {
            QTableWidgetItem* cell = grid->item(row, column);
            QVERIFY(cell);
            QVERIFY(!(cell->flags() & Qt::ItemIsEditable));
            QVERIFY(cell->text().isEmpty());
        }
        QCOMPARE(grid->item(row, 0)->background().color(), QColor(0xA6, 0xCA, 0xF0));
    }
    // Every row is on screen: nothing to scroll to.
    const QRect last = grid->visualItemRect(grid->item(rows - 1, 1));
    QVERIFY2(grid->viewport()->rect().contains(last), qPrintable(QString::number(last.bottom())));
}

void tst_Layout::dataGrids_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("widths");

    QTest::newRow("part_cliente") << 9
                                  << QStringList({ QString::fromUtf8("Partição"),
                                         QString::fromUtf8("Código Cliente"),
                                         QString::fromUtf8("Eventos Rádio") })
                                  << QList<int>({ 70, 120, 108 });
    QTest::newRow("EvtNmonit") << 2 << QStringList({ "Pino", "Evento", "Inverte E e R" })
                               << QList<int>({ 70, 120, 108 });
}

void tst_Layout::dataGrids()
{
    QFETCH(int, rows);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, widths);

    auto* grid = TDualProbe::W<QTableWidget>(*d, QTest::currentDataTag());
    QCOMPARE(grid->rowCount(), rows);
    QCOMPARE(grid->columnCount(), 3);
    QVERIFY(grid->verticalHeader()->isHidden());
    QVERIFY(!grid->horizontalHeader()->isHidden());
    QCOMPARE(grid->horizontalHeader()->height(), 25);
    QCOMPARE(grid->horizontalHeader()->font().family(), QStringLiteral("MS Sans Serif"));
    QVERIFY(grid->showGrid());
    for (int column = 0; column < 3; ++column) {
        QCOMPARE(grid->horizontalHeaderItem(column)->text(), headers[column]);
        QCOMPARE(grid->columnWidth(column), widths[column]);
    }
    for (int row = 0; row < rows; ++row) {
        QCOMPARE(grid->rowHeight(row), 20);
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem* cell = grid->item(row, column);
            QVERIFY(cell);
            QCOMPARE(Qt::Alignment(cell->textAlignment()), Qt::AlignCenter);
            QCOMPARE(bool(cell->flags() & Qt::ItemIsEditable), column == 1);
            QCOMPARE(bool(cell->flags() & Qt::ItemIsUserCheckable), column == 2);
            QCOMPARE(cell->data(Qt::CheckStateRole).isValid(), column == 2);
        }
    }
    const QRect last = grid->visualItemRect(grid->item(rows - 1, 2));
    QVERIFY(grid->viewport()->rect().contains(last));
}

// The boxes sit in the middle of the cell: a click there toggles, one at the edge does not.
void tst_Layout::checkCellsToggleInTheirMiddle()
{
    auto* grid = TDualProbe::W<QTableWidget>(*d, "EvtNmonit");
    TDualProbe::W(*d, "PG")->setEnabled(true);
    TDualProbe::W(*d, "GroupBox10")->show();
    grid->show();
    grid->setEnabled(true);
    QVERIFY(QTest::qWaitForWindowExposed(d));

    QTableWidgetItem* invert = grid->item(0, 2);
    const Qt::CheckState before = invert->checkState();
    const QRect cell = grid->visualItemRect(invert);
    QTest::mouseClick(
        grid->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(4, cell.height() / 2));
    QCOMPARE(invert->checkState(), before);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(invert->checkState() != before);
    QCOMPARE(grid->currentRow(), 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(invert->checkState(), before);
}

void tst_Layout::cellEditors()
{
    struct Case {
        const char* grid;
        int maxLength;
        QString good;
        QString bad;
    };
    for (const Case& c : { Case { "part_cliente", 4, QStringLiteral("12BC"), QString() },
             Case { "EvtNmonit", 3, QStringLiteral("401"), QStringLiteral("1000") } }) {
        auto* grid = TDualProbe::W<QTableWidget>(*d, c.grid);
        QAbstractItemDelegate* delegate = grid->itemDelegateForColumn(1);
        QVERIFY2(delegate, c.grid);
        QStyleOptionViewItem option;
        std::unique_ptr<QWidget> editor(
            delegate->createEditor(grid->viewport(), option, grid->model()->index(0, 1)));
        auto* edit = qobject_cast<QLineEdit*>(editor.get());
        QVERIFY2(edit, c.grid);
        QCOMPARE(edit->maxLength(), c.maxLength);
        edit->setText(c.good);
        QVERIFY2(edit->hasAcceptableInput(), c.grid);
        if (!c.bad.isEmpty()) {
            QString bad = c.bad;
            int position = 0;
            QCOMPARE(edit->validator()->validate(bad, position), QValidator::Invalid);
            edit->setText(QStringLiteral("99"));
            QVERIFY(!edit->hasAcceptableInput()); // events run from 100 to 999
        }
    }
}

void tst_Layout::pictures()
{
    auto* inputs = TDualProbe::W<QLabel>(*d, "ImRadioMonit");
    auto* radio = TDualProbe::W<QLabel>(*d, "Ondavia460");
    const QPixmap inputsPicture = inputs->pixmap();
    const QPixmap radioPicture = radio->pixmap();
    QCOMPARE(inputsPicture.size(), QSize(257, 81));
    QCOMPARE(radioPicture.size(), QSize(113, 457));

    // The pins carry the same green and yellow as the pin cells of the input grid.
    const QImage connector = Opaque(inputsPicture);
    QVERIFY(HasColour(connector, QColor(0x00, 0xFF, 0x00)));
    QVERIFY(HasColour(connector, QColor(0xFF, 0xFF, 0x00)));

    // The device is drawn on a transparent background.
    const QImage device = Opaque(radioPicture);
    QCOMPARE(device.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(device.pixelColor(device.width() / 2, device.height() / 2).alpha(), 255);
}

// With QX_SNAPSHOT_DIR set, saves a picture of each tab for a person to look at.
void tst_Layout::snapshots()
{
    const QString folder = qEnvironmentVariable("QX_SNAPSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("QX_SNAPSHOT_DIR not set");
    QVERIFY(QDir().mkpath(folder));
    auto* pages = TDualProbe::W<QTabWidget>(*d, "PG");
    pages->setEnabled(true);
    QVERIFY(QTest::qWaitForWindowExposed(d));
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QCoreApplication::processEvents();
        const QString path = QDir(folder).filePath(
            QStringLiteral("tab%1-%2.png").arg(page + 1).arg(pages->widget(page)->objectName()));
        QVERIFY2(d->grab().save(path), qPrintable(path));
    }
}

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
