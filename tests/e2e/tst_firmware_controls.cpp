// The firmware tab's controls through the window: ABRE ARQUIVO and its dialog, the TIMEOUT
// buttons, pause and cancel in their less common orders, short loader replies.
#include <QFileDialog>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "../firmware/firmwarefiles.h"
#include "ptyline.h"
#include "radiosim/ptyradio.h"
#include "radiosim/radiomodel.h"
#include "tdualprobe.h"

using P = TDualProbe;

namespace {

// Slave firmware for hardware 14, bank A, then 40 records of 16 bytes and the end.
QByteArray Firmware()
{
    QByteArray file = Header(0x1F, 0x0E, 0x01);
    for (int i = 0; i < 40; ++i)
        file += Rec(quint16(i * 16), 0, QByteArray(16, char(i)));
    return file + EndRecord;
}

QByteArray Image()
{
    QByteArray image;
    for (int i = 0; i < 40; ++i)
        image += QByteArray(16, char(i));
    return image;
}

struct Tab {
    QTemporaryDir dir;
    std::unique_ptr<TDual> d;
    std::shared_ptr<QStringList> errors;
    radiosim::RadioModel model;
    std::unique_ptr<radiosim::PtyRadio> radio;
    int dataFrames = 0;

    Tab()
    {
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        d = std::make_unique<TDual>();
        errors = P::CatchErrors(*d);
    }

    QString Write(const QString& name, const QByteArray& contents)
    {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(contents);
        return file.fileName();
    }

    void Plug()
    {
        radio = std::make_unique<radiosim::PtyRadio>(model);
        QVERIFY(radio->Open(nullptr));
        QObject::connect(radio.get(), &radiosim::PtyRadio::frameReceived,
            [this](const QByteArray& frame) { dataFrames += quint8(frame[2]) == 235; });
        P::PortSettings(*d).port = radio->SlavePath();
        Click("Terminal");
        RunEvents(150);
        P::SelectRadio(*d, model.state.id);
        P::W<QTabWidget>(*d, "PG")->setCurrentWidget(P::W(*d, "UPDATE_RF"));
    }

    // Runs when the radio has received a frame with this code, the count-th time.
    void OnFrame(int code, int count, std::function<void()> action)
    {
        auto seen = std::make_shared<int>(0);
        QObject::connect(
            radio.get(), &radiosim::PtyRadio::frameReceived, [=](const QByteArray& frame) {
                if (quint8(frame[2]) == code && ++*seen == count)
                    action();
            });
    }

    void Open(const QString& path)
    {
        P::AnswerFirmwareDialog(*d, path);
        Click("OpenFile");
    }
    void Click(const char* button) { QTest::mouseClick(P::Button(*d, button), Qt::LeftButton); }
    void Choose(const char* option)
    {
        QAbstractButton* button = P::Button(*d, option);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    QString Log() const { return P::Log(*d); }
    int Progress() const { return P::W<QProgressBar>(*d, "andamento")->value(); }
    // OpenFile, programa, pause, cancel: enabled or not; then the caption of pause.
    QString Buttons() const
    {
        QString states;
        for (const char* name : { "OpenFile", "programa", "pause", "cancel" })
            states += P::W(*d, name)->isEnabledTo(P::W(*d, "PG")) ? '1' : '0';
        return states + ' ' + P::Button(*d, "pause")->text();
    }
};

const QString Idle = "1100 PA&USA";
const QString Running = "0011 PA&USA";
const QString Paused = "0011 CONTIN&UA";

} // namespace

class tst_FirmwareControls : public QObject {
    Q_OBJECT

private slots:
    void openFile_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no such file
        QTest::addColumn<QString>("log"); // %1: the path
        QTest::addColumn<bool>("accepted");
        QTest::newRow("a good file") << Rec(0x0100, 0, QByteArray(2, '\x01')) + EndRecord
                                     << "\nSection 0 :  [0100]-[0101]\nChecksum Flash: 0002 "
                                        "\nArquivo Pronto para ser enviado"
                                     << true;
        QTest::newRow("no end record") << Rec(0x0100, 0, QByteArray(2, '\x01'))
                                       << "\nSection 0 :  [0100]-\nNão começa com ':'" << false;
        QTest::newRow("no such file") << QByteArray() << "[%1] file not found\n" << false;
    }
    void openFile()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, log);
        QFETCH(bool, accepted);
        Tab t;
        t.Plug();
        const QString path
            = contents.isEmpty() ? t.dir.filePath("none.RAD") : t.Write("FW6.11.RAD", contents);
        t.Open(path);
        QCOMPARE(P::FirmwarePath(*t.d), path);
        QCOMPARE(t.d->windowTitle(), "Configurador TORVIKEN - [" + path.section('/', -1) + "]");
        QCOMPARE(t.Log(), QString(log).replace("%1", path));
        QCOMPARE(t.Buttons(), accepted ? Idle : "1000 PA&USA");
        QCOMPARE(t.Progress(), 0);
        QVERIFY(P::W(*t.d, "andamento")->isVisible());
        if (accepted)
            QCOMPARE(P::FirmwareTotal(*t.d), 3u);

        // A cancelled dialog changes nothing.
        const QString title = t.d->windowTitle();
        t.Open(QString());
        QCOMPARE(P::FirmwarePath(*t.d), path);
        QCOMPARE(t.d->windowTitle(), title);
        QCOMPARE(t.Log(), QString(log).replace("%1", path));
    }

    // The real dialog behind ABRE ARQUIVO.
    void openDialog()
    {
        Tab t;
        t.Plug();
        QString title, suffix;
        QStringList filters;
        bool existingOnly = false;
        QTimer::singleShot(200, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            existingOnly = dialog->fileMode() == QFileDialog::ExistingFile;
            dialog->reject();
        });
        t.Click("OpenFile");
        QCOMPARE(title, QStringLiteral("Abre arquivo RAD"));
        QCOMPARE(filters, QStringList({ "MALVEN (*.RAD)", "All (*.*)" }));
        QCOMPARE(suffix, QStringLiteral("rad"));
        QVERIFY(existingOnly);
        QVERIFY(P::FirmwarePath(*t.d).isEmpty());
    }

    void timeoutButtons()
    {
        Tab t;
        t.Plug();
        QCOMPARE(P::AckTimeout(*t.d), 7000);
        QVERIFY(P::W<QRadioButton>(*t.d, "b7s")->isChecked());
        const QList<std::pair<const char*, int>> buttons { { "b1s", 1000 }, { "b15s", 1500 },
            { "b2s", 2000 }, { "b3s", 3000 }, { "b5s", 5000 }, { "b7s", 7000 } };
        for (const auto& [name, ms] : buttons) {
            t.Choose(name);
            QCOMPARE(P::AckTimeout(*t.d), ms);
        }
        P::AckTimeout(*t.d) = 1234;
        t.Choose("b7s"); // already selected: its handler does not run
        QCOMPARE(P::AckTimeout(*t.d), 1234);
    }

    void buttonsWhileRunning()
    {
        Tab t;
        t.Plug();
        t.Open(t.Write("FW.RAD", Firmware()));
        QString during;
        t.OnFrame(235, 5, [&] { during = t.Buttons(); });
        t.Click("programa");
        QCOMPARE(during, Running);
        QCOMPARE(t.Buttons(), Idle);
        QCOMPARE(t.model.state.flash, Image());
    }

    // CONTINUA before the pause took effect: a transfer nested in the running one's wait
    // stops at once, and the running one goes on.
    void continueBeforeThePauseTookEffect()
    {
        Tab t;
        t.Plug();
        t.Open(t.Write("FW.RAD", Firmware()));
        t.OnFrame(235, 10, [&] {
            t.Click("pause");
            t.Click("pause");
        });
        t.Click("programa");
        QVERIFY2(t.Log().endsWith("Firmware carregado com sucesso"), qPrintable(t.Log()));
        QVERIFY(t.Log().contains("Carga Firmware pausada\nCcontinuando Carga Firmware\nSection "));
        QCOMPARE(int(t.Log().count("Aguardando reinicio")), 1);
        QCOMPARE(t.model.state.flash, Image());
        QCOMPARE(t.Progress(), 100);
        QCOMPARE(t.Buttons(), Idle);
    }

    void cancelWhilePaused()
    {
        Tab t;
        t.Plug();
        t.Open(t.Write("FW.RAD", Firmware()));
        t.OnFrame(235, 10, [&] { t.Click("pause"); });
        t.Click("programa");
        QCOMPARE(t.Buttons(), Paused);
        const int progress = t.Progress();
        QVERIFY(progress > 0);
        t.Click("cancel");
        QVERIFY(t.Log().endsWith("Aguardando reinicio\nCarga do firmware Cancelada"));
        QCOMPARE(t.Buttons(), Idle);
        QCOMPARE(t.Progress(), 0);
        QVERIFY(!P::FirmwareActive(*t.d));
        QVERIFY(P::CancelRequested(*t.d)); // until the next GRAVA FIRMWARE
        t.Click("programa");
        QVERIFY(t.Log().endsWith("Firmware carregado com sucesso"));
        QCOMPARE(t.model.state.flash, Image());
    }

    // CANCELA while a pause is asked but not yet in effect: the running transfer ends as
    // cancelled, and nothing can start another one before it has.
    void cancelBeforeThePauseTookEffect()
    {
        Tab t;
        t.Plug();
        t.Open(t.Write("FW.RAD", Firmware()));
        QString afterCancel;
        t.OnFrame(235, 10, [&] {
            t.Click("pause");
            t.Click("cancel");
            afterCancel = t.Buttons();
        });
        t.Click("programa");
        QCOMPARE(afterCancel, Paused);
        QCOMPARE(t.dataFrames, 10);
        QVERIFY2(t.Log().endsWith("Carga do firmware Cancelada"), qPrintable(t.Log().right(200)));
        QVERIFY(!t.Log().contains("Aguardando reinicio"));
        QCOMPARE(t.Buttons(), Idle);
        QVERIFY(!P::PauseRequested(*t.d));
        QCOMPARE(t.Progress(), 0);
    }

    // A PAUSA during the end of load comes too late; the next GRAVA FIRMWARE is not paused.
    void pauseDuringTheEnd()
    {
        Tab t;
        t.Plug();
        t.Open(t.Write("FW.RAD", Firmware()));
        t.OnFrame(234, 1, [&] { t.Click("pause"); });
        t.Click("programa");
        QVERIFY(t.Log().endsWith("Firmware carregado com sucesso"));
        QCOMPARE(t.Buttons(), "1100 CONTIN&UA");
        QVERIFY(P::PauseRequested(*t.d));
        t.model.state.flash.clear();
        t.Click("programa");
        QVERIFY(t.Log().endsWith("Firmware carregado com sucesso"));
        QCOMPARE(t.Buttons(), Idle);
        QCOMPARE(t.model.state.flash, Image());
    }

    // A failed port open leaves the tab usable with the port closed: nothing is written and
    // every identity attempt runs into its time-out.
    void closedPort()
    {
        Tab t;
        P::PortSettings(*t.d).port = t.dir.filePath("no-port");
        t.Click("Terminal");
        QCOMPARE(t.errors->size(), 1);
        P::W<QTabWidget>(*t.d, "PG")->setCurrentWidget(P::W(*t.d, "UPDATE_RF"));
        t.Open(t.Write("FW.RAD", Firmware()));
        P::AckTimeout(*t.d) = 20;
        t.Click("programa");
        QVERIFY2(t.Log().endsWith("\nSem resposta leitura do Rádio\nErro na carga do firmware\n"),
            qPrintable(t.Log()));
        QCOMPARE(P::RetriesLeft(*t.d), -1); // 6 attempts
        QCOMPARE(t.Buttons(), Idle);
        QCOMPARE(t.errors->size(), 1);
    }

    // A loader reply too short for its decoding is not taken: the wait goes on.
    void shortLoaderReply()
    {
        Tab t;
        t.Plug();
        t.Open(t.Write("FW.RAD", Firmware()));
        t.OnFrame(235, 3, [&] { P::ProcessReceived(*t.d, QByteArray::fromHex("0100eb000000")); });
        t.Click("programa");
        QVERIFY(t.Log().contains("\nResposta incompleta (6 bytes) OK \nSection"));
        QVERIFY(!t.Log().contains("Time Out - Repetindo "));
        QVERIFY(t.Log().endsWith("Firmware carregado com sucesso"));
    }

    // The time-out ends only a wait still open: a reply that came first keeps its state.
    void timeOutAfterAReply()
    {
        Tab t;
        P::LoaderState(*t.d) = 20;
        P::TimerACKFires(*t.d);
        QCOMPARE(int(P::LoaderState(*t.d)), 20);
        P::LoaderState(*t.d) = 0;
        P::TimerACKFires(*t.d);
        QCOMPARE(int(P::LoaderState(*t.d)), 5);
    }
};

QTEST_MAIN(tst_FirmwareControls)
#include "tst_firmware_controls.moc"
