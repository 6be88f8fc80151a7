// The configuration wizard walked as a technician walks it, with real clicks, against the
// simulated radio behind a pseudo-terminal.
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ptyline.h"
#include "radio_hands.h"
#include "radiosim/ptyradio.h"
#include "radiosim/radiomodel.h"
#include "tdualprobe.h"

using P = TDualProbe;

class tst_WizardWalk : public QObject {
    Q_OBJECT

    std::unique_ptr<radiosim::RadioModel> model;
    std::unique_ptr<radiosim::PtyRadio> radio;
    std::unique_ptr<TDual> d;
    std::shared_ptr<QStringList> errors;
    QElapsedTimer sinceTraffic;

    // A radio on the cable and the tool, not connected yet.
    void Start(const std::function<void(radiosim::RadioState&)>& setup = {})
    {
        model = std::make_unique<radiosim::RadioModel>();
        if (setup)
            setup(model->state);
        radio = std::make_unique<radiosim::PtyRadio>(*model);
        QString error;
        QVERIFY2(radio->Open(&error), qPrintable(error));
        sinceTraffic.start();
        connect(radio.get(), &radiosim::PtyRadio::frameReceived, this,
            [this] { sinceTraffic.restart(); });
        connect(
            radio.get(), &radiosim::PtyRadio::replySent, this, [this] { sinceTraffic.restart(); });
        d = std::make_unique<TDual>();
        errors = P::CatchErrors(*d);
        QVERIFY(hands::Activate(*d));
        P::PortSettings(*d).port = radio->SlavePath();
    }

    // Waits as a person does until the line is quiet: every reply in and handled.
    bool Quiet()
    {
        QElapsedTimer total;
        total.start();
        do {
            RunEvents(10);
            if (sinceTraffic.elapsed() > 150 && P::StatusText(*d).isEmpty())
                return true;
        } while (total.elapsed() < 3000);
        qWarning("the line did not settle: status \"%s\"", qPrintable(P::StatusText(*d)));
        return false;
    }

    bool Shown(const char* name) { return !P::W(*d, name)->isHidden(); }

    // The group box in view and the guide's caption: the wizard's display.
    QString Display()
    {
        QStringList shown;
        for (const char* group : { "GroupBox1", "GroupBox2", "GroupBox5", "GroupBox10" })
            if (Shown(group))
                shown << QLatin1String(group);
        for (const char* label : { "Label2", "Label3" })
            if (Shown(label))
                shown << P::W<QLabel>(*d, label)->text();
        if (Shown("Label7"))
            shown << P::W<QLabel>(*d, "Label7")->text();
        return shown.join(QStringLiteral(" | "));
    }

    QString UserText() { return P::W<QLabel>(*d, "UserText")->text(); }
    QByteArray LastFrame() { return model->framesReceived.value(model->framesReceived.size() - 1); }

private slots:
    void cleanup()
    {
        d.reset(); // the tool closes the port before the radio leaves the line
        radio.reset();
        model.reset();
    }

    void forwardWalk()
    {
        Start();
        QVERIFY(hands::Click(*d, "Terminal"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox1 | Configure o ID do rádio"));
        QCOMPARE(P::W<QComboBox>(*d, "ID")->currentText(), QStringLiteral("1"));
        QCOMPARE(P::ParamText(*d, 1, 1), QStringLiteral("0.0.154.78"));
        QVERIFY(!P::W<QCheckBox>(*d, "HBaixoConsumo")->isChecked());

        // Radio ID 7 with the low-voltage suspend.
        QVERIFY(hands::Type(*d, "ID", "7"));
        QVERIFY(hands::Click(*d, "HBaixoConsumo"));
        QVERIFY(hands::Click(*d, "BConfig"));
        QVERIFY(Quiet());
        QVERIFY(model->framesReceived.contains(
            QByteArray::fromHex("0700ca000000009a4e010000000100f83e")));
        QCOMPARE(int(model->state.id), 7);
        QVERIFY(model->state.lowVoltage);
        QCOMPARE(Display(), QStringLiteral("GroupBox2 | Configure o canal do rádio"));
        QCOMPARE(P::ParamText(*d, 0, 1), QStringLiteral("7"));
        QVERIFY(P::W<QCheckBox>(*d, "HBaixoConsumo")->isChecked());

        // Channel 12.
        QVERIFY(hands::Choose(*d, "BCanal", "12"));
        QVERIFY(hands::Click(*d, "BconfigCanal"));
        QVERIFY(Quiet());
        QVERIFY(model->framesReceived.contains(QByteArray::fromHex("0100d90c0000d94e")));
        QCOMPARE(int(model->state.channel), 12);
        QCOMPARE(Display(), QStringLiteral("GroupBox5 | Configure a senha do rádio"));
        QCOMPARE(P::ParamText(*d, 5, 1), QStringLiteral("12"));

        // Password 1234 without lock.
        QVERIFY(hands::Type(*d, "TSenha", "1234"));
        QVERIFY(hands::Click(*d, "BGravaSenhaD"));
        QVERIFY(Quiet());
        QCOMPARE(LastFrame().toHex(), QByteArray("0700cd0117c4c7e384473360f7a5"));
        QCOMPARE(model->state.password, 1234u);
        QVERIFY(!model->state.locked);
        QCOMPARE(UserText(), QStringLiteral("SENHA GRAVADA - SEM TRAVA"));
        QCOMPARE(Display(), QStringLiteral("GroupBox10 | Configure as partições do rádio"));

        // Back to the password, and test it: right, then wrong.
        QVERIFY(hands::Click(*d, "NxButton2"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox5 | Configure a senha do rádio"));
        QVERIFY(hands::Click(*d, "RadioButton3"));
        QVERIFY(hands::Click(*d, "BTesteSenha"));
        QVERIFY(Quiet());
        QCOMPARE(UserText(), QStringLiteral("SENHA CONFERE - DESTRAVADA"));
        QVERIFY(hands::Type(*d, "TSenha", "999"));
        QVERIFY(hands::Click(*d, "BTesteSenha"));
        QVERIFY(Quiet());
        QCOMPARE(UserText(), QStringLiteral("SENHA ERRADA - SEM TRAVA"));
        QCOMPARE(Display(), QStringLiteral("GroupBox5 | Configure a senha do rádio"));
        QCOMPARE(model->state.password, 1234u);
        QCOMPARE(errors->size(), 0);
    }

    // Fixed-channel hardware: the channel step is skipped forward, shown going back.
    void fixedChannelHardware()
    {
        Start([](radiosim::RadioState& s) { s.hardware = 21; });
        QVERIFY(hands::Click(*d, "Terminal"));
        QVERIFY(Quiet());
        QCOMPARE(P::ParamText(*d, 2, 1), QStringLiteral("LUXAR_v8 915M"));
        QVERIFY(hands::Type(*d, "ID", "12"));
        QVERIFY(hands::Click(*d, "BConfig"));
        QVERIFY(Quiet());
        QCOMPARE(int(model->state.id), 12);
        QCOMPARE(Display(), QStringLiteral("GroupBox5 | Configure a senha do rádio"));

        QVERIFY(hands::Click(*d, "NxButton2"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox2 | Configure o canal do rádio"));
        QVERIFY(!P::W(*d, "BCanal")->isEnabled());
        QVERIFY(hands::Usable(*d, "BconfigCanal"));
        QCOMPARE(errors->size(), 0);
    }

    void backAndRestart()
    {
        Start();
        QVERIFY(hands::Click(*d, "Terminal"));
        QVERIFY(Quiet());
        QVERIFY(hands::Click(*d, "BConfig"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox2 | Configure o canal do rádio"));

        QVERIFY(hands::Click(*d, "NxButton2"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox1 | Configure o ID do rádio"));
        QVERIFY(hands::Click(*d, "NxButton2"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("Comece AQUI"));
        QVERIFY(!P::W(*d, "NxButton2")->isEnabled());
        QVERIFY(hands::Click(*d, "BLeLocal"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox1 | Configure o ID do rádio"));

        // Forward to the password step, then RECOMEÇAR: the start at once, nothing sent.
        QVERIFY(hands::Click(*d, "BConfig"));
        QVERIFY(Quiet());
        QVERIFY(hands::Click(*d, "BconfigCanal"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox5 | Configure a senha do rádio"));
        const qsizetype frames = model->framesReceived.size();
        QVERIFY(hands::Click(*d, "NxButton1"));
        RunEvents(150);
        QCOMPARE(model->framesReceived.size(), frames);
        QCOMPARE(Display(), QStringLiteral("Comece AQUI"));
        QCOMPARE(P::ParamColumn(*d, 1), QStringList(10, QString()));
        QVERIFY(hands::Click(*d, "BLeLocal"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox1 | Configure o ID do rádio"));
        QCOMPARE(errors->size(), 0);
    }

    void masterRadio()
    {
        Start([](radiosim::RadioState& s) {
            s.id = 0;
            s.surgardMode = 1;
            s.periodicMinutes = 1440;
        });
        QVERIFY(hands::Click(*d, "Terminal"));
        QVERIFY(Quiet());
        QCOMPARE(Display(), QStringLiteral("GroupBox1 | Configure o ID do rádio"));
        QVERIFY(Shown("Label4") && Shown("Label6"));
        QCOMPARE(P::ParamText(*d, 7, 0), QStringLiteral("PROTOCOLO"));
        QCOMPARE(P::ParamText(*d, 7, 1), QStringLiteral("SURGARD SEM ACK"));
        QCOMPARE(P::ParamText(*d, 9, 1), QStringLiteral("999 min"));
        QVERIFY(!Shown("HBaixoConsumo"));
        const qsizetype frames = model->framesReceived.size();
        QVERIFY(!hands::Usable(*d, "BConfig")); // shown, disabled
        RunEvents(100);
        QCOMPARE(model->framesReceived.size(), frames);
        QCOMPARE(int(model->state.id), 0);
    }

    // Lock mode through its three clicks, then the lock in force on the radio.
    void lockAndUnlock()
    {
        Start();
        QVERIFY(hands::Click(*d, "Terminal"));
        QVERIFY(Quiet());
        QVERIFY(hands::Click(*d, "BConfig"));
        QVERIFY(Quiet());
        QVERIFY(hands::Click(*d, "BconfigCanal"));
        QVERIFY(Quiet());

        QVERIFY(hands::Click(*d, "RadioButton2"));
        QVERIFY(hands::Type(*d, "TSenha", "4321"));
        QVERIFY(hands::Click(*d, "senha1"));
        QVERIFY(hands::Click(*d, "senha2"));
        QVERIFY(!model->state.locked);
        QVERIFY(hands::Click(*d, "senha3"));
        QVERIFY(Quiet());
        QVERIFY(model->state.locked);
        QCOMPARE(model->state.password, 4321u);
        QCOMPARE(UserText(), QStringLiteral("SENHA GRAVADA - COM TRAVA"));
        QCOMPARE(Display(), QStringLiteral("GroupBox10 | Configure as partições do rádio"));

        // Without the old password the locked radio refuses a new one.
        QVERIFY(hands::Click(*d, "NxButton2"));
        QVERIFY(Quiet());
        QVERIFY(hands::Click(*d, "RadioButton1"));
        QVERIFY(hands::Type(*d, "TSenha", "1111"));
        QVERIFY(hands::Click(*d, "BGravaSenhaD"));
        QVERIFY(Quiet());
        QCOMPARE(UserText(), QStringLiteral("SENHA ERRADA - TRAVADA"));
        QCOMPARE(model->state.password, 4321u);

        // With it, in lock mode, stored without lock.
        QVERIFY(hands::Click(*d, "NxButton2"));
        QVERIFY(Quiet());
        QVERIFY(hands::Click(*d, "RadioButton2"));
        QVERIFY(hands::Type(*d, "ASenha", "4321"));
        QVERIFY(hands::Click(*d, "RadioButton1"));
        QVERIFY(hands::Click(*d, "BGravaSenhaD"));
        QVERIFY(Quiet());
        QCOMPARE(UserText(), QStringLiteral("SENHA GRAVADA - SEM TRAVA"));
        QCOMPARE(model->state.password, 1111u);
        QVERIFY(!model->state.locked);
        QCOMPARE(errors->size(), 0);
    }
};

QTEST_MAIN(tst_WizardWalk)
#include "tst_wizard.moc"
