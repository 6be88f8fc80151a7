// Firmware upgrade end to end, as a technician does it: ABRE ARQUIVO, GRAVA FIRMWARE, PAUSA,
// CONTINUA, CANCELA, against the simulated radio behind a pseudo-terminal, with a firmware
// file made by srec_cat from random data. The radio's flash must equal srec_cat's image.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "radiosim/ptyradio.h"
#include "radiosim/radiomodel.h"
#include "tdualprobe.h"

using P = TDualProbe;

namespace {

// Slave firmware for hardware 14, bank A (the simulator's radio 1).
const QByteArray HeaderLine = ":0000001F0E01D2\n";

QByteArray RandomBytes(int n, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(n, '\0');
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

// Drives one window: connects it to a simulated radio, opens files, clicks.
struct Bench {
    QTemporaryDir dir;
    std::unique_ptr<TDual> d;
    std::shared_ptr<QStringList> errors;
    radiosim::RadioModel model;
    std::unique_ptr<radiosim::PtyRadio> radio;
    QString firmware; // the .RAD file
    QByteArray image; // srec_cat's binary image of its data, 0xFF where nothing is
    int dataFrames = 0; // data commands the radio received

    Bench()
    {
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        d = std::make_unique<TDual>();
        errors = P::CatchErrors(*d);
    }

    // A new radio on a new line (a new cable), and CONECTAR.
    bool Plug()
    {
        radio.reset();
        radio = std::make_unique<radiosim::PtyRadio>(model);
        if (!radio->Open(nullptr))
            return false;
        QObject::connect(radio.get(), &radiosim::PtyRadio::frameReceived,
            [this](const QByteArray& frame) { dataFrames += quint8(frame[2]) == 235; });
        P::PortSettings(*d).port = radio->SlavePath();
        QTest::mouseClick(P::Button(*d, "Terminal"), Qt::LeftButton);
        RunFor(150); // the first parameter read and its reply
        P::SelectRadio(*d, model.state.id);
        auto* tabs = P::W<QTabWidget>(*d, "PG");
        tabs->setCurrentWidget(P::W(*d, "UPDATE_RF"));
        return P::Connected(*d);
    }

    static void RunFor(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }

    static bool Run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished(30000) && process.exitCode() == 0;
    }

    // Random data in two blocks with a gap, as srec_cat writes it in 32-byte records, after a
    // header record; and srec_cat's image of the data.
    bool MakeFirmware(const QByteArray& header = HeaderLine)
    {
        const QString srec = QStandardPaths::findExecutable("srec_cat");
        if (srec.isEmpty())
            return false;
        QFile a(dir.filePath("a.bin")), b(dir.filePath("b.bin"));
        a.open(QIODevice::WriteOnly);
        a.write(RandomBytes(1000, 284));
        a.close();
        b.open(QIODevice::WriteOnly);
        b.write(RandomBytes(500, 6));
        b.close();
        const QString hex = dir.filePath("data.hex");
        const QString bin = dir.filePath("image.bin");
        if (!Run(srec,
                { a.fileName(), "-binary", b.fileName(), "-binary", "-offset", "0x0600", "-o", hex,
                    "-intel", "-output_block_size=32" })
            || !Run(srec,
                { hex, "-intel", "-fill", "0xFF", "0", "-maximum-address", hex, "-intel", "-o", bin,
                    "-binary" }))
            return false;
        QFile data(hex), out(dir.filePath("FIRMWARE.RAD")), img(bin);
        data.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        out.write(header + data.readAll());
        out.close();
        img.open(QIODevice::ReadOnly);
        image = img.readAll();
        firmware = out.fileName();
        return image.size() == 0x0600 + 500;
    }

    void Click(const char* button) { QTest::mouseClick(P::Button(*d, button), Qt::LeftButton); }
    // A radio button is clicked on its indicator.
    void Choose(const char* option)
    {
        QAbstractButton* button = P::Button(*d, option);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    QString Log() const { return P::Log(*d); }
    int Progress() const { return P::W<QProgressBar>(*d, "andamento")->value(); }
    // The control's own state (DESCONECTAR disables the whole tab widget).
    bool Enabled(const char* name) const { return P::W(*d, name)->isEnabledTo(P::W(*d, "PG")); }
    QString PauseCaption() const { return P::Button(*d, "pause")->text(); }

    // ABRE ARQUIVO with the file chosen in the dialog.
    void Open()
    {
        P::AnswerFirmwareDialog(*d, firmware);
        Click("OpenFile");
    }

    // Idle, the file accepted: ready for the next GRAVA FIRMWARE.
    bool Idle() const
    {
        return Enabled("OpenFile") && Enabled("programa") && !Enabled("pause") && !Enabled("cancel")
            && PauseCaption() == "PA&USA";
    }
};

#define REQUIRE_FIRMWARE(bench)                                                                    \
    do {                                                                                           \
        if (QStandardPaths::findExecutable("srec_cat").isEmpty())                                  \
            QSKIP("srec_cat (Debian package srecord) is not installed");                           \
        QVERIFY((bench).MakeFirmware());                                                           \
        QVERIFY((bench).Plug());                                                                   \
    } while (false)

} // namespace

class tst_Firmware : public QObject {
    Q_OBJECT

private slots:
    void loadsTheFile()
    {
        Bench b;
        REQUIRE_FIRMWARE(b);
        b.radio->faults.pace = false;
        b.Open();
        QVERIFY(b.Log().endsWith("Arquivo Pronto para ser enviado"));
        QVERIFY(b.Log().contains("Section 1 :  [0000]-[03E7]\nSection 2 :  [0600]-[07F3]"));
        QCOMPARE(P::FirmwareTotal(*d(b)), 1u + 1500u + 2u); // the data and the 04 record
        QVERIFY(b.Enabled("programa"));

        b.Click("programa");
        QVERIFY2(
            b.Log().endsWith("Firmware carregado com sucesso"), qPrintable(b.Log().right(400)));
        QCOMPARE(b.model.state.flash, b.image);
        QCOMPARE(b.model.state.erases, 1);
        QVERIFY(b.Log().contains("Gravação ok\nFim da Gravação\n \nFILE: 1502 bytes sent in "));
        QVERIFY(!b.Log().contains("Time Out - Repetindo "));
        QCOMPARE(b.Progress(), 100);
        QVERIFY(b.Idle());
        QVERIFY(b.errors->isEmpty());

        // The same file can be sent again at once.
        b.model.state.flash.clear();
        b.Click("programa");
        QCOMPARE(b.model.state.flash, b.image);
        QCOMPARE(b.model.state.erases, 2);
    }

    void oneReplyInTenLost()
    {
        Bench b;
        REQUIRE_FIRMWARE(b);
        b.radio->faults.dropEvery = 10;
        b.Choose("b1s");
        QCOMPARE(P::AckTimeout(*d(b)), 1000);
        b.Open();
        b.Click("programa");
        QVERIFY2(
            b.Log().endsWith("Firmware carregado com sucesso"), qPrintable(b.Log().right(400)));
        QCOMPARE(b.model.state.flash, b.image);
        QVERIFY(b.Log().count("Time Out - Repetindo ") >= 4);
    }

    void pauseThenContinue()
    {
        Bench b;
        REQUIRE_FIRMWARE(b);
        b.Open();
        int progressAtPause = -1;
        QObject::connect(b.radio.get(), &radiosim::PtyRadio::frameReceived, [&] {
            if (b.dataFrames == 12 && b.PauseCaption() == "PA&USA")
                b.Click("pause");
        });
        b.Click("programa"); // returns once the pause took effect
        QVERIFY(b.Log().contains("Carga Firmware pausada"));
        QVERIFY(b.Log().endsWith("Aguardando reinicio"));
        QCOMPARE(b.PauseCaption(), QStringLiteral("CONTIN&UA"));
        QVERIFY(b.Enabled("pause") && b.Enabled("cancel"));
        QVERIFY(!b.Enabled("OpenFile") && !b.Enabled("programa"));
        progressAtPause = b.Progress();
        QVERIFY(progressAtPause > 0 && progressAtPause < 100);
        b.RunFor(300);
        QCOMPARE(b.dataFrames, 12); // nothing is sent while paused
        QCOMPARE(b.Progress(), progressAtPause);

        const QString sectionAtPause = b.Log().section("\nSection ", -1).section(" :", 0, 0);
        b.Click("pause"); // CONTINUA
        QVERIFY(b.Log().contains("Ccontinuando Carga Firmware\nSection " + sectionAtPause + " : "));
        QVERIFY2(
            b.Log().endsWith("Firmware carregado com sucesso"), qPrintable(b.Log().right(400)));
        QCOMPARE(b.model.state.flash, b.image);
        QCOMPARE(b.model.state.erases, 1);
        QCOMPARE(b.Progress(), 100);
        QVERIFY(b.Idle());
    }

    void cancel()
    {
        Bench b;
        REQUIRE_FIRMWARE(b);
        b.Open();
        QObject::connect(b.radio.get(), &radiosim::PtyRadio::frameReceived, [&] {
            if (b.dataFrames == 8 && b.Enabled("cancel"))
                b.Click("cancel");
        });
        b.Click("programa");
        QVERIFY2(b.Log().endsWith("Carga do firmware Cancelada"), qPrintable(b.Log().right(400)));
        QCOMPARE(b.dataFrames, 8);
        QVERIFY(!b.Log().contains("FILE: "));
        QCOMPARE(b.Progress(), 0);
        QVERIFY(b.Idle());
        QVERIFY(!P::FirmwareActive(*d(b)));
    }

    // The cable pulled in the middle: the transfer ends at once, not after its time-outs, and
    // the tool loads the radio on a new cable.
    void cablePulled()
    {
        Bench b;
        REQUIRE_FIRMWARE(b);
        b.Open();
        b.radio->faults.closeAfter = 20;
        QElapsedTimer sincePull;
        QObject::connect(
            b.radio.get(), &radiosim::PtyRadio::cablePulled, [&] { sincePull.start(); });
        b.Click("programa");
        QVERIFY(sincePull.isValid());
        QVERIFY2(sincePull.elapsed() < P::AckTimeout(*d(b)),
            qPrintable(QString::number(sincePull.elapsed())));
        QVERIFY2(b.Log().endsWith("Conexão com o rádio perdida\nErro na carga do firmware"),
            qPrintable(b.Log().right(400)));
        QVERIFY(!b.Log().contains("Time Out - Repetindo "));
        QCOMPARE(b.errors->size(), 1); // the link's message about the port
        QVERIFY(!P::Connected(*d(b)));
        QCOMPARE(b.Progress(), 0);
        QVERIFY(b.Idle());

        QVERIFY(b.Plug());
        b.Click("programa");
        QVERIFY2(
            b.Log().endsWith("Firmware carregado com sucesso"), qPrintable(b.Log().right(400)));
        QCOMPARE(b.model.state.flash, b.image);
    }

    void refusedBeforeErasing_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("hardware");
        QTest::addColumn<int>("bank");
        QTest::addColumn<QString>("line");
        QTest::newRow("hardware") << HeaderLine << 21 << 0
                                  << "Firmware não é para esta versão de Hardware";
        QTest::newRow("role") << QByteArray(":0000001F0E00D3\n") << 14 << 0
                              << "Este firmware é só para o rádio Mestre";
        QTest::newRow("bank") << HeaderLine << 14 << 1
                              << "Firmware não é para este Banco de Memória";
    }
    void refusedBeforeErasing()
    {
        QFETCH(QByteArray, header);
        QFETCH(int, hardware);
        QFETCH(int, bank);
        QFETCH(QString, line);
        Bench b;
        b.model.state.hardware = quint8(hardware);
        b.model.state.bank = quint8(bank);
        if (QStandardPaths::findExecutable("srec_cat").isEmpty())
            QSKIP("srec_cat (Debian package srecord) is not installed");
        QVERIFY(b.MakeFirmware(header));
        QVERIFY(b.Plug());
        b.Open();
        b.Click("programa");
        QVERIFY2(
            b.Log().endsWith(line + "\nErro na carga do firmware"), qPrintable(b.Log().right(300)));
        QCOMPARE(b.model.state.erases, 0);
        QCOMPARE(b.dataFrames, 0);
        QVERIFY(b.model.state.flash.isEmpty());
        QCOMPARE(b.Progress(), 0);
        QVERIFY(b.Idle());
    }

private:
    static TDual* d(Bench& b) { return b.d.get(); }
};

QTEST_MAIN(tst_Firmware)
#include "tst_firmware.moc"
