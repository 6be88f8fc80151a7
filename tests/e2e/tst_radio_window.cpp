// Radio configuration through the real window on a pseudo-terminal: the exact bytes the tool
// sends, and what it shows, for the parameter read, the wizard and the password.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ptyline.h"
#include "radio_hands.h"
#include "tdualprobe.h"

using P = TDualProbe;

namespace {

// A parameter reply from a radio: 28 bytes and a CRC that nobody reads. Fields as offsets.
QByteArray ParamReply(int id, std::initializer_list<std::pair<int, quint8>> fields = {})
{
    QByteArray f(30, '\0');
    f[0] = char(id & 0xFF);
    f[1] = char(id >> 8);
    f[2] = char(0xE2);
    const std::pair<int, quint8> defaults[] = { { 5, 1 }, { 6, 2 }, { 7, 3 }, { 8, 4 }, { 9, 14 },
        { 11, 11 }, { 12, 12 }, { 17, 6 }, { 21, 1 }, { 26, 2 }, { 27, 3 } };
    for (const auto& [offset, value] : defaults)
        f[offset] = char(value);
    for (const auto& [offset, value] : fields)
        f[offset] = char(value);
    return f;
}

const QByteArray ClientCodeRequest5 = QByteArray::fromHex("0500cb020000bc71");

const char* const ConfigControls[] = { "BConfig", "BconfigCanal", "RadioButton1", "RadioButton2",
    "RadioButton3", "BGravaSenhaD", "BgravaPart", "OpenFile" };

} // namespace

class tst_RadioWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TDual> d;
    std::unique_ptr<PtyLine> line;
    std::shared_ptr<QStringList> errors;

    // Connected; the connect's read (to ID 0) already on the line and taken.
    void Connect()
    {
        d = std::make_unique<TDual>();
        errors = P::CatchErrors(*d);
        line = std::make_unique<PtyLine>();
        QVERIFY(hands::Activate(*d));
        P::PortSettings(*d).port = line->Path();
        QVERIFY(hands::Click(*d, "Terminal"));
        QCOMPARE(line->ReadAtLeast(8).toHex(), QByteArray("0000e200000015b8"));
    }

    // A reply on the line; what the tool sent back within the time given.
    QByteArray Answer(const QByteArray& reply, int ms = 250)
    {
        line->Write(reply);
        return line->ReadFor(ms);
    }

    // Connected, radio 5 read (the client-code request taken): the wizard in step 1.
    void ConnectAndRead(std::initializer_list<std::pair<int, quint8>> fields = {})
    {
        Connect();
        QCOMPARE(Answer(ParamReply(5, fields)).toHex(), ClientCodeRequest5.toHex());
    }

    bool Shown(const char* name) { return !P::W(*d, name)->isHidden(); }

private slots:
    void cleanup()
    {
        d.reset(); // the port closes before the line does
        line.reset();
    }

    void replyFillsTheWindowThenAsksForTheClientCodes()
    {
        Connect();
        QCOMPARE(Answer(ParamReply(5)).toHex(), ClientCodeRequest5.toHex());
        QCOMPARE(P::W<QComboBox>(*d, "ID")->currentIndex(), 5);
        QCOMPARE(P::W<QComboBox>(*d, "ID")->currentText(), QStringLiteral("5"));
        QCOMPARE(P::W<QLineEdit>(*d, "TID")->text(), QStringLiteral("5"));
        QCOMPARE(P::ParamColumn(*d, 0),
            QStringList({ "ID RADIO", "NUMERO SERIE", "VERSÃO HARDWARE", "VERSÃO FIRMWARE",
                "REVISÃO FIRMWARE", "CANAL", "BANCO MEMÓRIA", "COMUNICAÇÃO", "PARTIÇÃO RÁDIO",
                "." }));
        QCOMPARE(P::ParamColumn(*d, 1),
            QStringList({ "5", "1.2.3.4", "LUXAR_v8 460M", "6", "11", "12", "A",
                "PARADOX ULTRA 738", "3", "" }));
        QStringList serial;
        for (const char* box : { "ID0", "ID1", "ID2", "ID3" })
            serial << P::W<QLineEdit>(*d, box)->text();
        QCOMPARE(serial, QStringList({ "1", "2", "3", "4" }));
        QCOMPARE(P::RadioModel(*d), 14);
        QCOMPARE(P::RadioSerial(*d), (std::array<quint8, 4> { { 1, 2, 3, 4 } }));
        QCOMPARE(P::W<QComboBox>(*d, "BCanal")->currentIndex(), 12);
        QVERIFY(P::W(*d, "BCanal")->isEnabled());
        auto* lowVoltage = P::W<QCheckBox>(*d, "HBaixoConsumo");
        QVERIFY(lowVoltage->isVisible() && lowVoltage->isChecked());
        for (const char* control : ConfigControls)
            QVERIFY2(P::W(*d, control)->isEnabled(), control);
        QVERIFY(!Shown("Label4") && !Shown("Label6"));
        // The wait is over; the client-code request waits now. Step 1 shows.
        QVERIFY(!P::AwaitingReply(*d));
        QCOMPARE(P::StatusText(*d), QStringLiteral("Aguardando Resposta"));
        QVERIFY(Shown("GroupBox1") && !Shown("Label2"));
        auto* guide = P::W<QLabel>(*d, "Label7");
        QVERIFY(guide->isVisible());
        QCOMPARE(guide->text(), QStringLiteral("Configure o ID do rádio"));
        QCOMPARE(guide->pos(), QPoint(530, 76));
        QVERIFY(hands::Usable(*d, "NxButton2") && !P::W(*d, "BLeLocal")->isEnabled());
    }

    void masterRadioCannotBeConfigured()
    {
        Connect();
        P::W<QCheckBox>(*d, "HBaixoConsumo")->setChecked(true);
        const QByteArray sent
            = Answer(ParamReply(0, { { 10, 2 }, { 13, 1 }, { 20, 0x03 }, { 21, 0xE8 } }));
        QCOMPARE(sent.toHex(), QByteArray("0000cb020000bc24"));
        QCOMPARE(P::ParamColumn(*d, 0),
            QStringList({ "ID RADIO", "NUMERO SERIE", "VERSÃO HARDWARE", "VERSÃO FIRMWARE",
                "REVISÃO FIRMWARE", "CANAL", "BANCO MEMÓRIA", "PROTOCOLO", "COMANDO+EVENTO",
                "TESTE PERIÓDICO" }));
        QCOMPARE(P::ParamColumn(*d, 1),
            QStringList({ "0", "1.2.3.4", "LUXAR_v8 460M", "6", "11", "12", "A",
                "SURGARD COM ACK Estendido", "COMANDO+EVENTO", "999 min" }));
        for (const char* control : ConfigControls)
            QVERIFY2(!P::W(*d, control)->isEnabled(), control);
        QVERIFY(Shown("Label4") && Shown("Label6"));
        QVERIFY(!Shown("HBaixoConsumo"));
        QVERIFY(!P::W<QCheckBox>(*d, "HBaixoConsumo")->isChecked());
        QVERIFY(Shown("GroupBox1")); // the display still follows the step
        QVERIFY(!hands::Click(*d, "BConfig"));
    }

    // Fixed-channel hardware: no channel choice, but its button stays; CONFIGURA skips ahead.
    void hardware21()
    {
        ConnectAndRead({ { 9, 21 } });
        QVERIFY(!P::W(*d, "BCanal")->isEnabled());
        QVERIFY(P::W(*d, "BconfigCanal")->isEnabled());
        QVERIFY(hands::Click(*d, "BConfig"));
        line->ReadAtLeast(17);
        QCOMPARE(int(P::WizardStep(*d)), 3);
    }

    // In the radio-ID step a reply whose byte 3 is 226 is decoded and nothing else follows:
    // no display, no client-code request, no write confirmation.
    void markerInStepOne_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("followed");
        QTest::newRow("step 1") << 1 << false;
        QTest::newRow("step 2") << 2 << true;
    }
    void markerInStepOne()
    {
        QFETCH(int, step);
        QFETCH(bool, followed);
        Connect();
        P::WizardStep(*d) = qint8(step);
        P::LastWriteCommand(*d) = 226;
        const QByteArray sent = Answer(ParamReply(5, { { 3, 226 } }));
        QCOMPARE(P::W<QLineEdit>(*d, "TID")->text(), QStringLiteral("5")); // decoded
        QCOMPARE(P::AwaitingReply(*d), followed); // the re-read waits again
        QCOMPARE(Shown(step == 1 ? "GroupBox1" : "GroupBox2"), followed);
        // Followed: the client-code request and the re-read of the write confirmation.
        QCOMPARE(sent.toHex(),
            followed ? (ClientCodeRequest5 + QByteArray::fromHex("0500e200000015ed")).toHex()
                     : QByteArray());
        QCOMPARE(int(P::LastWriteCommand(*d)), followed ? 0 : 226);
    }

    void replyWhileNothingIsAwaitedChangesNothing()
    {
        ConnectAndRead();
        QVERIFY(!P::AwaitingReply(*d));
        const QStringList before = P::ParamColumn(*d, 1);
        QCOMPARE(Answer(ParamReply(9, { { 12, 40 } })), QByteArray());
        QCOMPARE(P::ParamColumn(*d, 1), before);
        QCOMPARE(P::W<QComboBox>(*d, "ID")->currentIndex(), 5);
    }

    // Replies that are not decoded still end the wait and move the wizard on.
    void undecodedReplies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("log");
        QTest::newRow("short, from the selected radio") << QByteArray::fromHex(
            "0500e2000000009a4e0e") << " CRC CRC\nResposta incompleta (10 bytes)\n";
        QTest::newRow("short, from another radio")
            << ParamReply(9).left(27) << "Resposta incompleta (27 bytes)\n";
        QTest::newRow("ID 1024") << ParamReply(1024) << "ID inválido (1024)\n";
        QTest::newRow("ID 65535") << ParamReply(0xFFFF) << "ID inválido (65535)\n";
    }
    void undecodedReplies()
    {
        QFETCH(QByteArray, reply);
        Connect();
        P::SelectRadio(*d, 5);
        const QStringList captions = P::ParamColumn(*d, 0);
        QCOMPARE(Answer(reply).toHex(), ClientCodeRequest5.toHex());
        QTEST(P::Log(*d), "log");
        QCOMPARE(P::ParamColumn(*d, 0), captions);
        QCOMPARE(P::ParamColumn(*d, 1), QStringList(10, QString()));
        QCOMPARE(P::W<QComboBox>(*d, "ID")->currentIndex(), 5);
        QVERIFY(!P::AwaitingReply(*d));
        QVERIFY(Shown("GroupBox1"));
        QCOMPARE(errors->size(), 0);
    }

    // A channel beyond the list selects none, and none is sent.
    void channelBeyondTheList()
    {
        ConnectAndRead({ { 12, 200 } });
        QCOMPARE(P::ParamText(*d, 5, 1), QStringLiteral("200"));
        QCOMPARE(P::W<QComboBox>(*d, "BCanal")->currentIndex(), -1);
        P::WizardStep(*d) = 2;
        P::ShowWizardStep(*d, 2);
        QVERIFY(hands::Click(*d, "BconfigCanal"));
        QCOMPARE(line->ReadFor(100), QByteArray());
        QCOMPARE(errors->size(), 1);
        QCOMPARE(int(P::WizardStep(*d)), 2);
        QCOMPARE(int(P::LastWriteCommand(*d)), 0);
    }

    void leavingTheIdBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("errorsShown");
        QTest::newRow("7") << "7" << 7 << "7" << 0;
        QTest::newRow("1023") << "1023" << 1023 << "1023" << 0;
        QTest::newRow("0") << "0" << 0 << "0" << 0;
        QTest::newRow("leading zeros") << "0042" << 42 << "42" << 0;
        QTest::newRow("emptied") << "" << 0 << "0" << 0;
        QTest::newRow("1024 is refused") << "1024" << 5 << "5" << 1;
        QTest::newRow("99999 is refused") << "99999" << 5 << "5" << 1;
        QTest::newRow("-1 is refused") << "-1" << 5 << "5" << 1;
        QTest::newRow("text is refused") << "abc" << 5 << "5" << 1;
    }
    void leavingTheIdBox()
    {
        QFETCH(QString, typed);
        ConnectAndRead();
        QVERIFY(hands::Type(*d, "ID", typed));
        hands::Tab(*d);
        QTEST(P::W<QComboBox>(*d, "ID")->currentIndex(), "id");
        QTEST(P::W<QComboBox>(*d, "ID")->currentText(), "shown");
        QTEST(P::W<QLineEdit>(*d, "TID")->text(), "shown");
        QTEST(int(errors->size()), "errorsShown");
        QCOMPARE(P::W<QComboBox>(*d, "ID")->count(), 1024); // nothing typed becomes an item
    }

    void configureFrame_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("option ticked")
            << 6 << true << QByteArray::fromHex("0900ca0000010203040100000001001c5d");
        QTest::newRow("option unticked")
            << 6 << false << QByteArray::fromHex("0900ca0000010203040100000000001dcd");
        QTest::newRow("option hidden: flag 0")
            << 4 << true << QByteArray::fromHex("0900ca0000010203040100000000001dcd");
    }
    void configureFrame()
    {
        QFETCH(int, version);
        QFETCH(bool, tick);
        Connect();
        P::W<QCheckBox>(*d, "HBaixoConsumo")->setChecked(true); // the read unticks it
        QCOMPARE(Answer(ParamReply(5, { { 17, quint8(version) }, { 21, 0 } })).toHex(),
            ClientCodeRequest5.toHex());
        QVERIFY(!P::W<QCheckBox>(*d, "HBaixoConsumo")->isChecked());
        if (tick && hands::Usable(*d, "HBaixoConsumo"))
            QVERIFY(hands::Click(*d, "HBaixoConsumo"));
        QVERIFY(hands::Type(*d, "ID", "9"));
        QVERIFY(hands::Click(*d, "BConfig")); // leaving the ID box applies it first
        QTEST(line->ReadAtLeast(17), "frame");
        QCOMPARE(int(P::LastWriteCommand(*d)), 202);
        QCOMPARE(int(P::WizardStep(*d)), 2);
        QVERIFY(!P::AwaitingReply(*d));
        // The radio confirms under its new ID: the tool reads it again there.
        QCOMPARE(
            Answer(QByteArray::fromHex("0900ca000000")).toHex(), QByteArray("0900e20000001521"));
        QCOMPARE(int(P::LastWriteCommand(*d)), 0);
        QVERIFY(P::AwaitingReply(*d));
    }

    void channelGoesToRadioOne()
    {
        ConnectAndRead();
        P::ShowWizardStep(*d, 2);
        QVERIFY(hands::Choose(*d, "BCanal", "7"));
        QVERIFY(hands::Click(*d, "BconfigCanal"));
        QCOMPARE(line->ReadAtLeast(8).toHex(), QByteArray("0100d9070000a88c"));
        QCOMPARE(int(P::LastWriteCommand(*d)), 217);
        QCOMPARE(int(P::WizardStep(*d)), 3);
    }

    void voltaAndRecomecar()
    {
        ConnectAndRead();
        // VOLTA once in step 1: the reply shows the start.
        QVERIFY(hands::Click(*d, "NxButton2"));
        QCOMPARE(line->ReadAtLeast(8).toHex(), QByteArray("0500e200000015ed"));
        QCOMPARE(int(P::WizardStep(*d)), 0);
        QCOMPARE(Answer(ParamReply(5)).toHex(), ClientCodeRequest5.toHex());
        QVERIFY(Shown("Label2") && !Shown("GroupBox1") && !Shown("Label7"));
        QVERIFY(hands::Usable(*d, "BLeLocal") && !P::W(*d, "NxButton2")->isEnabled());

        // LEITURA LOCAL, then VOLTA twice before the reply: step -1 changes no control.
        QVERIFY(hands::Click(*d, "BLeLocal"));
        QCOMPARE(int(P::WizardStep(*d)), 1);
        line->ReadAtLeast(8);
        QCOMPARE(Answer(ParamReply(5)).toHex(), ClientCodeRequest5.toHex());
        QVERIFY(Shown("GroupBox1"));
        QVERIFY(hands::Click(*d, "NxButton2"));
        QVERIFY(hands::Click(*d, "NxButton2"));
        QCOMPARE(int(P::WizardStep(*d)), -1);
        line->ReadAtLeast(16);
        QCOMPARE(Answer(ParamReply(5)).toHex(), ClientCodeRequest5.toHex());
        QVERIFY(Shown("GroupBox1") && !Shown("Label2"));
        QVERIFY(!P::W(*d, "BLeLocal")->isEnabled());

        // RECOMEÇAR: the start at once, nothing sent.
        QVERIFY(hands::Click(*d, "NxButton1"));
        QCOMPARE(line->ReadFor(100), QByteArray());
        QCOMPARE(int(P::WizardStep(*d)), 1);
        for (const char* hidden :
            { "GroupBox1", "GroupBox2", "GroupBox5", "GroupBox10", "Label3", "Label7" })
            QVERIFY2(!Shown(hidden), hidden);
        QVERIFY(Shown("Label2"));
        QVERIFY(hands::Usable(*d, "BLeLocal") && !P::W(*d, "NxButton2")->isEnabled());
        QCOMPARE(P::ParamColumn(*d, 1), QStringList(10, QString()));
        QVERIFY(hands::Click(*d, "BLeLocal"));
        line->ReadAtLeast(8);
        QCOMPARE(Answer(ParamReply(5)).toHex(), ClientCodeRequest5.toHex());
        QVERIFY(Shown("GroupBox1") && !Shown("Label2"));
    }

    // ---- Password ----------------------------------------------------------------------

    void passwordEdits()
    {
        ConnectAndRead();
        P::ShowWizardStep(*d, 3);
        QVERIFY(hands::Type(*d, "TSenha", "000123"));
        hands::Tab(*d);
        QCOMPARE(P::W<QLineEdit>(*d, "TSenha")->text(), QStringLiteral("123"));
        QCOMPARE(P::NewPassword(*d), 123u);
        // Only digits go in, at most nine.
        QVERIFY(hands::Type(*d, "TSenha", "12x34567890"));
        QCOMPARE(P::W<QLineEdit>(*d, "TSenha")->text(), QStringLiteral("123456789"));
        hands::Tab(*d);
        QCOMPARE(P::NewPassword(*d), 123456789u);

        // An emptied edit is refused; the value stays and nothing is sent.
        QVERIFY(hands::Type(*d, "TSenha", ""));
        hands::Tab(*d);
        QCOMPARE(errors->size(), 1);
        QCOMPARE(P::NewPassword(*d), 123456789u);
        QVERIFY(hands::Click(*d, "BGravaSenhaD"));
        QCOMPARE(line->ReadFor(100), QByteArray());
        QCOMPARE(errors->size(), 2);
        QCOMPARE(int(P::WizardStep(*d)), 1);
    }

    void storeWithoutLockSendsTheOldPassword()
    {
        ConnectAndRead();
        P::ShowWizardStep(*d, 3);
        QVERIFY(hands::Click(*d, "RadioButton2"));
        QVERIFY(Shown("ASenha") && Shown("Label1"));
        QVERIFY(hands::Type(*d, "ASenha", "4321"));
        hands::Tab(*d);
        QVERIFY(hands::Click(*d, "RadioButton1"));
        QVERIFY(!Shown("ASenha") && !Shown("Label1"));
        QVERIFY(hands::Type(*d, "TSenha", "1234"));
        P::W<QLabel>(*d, "UserText")->setText("---");
        QVERIFY(hands::Click(*d, "BGravaSenhaD"));
        QCOMPARE(line->ReadAtLeast(14).toHex(), QByteArray("0500cd011a4194a9e2bb7c15a5f1"));
        QCOMPARE(P::W<QLabel>(*d, "UserText")->text(), QString());
        QCOMPARE(int(P::WizardStep(*d)), 4);
        QCOMPARE(int(P::LastWriteCommand(*d)), 205);
        // The radio's status; the partition step shows.
        QCOMPARE(Answer(QByteArray::fromHex("0500cd010000")), QByteArray());
        QCOMPARE(P::W<QLabel>(*d, "UserText")->text(), QStringLiteral("SENHA GRAVADA - SEM TRAVA"));
        QVERIFY(Shown("GroupBox10") && !Shown("GroupBox5"));
        QCOMPARE(int(P::LastWriteCommand(*d)), 205);
    }

    void lockSequence()
    {
        ConnectAndRead();
        P::ShowWizardStep(*d, 3);
        auto states = [this] {
            QString s;
            for (const char* b : { "senha1", "senha2", "senha3", "senha4" })
                s += hands::Usable(*d, b) ? 'E' : 'D';
            return s;
        };
        QVERIFY(hands::Click(*d, "RadioButton2"));
        QVERIFY(!Shown("BGravaSenhaD") && !Shown("BTesteSenha"));
        QCOMPARE(states(), QStringLiteral("EDDD"));
        QVERIFY(hands::Click(*d, "senha1"));
        QCOMPARE(states(), QStringLiteral("DEDE"));
        QVERIFY(hands::Click(*d, "senha4")); // CANCELA
        QCOMPARE(states(), QStringLiteral("EDDD"));
        QVERIFY(hands::Click(*d, "senha1"));
        QVERIFY(hands::Click(*d, "senha2"));
        QCOMPARE(states(), QStringLiteral("DDEE"));
        // Switching modes and back keeps the sequence only in lock mode.
        QVERIFY(hands::Click(*d, "RadioButton1"));
        QVERIFY(hands::Click(*d, "RadioButton2"));
        QCOMPARE(states(), QStringLiteral("EDDD"));
        QVERIFY(hands::Click(*d, "senha1"));
        QVERIFY(hands::Click(*d, "senha2"));
        QCOMPARE(line->ReadFor(50), QByteArray()); // nothing sent so far
        QVERIFY(hands::Type(*d, "TSenha", "1234"));
        QVERIFY(hands::Type(*d, "ASenha", "4321"));
        QVERIFY(hands::Click(*d, "senha3")); // ENVIA
        QCOMPARE(line->ReadAtLeast(14).toHex(), QByteArray("0500cd021a4194a9e2bb7c15b101"));
        QCOMPARE(states(), QStringLiteral("EDDD"));
        QCOMPARE(int(P::WizardStep(*d)), 4);
        QCOMPARE(int(P::LastWriteCommand(*d)), 205);
    }

    void passwordTest()
    {
        ConnectAndRead();
        P::WizardStep(*d) = 3;
        P::ShowWizardStep(*d, 3);
        QVERIFY(hands::Click(*d, "RadioButton3"));
        QVERIFY(Shown("BTesteSenha") && !Shown("BGravaSenhaD") && !Shown("senha1"));
        QVERIFY(hands::Type(*d, "TSenha", "123"));
        QVERIFY(hands::Click(*d, "BTesteSenha"));
        QCOMPARE(line->ReadAtLeast(14).toHex(), QByteArray("0500cd0353b6c41f5e90c688dcdf"));
        QCOMPARE(int(P::WizardStep(*d)), 3);
        QCOMPARE(int(P::LastWriteCommand(*d)), 0);
        QCOMPARE(Answer(QByteArray::fromHex("0500cd550000")), QByteArray());
        QCOMPARE(
            P::W<QLabel>(*d, "UserText")->text(), QStringLiteral("SENHA CONFERE - DESTRAVADA"));
        QVERIFY(Shown("GroupBox5")); // the status stays in view
    }

    void passwordReplies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("partitions");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("wrong, locked: still moves on")
            << QByteArray::fromHex("0500cdab0000") << "SENHA ERRADA - TRAVADA" << true
            << QByteArray();
        QTest::newRow("unknown status")
            << QByteArray::fromHex("0500cd070000") << "" << true << QByteArray();
        // From another radio: not shown; it confirms the write instead.
        QTest::newRow("another radio") << QByteArray::fromHex("0600cd010000") << "---" << false
                                       << QByteArray::fromHex("0500e200000015ed");
    }
    void passwordReplies()
    {
        QFETCH(QByteArray, reply);
        ConnectAndRead();
        P::ShowWizardStep(*d, 3);
        P::WizardStep(*d) = 4;
        P::LastWriteCommand(*d) = 205;
        P::W<QLabel>(*d, "UserText")->setText("---");
        QTEST(Answer(reply), "sent");
        QTEST(P::W<QLabel>(*d, "UserText")->text(), "caption");
        QTEST(Shown("GroupBox10"), "partitions");
    }

    void masterKeepsAVisibleLockSequenceUsable()
    {
        ConnectAndRead();
        P::ShowWizardStep(*d, 3);
        QVERIFY(hands::Click(*d, "RadioButton2"));
        P::WizardStep(*d) = 3;
        P::RequestLocalRead(*d);
        line->ReadAtLeast(8);
        QCOMPARE(Answer(ParamReply(0)).toHex(), QByteArray("0000cb020000bc24"));
        for (const char* b : { "RadioButton1", "RadioButton2", "RadioButton3", "BGravaSenhaD" })
            QVERIFY2(!P::W(*d, b)->isEnabled(), b);
        QVERIFY(hands::Usable(*d, "senha1"));
    }
};

QTEST_MAIN(tst_RadioWindow)
#include "tst_radio_window.moc"
