// The transfer step by step against a scripted loader: frames, attempts, refusals, stop
// requests, resume, end results, statistics.
#include <QTemporaryDir>
#include <QtTest>

#include "scriptedloader.h"

using firmware::StatisticsLine;

namespace {

QByteArray Bytes(const char* hex)
{
    return QByteArray::fromHex(hex);
}

QByteArray Frame(int radioId, const QByteArray& body)
{
    return *comm::BuildFrame(radioId, body);
}

// Header for hardware 14, slave, bank A; then two data records and the end record.
const QByteArray SmallFile = Header(0x1F, 0x0E, 0x01) + Rec(0x0000, 0, Bytes("DEADBEEF"))
    + Rec(0x0004, 0, Bytes("0102")) + EndRecord;

QByteArray FourRecords()
{
    QByteArray file = Header(0x2F, 0x0E, 0x01);
    for (int i = 0; i < 4; ++i)
        file += Rec(quint16(i * 8), 0, QByteArray(8, char(0x10 + i)));
    return file + EndRecord;
}

QList<QByteArray> DataFrames(const ScriptedLoader& loader)
{
    QList<QByteArray> frames;
    for (const QByteArray& frame : loader.sent)
        if (comm::FrameCode(frame) == 235)
            frames << frame;
    return frames;
}

// The log without the line end that closes a line written on an empty last line.
QString Trimmed(const QString& log)
{
    return log.endsWith(QLatin1Char('\n')) ? log.chopped(1) : log;
}

QString LastLine(const QString& log)
{
    return Trimmed(log).section(QLatin1Char('\n'), -1);
}

} // namespace

class tst_Transfer : public QObject {
    Q_OBJECT

private slots:
    void loadsAFileStepByStep()
    {
        ScriptedLoader t;
        t.firmwareTotal = 7; // as the check pass counts this file
        t.replyMs = 500;
        QVERIFY(t.Run(SmallFile));

        QCOMPARE(t.sent,
            QList<QByteArray>({ Frame(3, Bytes("e2000000")), Frame(3, Bytes("e9000000")),
                Frame(3, Bytes("eb001f000000d2") + char(~(0xEB ^ 0x1F ^ 0xD2))),
                Frame(3,
                    Bytes("eb0000040000deadbeefc4")
                        + char(~(0xEB ^ 0x04 ^ 0xDE ^ 0xAD ^ 0xBE ^ 0xEF ^ 0xC4))),
                Frame(3,
                    Bytes("eb000002000401 02f7")
                        + char(~(0xEB ^ 0x02 ^ 0x04 ^ 0x01 ^ 0x02 ^ 0xF7))),
                Frame(3, Bytes("ea0000ff")) }));
        QCOMPARE(t.waits, QList<int>({ 7000, 7000, 7000, 7000, 7000, 10000 }));
        QCOMPARE(t.progress, QList<int>({ 14, 71, 100, 100 }));
        QCOMPARE(t.log.text,
            QStringLiteral(" OK  \n Memória Apagada OK \n"
                           "Section 0 : [0000] words from [0000] OK \n"
                           "Section 1 : [0004] words from [0000] OK \n"
                           "Section 2 : [0002] words from [0004] OK  OK \n"
                           "Gravação ok\n"
                           "Fim da Gravação\n"
                           " \n"
                           "FILE: 6 bytes sent in 3.000000 seconds [20.000000 bits/sec] \n"
                           "RF:   42 bytes sent in 3.000000 seconds [140.000000 bits/sec] "));
        QCOMPARE(t.log.tails, 3);
        QCOMPARE(t.radio.state.flash.toHex(), QByteArray("deadbeef0102"));
        QCOMPARE(t.radio.state.erases, 1);
        QVERIFY(t.firmwareActive);
        QVERIFY(t.awaitingReply);
        QCOMPARE(int(t.lastWriteCommand), 0);
        QCOMPARE(t.radioModel, 0); // the end-of-load result
        QCOMPARE(t.expectedAddress, 4);
        QCOMPARE(t.firmwareSent, 7u);
    }

    void checksTheRadioBeforeErasing_data()
    {
        QTest::addColumn<int>("radioId");
        QTest::addColumn<int>("bank");
        QTest::addColumn<int>("headerType");
        QTest::addColumn<int>("hardware");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("refusal"); // "" when it passes

        QTest::newRow("other hardware")
            << 3 << 0 << 0x1F << 0x15 << 1 << "Firmware não é para esta versão de Hardware";
        QTest::newRow("master firmware, radio 3")
            << 3 << 0 << 0x1F << 0x0E << 0 << "Este firmware é só para o rádio Mestre";
        QTest::newRow("slave firmware, radio 0")
            << 0 << 0 << 0x1F << 0x0E << 2 << "Este firmware é só para o rádio Escravo";
        QTest::newRow("master firmware, radio 0") << 0 << 0 << 0x1F << 0x0E << 0 << "";
        QTest::newRow("slave firmware, radio 3") << 3 << 0 << 0x1F << 0x0E << 1 << "";
        QTest::newRow("bank A firmware, bank B radio")
            << 3 << 1 << 0x1F << 0x0E << 1 << "Firmware não é para este Banco de Memória";
        QTest::newRow("bank B firmware, bank A radio")
            << 3 << 0 << 0x0F << 0x0E << 1 << "Firmware não é para este Banco de Memória";
        QTest::newRow("bank B firmware, bank B radio") << 3 << 1 << 0x0F << 0x0E << 1 << "";
        QTest::newRow("any bank, bank A") << 3 << 0 << 0x2F << 0x0E << 1 << "";
        QTest::newRow("any bank, bank B") << 3 << 1 << 0x2F << 0x0E << 1 << "";
        QTest::newRow("bank 2 passes bank B firmware") << 3 << 2 << 0x0F << 0x0E << 1 << "";
        QTest::newRow("bank 2 passes bank A firmware") << 3 << 2 << 0x1F << 0x0E << 1 << "";
    }
    void checksTheRadioBeforeErasing()
    {
        QFETCH(int, radioId);
        QFETCH(int, bank);
        QFETCH(int, headerType);
        QFETCH(int, hardware);
        QFETCH(int, role);
        QFETCH(QString, refusal);
        ScriptedLoader t;
        t.radio.state.id = quint16(radioId);
        t.radio.state.bank = quint8(bank);
        const QByteArray file = Header(quint8(headerType), quint8(hardware), quint8(role))
            + Rec(0, 0, Bytes("55")) + EndRecord;
        QCOMPARE(t.Run(file, false, radioId), refusal.isEmpty());
        if (refusal.isEmpty()) {
            QCOMPARE(t.Codes(), QList<int>({ 226, 233, 235, 235, 234 }));
        } else {
            QCOMPARE(t.Codes(), QList<int>({ 226 }));
            QCOMPARE(LastLine(t.log.text), refusal);
            QCOMPARE(t.radio.state.erases, 0);
        }
    }

    // Every reply to one command is lost: the step's attempts, then its message.
    void countsTheAttempts_data()
    {
        QTest::addColumn<int>("silent");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("statistics");
        QTest::newRow("identity") << 226 << 6 << 7000 << "Sem resposta leitura do Rádio" << false;
        QTest::newRow("erase") << 233 << 6 << 7000 << "Sem resposta do Rádio" << false;
        QTest::newRow("data") << 235 << 126 << 7000 << "Erro de Transmissao - Time Out" << true;
        QTest::newRow("end of load")
            << 234 << 21 << 10000 << "Verifique se o Firmware foi ativado" << false;
    }
    void countsTheAttempts()
    {
        QFETCH(int, silent);
        QFETCH(int, timeout);
        ScriptedLoader t;
        t.line = [silent](const QByteArray& request, const QByteArray& reply) {
            return comm::FrameCode(request) == silent ? std::nullopt
                                                      : std::optional<QByteArray>(reply);
        };
        QVERIFY(!t.Run(SmallFile));
        QTEST(t.Count(silent), "attempts");
        QCOMPARE(t.Codes().last(), silent);
        QCOMPARE(t.waits.last(), timeout);
        QCOMPARE(int(t.log.text.count("Time Out - Repetindo ")), silent == 235 ? 125 : 0);
        QFETCH(QString, line);
        QFETCH(bool, statistics);
        QVERIFY2(t.log.text.contains(line + (statistics ? "\n \nFILE: 0 bytes" : "")),
            qPrintable(t.log.text.right(300)));
        QCOMPARE(Trimmed(t.log.text).endsWith(line), !statistics);
    }

    // The first acknowledgement of every record is wrong: each record goes twice.
    void repeatsARefusedRecord_data()
    {
        QTest::addColumn<int>("status"); // -1: the address after the record's
        QTest::addColumn<QString>("text");
        QTest::newRow("another address") << -1 << " Erro: Ack de Outro Endereço Recebido ";
        QTest::newRow("flash address range") << 2 << " Erro: Faixa de Endereço FLASH ";
        QTest::newRow("flash write") << 4 << " Erro: Gravação na Flash ";
        QTest::newRow("ROM address") << 16 << " Erro: Endereço ROM ";
        QTest::newRow("other error") << 1 << " Outro Erro ";
        QTest::newRow("status 254 waits on to the time-out") << 254 << " Outro Erro ";
    }
    void repeatsARefusedRecord()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        ScriptedLoader t;
        QSet<QByteArray> refused;
        t.line = [&](const QByteArray& request, const QByteArray& reply) {
            if (comm::FrameCode(request) != 235 || refused.contains(request))
                return std::optional<QByteArray>(reply);
            refused.insert(request);
            QByteArray altered = reply;
            if (status < 0)
                altered[6] = char(altered[6] + 1);
            else
                altered[4] = char(status);
            return std::optional<QByteArray>(altered);
        };
        QVERIFY(t.Run(SmallFile));
        QCOMPARE(t.Codes(), QList<int>({ 226, 233, 235, 235, 235, 235, 235, 235, 234 }));
        QCOMPARE(int(t.log.text.count(text + "Time Out - Repetindo ")), 3);
        QCOMPARE(t.radio.state.flash.toHex(), QByteArray("deadbeef0102"));
    }

    // CANCELA sets RetriesLeft to 0 and CancelRequested; PAUSA sets PauseRequested.
    void stopRequests_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("atWait"); // 1 identity, 2 erase, 3 header data, 4, 5 data, 6 end
        QTest::addColumn<bool>("replyLost");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<bool>("statistics");
        const QList<int> all { 226, 233, 235, 235, 235, 234 };
        QTest::newRow("cancel, the record is accepted: stops before the next")
            << true << 4 << false << false << QList<int>({ 226, 233, 235, 235 })
            << "Section 2 : [0002] words from [0004]" << false;
        QTest::newRow("cancel, the record's reply is lost: gives up at once")
            << true << 4 << true << false << QList<int>({ 226, 233, 235, 235 })
            << "Erro de Transmissao - Time Out" << false;
        QTest::newRow("cancel in the identity check without reply")
            << true << 1 << true << false << QList<int>({ 226 }) << "Sem resposta leitura do Rádio"
            << false;
        QTest::newRow("cancel in the end of load: it ends, but failed")
            << true << 6 << false << false << all << "Fim da Gravação" << false;
        QTest::newRow("pause in the identity check: stops at the first data attempt")
            << false << 1 << false << false << QList<int>({ 226, 233 })
            << "Section 0 : [0000] words from [0000]" << false;
        QTest::newRow("pause in the end of load: no data command follows")
            << false << 6 << false << true << all << "" << true;
    }
    void stopRequests()
    {
        QFETCH(bool, cancel);
        QFETCH(int, atWait);
        QFETCH(bool, replyLost);
        ScriptedLoader t;
        int requests = 0;
        t.line = [&](const QByteArray&, const QByteArray& reply) {
            return ++requests == atWait && replyLost ? std::nullopt
                                                     : std::optional<QByteArray>(reply);
        };
        t.duringWait = [&](int n) {
            if (n != atWait)
                return;
            if (cancel) {
                t.retriesLeft = 0;
                t.cancelRequested = true;
            } else {
                t.pauseRequested = true;
            }
        };
        QTEST(t.Run(SmallFile), "result");
        QTEST(t.Codes(), "codes");
        QFETCH(QString, lastLine);
        QFETCH(bool, statistics);
        QCOMPARE(t.log.text.contains("FILE: "), statistics);
        if (!statistics)
            QCOMPARE(LastLine(t.log.text), lastLine);
    }

    // A paused transfer resumes at the record it stopped at, under the same section number,
    // without a new identity check or erase; the radio gets what an uninterrupted load gives.
    void resumesWhereItStopped()
    {
        ScriptedLoader whole;
        whole.firmwareTotal = 33;
        QVERIFY(whole.Run(FourRecords()));

        ScriptedLoader t;
        t.firmwareTotal = 33;
        t.duringWait = [&](int n) { t.pauseRequested = n == 4; }; // the second data record
        QVERIFY(!t.Run(FourRecords()));
        QCOMPARE(t.Codes(), QList<int>({ 226, 233, 235, 235 }));
        QCOMPARE(t.resumeSection, 2);
        QCOMPARE(t.firmwareSent, 9u);
        QCOMPARE(t.progress, QList<int>({ 3, 27 }));
        const int stoppedAt = t.position.toInt();
        const qsizetype secondRecord
            = Header(0x2F, 0x0E, 0x01).size() + Rec(0, 0, QByteArray(8, 0x10)).size();
        QVERIFY(stoppedAt <= secondRecord);
        QCOMPARE(FourRecords().indexOf(':', stoppedAt), secondRecord);
        QVERIFY(t.log.text.endsWith("Section 2 : [0008] words from [0008]"));

        t.pauseRequested = false;
        t.duringWait = {};
        t.log.text.clear();
        t.sent.clear();
        QVERIFY(t.Run(FourRecords(), true));
        QCOMPARE(t.Codes(), QList<int>({ 235, 235, 235, 234 }));
        QVERIFY(t.log.text.startsWith("Section 2 : [0008] words from [0008]"));
        QVERIFY(t.log.text.contains("Section 4 : [0008] words from [0018]"));
        QCOMPARE(t.progress.mid(2), QList<int>({ 51, 75, 100, 100 }));
        QCOMPARE(DataFrames(whole).mid(2), DataFrames(t));
        QCOMPARE(t.radio.state.flash, whole.radio.state.flash);
        QCOMPARE(t.radio.state.erases, 1);
    }

    void endResult_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("ok");
        QTest::newRow("end record, result 0")
            << EndRecord << 0 << QByteArray("ea0000ff") << "Gravação ok" << true;
        QTest::newRow("end record, result 1")
            << EndRecord << 1 << QByteArray("ea0000ff") << "Gravação com problemas" << false;
        QTest::newRow("end flag, result 1") << QByteArray(":00000011A5C3\n") << 1
                                            << QByteArray("ea01a5c3") << "Gravação ok" << true;
        QTest::newRow("end flag, result 0")
            << QByteArray(":00000011A5C3\n") << 0 << QByteArray("ea01a5c3")
            << "Gravação com problemas" << false;
        QTest::newRow("end flag, result 7")
            << QByteArray(":000000117\n") << 7 << QByteArray("ea010007") << "Gravação com problemas"
            << false;
    }
    void endResult()
    {
        QFETCH(QByteArray, end);
        QFETCH(int, result);
        QFETCH(QByteArray, command);
        QFETCH(QString, line);
        ScriptedLoader t;
        t.radio.state.endResult = result;
        QTEST(t.Run(Rec(0, 0, Bytes("01")) + end), "ok");
        QCOMPARE(t.sent.last(), Frame(3, QByteArray::fromHex(command)));
        QVERIFY(t.log.text.contains(line + "\nFim da Gravação\n \nFILE: 1 bytes"));
        QCOMPARE(t.progress.last(), 100);
        QCOMPARE(t.radioModel, result);
    }

    void readsTheFileRecordByRecord_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("logPart");
        QTest::addColumn<QByteArray>("lastBody"); // of the last frame sent; "" not checked

        QTest::newRow("no header: the first data record goes at once")
            << Rec(0x0100, 0, Bytes("0102")) + EndRecord << true << QList<int>({ 235, 234 })
            << "Section 0 : [0002] words from [0100]" << QByteArray();
        QTest::newRow("no end record: fails after the last record was accepted")
            << Rec(0, 0, Bytes("01")) + Rec(1, 0, Bytes("02")) + "\n\n"
            << false << QList<int>({ 235, 235 }) << " OK \nNão começa com ':'" << QByteArray();
        QTest::newRow("an Intel HEX end record gives V 00FF")
            << Rec(0, 0, Bytes("01")) + EndRecord << true << QList<int>({ 235, 234 }) << ""
            << QByteArray("ea0000ff");
        QTest::newRow("extended address records go as data commands")
            << Rec(0, 0x04, Bytes("0001")) + Rec(0, 0x02, Bytes("1000")) + EndRecord << true
            << QList<int>({ 235, 235, 234 }) << "Section 1 : [0002] words from [0000]"
            << QByteArray();
        QTest::newRow("a CRC line goes as a data command")
            << Rec(0, 0x90, Bytes("abcd")) + EndRecord << true << QList<int>({ 235, 234 }) << ""
            << QByteArray();
        QTest::newRow("24 data bytes")
            << Rec(0, 0, QByteArray(24, 'x')) + EndRecord << true << QList<int>({ 235, 234 })
            << "tam 0x18\nSection 0 : [0018] words from [0000]" << QByteArray();
        QTest::newRow("a type the loader does not know")
            << Rec(0, 0, Bytes("01")) + Rec(1, 0x06, Bytes("02")) + EndRecord << false
            << QList<int>({ 235 }) << " OK \nSource file out of spec" << QByteArray();
        QTest::newRow("a malformed record is not sent")
            << Rec(0, 0, Bytes("01")) + ":02000100 01ZZ00\n" + EndRecord << false
            << QList<int>({ 235 }) << " OK \nRegistro inválido na posição 14" << QByteArray();
        QTest::newRow("a record cut off by the end of the file is not sent")
            << Rec(0, 0, Bytes("01")) + ":04000100AABB" << false << QList<int>({ 235 })
            << " OK \nNão começa com ':'" << QByteArray();
        QTest::newRow("records after the end are not read")
            << Rec(0, 0, Bytes("01")) + ":0000000100FF\n" + Rec(1, 0, Bytes("02")) << true
            << QList<int>({ 235, 234 }) << "" << QByteArray("ea0000ff");
    }
    void readsTheFileRecordByRecord()
    {
        QFETCH(QByteArray, file);
        ScriptedLoader t;
        QTEST(t.Run(file), "ok");
        QTEST(t.Codes(), "codes");
        QFETCH(QString, logPart);
        QVERIFY2(t.log.text.contains(logPart), qPrintable(t.log.text));
        QFETCH(QByteArray, lastBody);
        if (!lastBody.isEmpty())
            QCOMPARE(t.sent.last().mid(2, t.sent.last().size() - 4).toHex(), lastBody);
    }

    // The cable pulled: the next attempt ends the transfer instead of the time-outs.
    void lostLinkEndsAtTheNextAttempt_data()
    {
        QTest::addColumn<int>("atWait");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("identity check") << 1 << QList<int>({ 226 });
        QTest::newRow("data") << 4 << QList<int>({ 226, 233, 235, 235 });
        QTest::newRow("end of load") << 6 << QList<int>({ 226, 233, 235, 235, 235, 234 });
    }
    void lostLinkEndsAtTheNextAttempt()
    {
        QFETCH(int, atWait);
        ScriptedLoader t;
        t.duringWait = [&](int n) {
            if (n == atWait)
                t.linkLost = true;
        };
        QVERIFY(!t.Run(SmallFile));
        QTEST(t.Codes(), "codes");
        QCOMPARE(LastLine(t.log.text), firmware::LinkLostText);
        QVERIFY(!t.log.text.contains("Time Out - Repetindo "));
    }

    void missingFile()
    {
        QTemporaryDir dir;
        ScriptedLoader t;
        const QString path = dir.filePath("gone.RAD");
        QVERIFY(!firmware::TransferFirmware(path, false, 3, t.Values(), t));
        QVERIFY(t.firmwareActive);
        QCOMPARE(t.log.text, "[" + path + "] file not found\n");
        QVERIFY(t.sent.isEmpty());
    }

    void statistics_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("line");
        QTest::newRow("rate") << 1234 << 0.123
                              << "FILE: 1234 bytes sent in 0.123000 seconds [100325.203252 "
                                 "bits/sec] ";
        QTest::newRow("no time: rate 0") << 100 << 0.0
                                         << "FILE: 100 bytes sent in 0.000000 seconds [0.000000 "
                                            "bits/sec] ";
    }
    void statistics()
    {
        QFETCH(int, bytes);
        QFETCH(double, seconds);
        QTEST(StatisticsLine("FILE: ", bytes, seconds), "line");
    }
};

QTEST_GUILESS_MAIN(tst_Transfer)
#include "tst_transfer.moc"
