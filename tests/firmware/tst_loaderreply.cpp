// Loader replies as the dispatcher's loader step decodes them.
#include <QtTest>

#include "firmware/loaderreply.h"

using firmware::DecodeLoaderReply;

class tst_LoaderReply : public QObject {
    Q_OBJECT

private slots:
    void decodes_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("expectedAddress");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("radioModel"); // -1: unchanged
        QTest::addColumn<int>("radioVariant");
        QTest::addColumn<QString>("text");

        const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
        QTest::newRow("235 accepted")
            << hex("0300eb000001200000") << 0x0120 << true << 20 << -1 << -1 << " OK ";
        QTest::newRow("235 another address")
            << hex("0300eb000001210000") << 0x0120 << true << 2 << -1 << -1
            << " Erro: Ack de Outro Endereço Recebido ";
        QTest::newRow("235 flash address range") << hex("0300eb000201200000") << 0x0120 << true << 4
                                                 << -1 << -1 << " Erro: Faixa de Endereço FLASH ";
        QTest::newRow("235 flash write") << hex("0300eb000401200000") << 0x0120 << true << 6 << -1
                                         << -1 << " Erro: Gravação na Flash ";
        QTest::newRow("235 ROM address") << hex("0300eb001001200000") << 0x0120 << true << 18 << -1
                                         << -1 << " Erro: Endereço ROM ";
        QTest::newRow("235 other status")
            << hex("0300eb000101200000") << 0x0120 << true << 3 << -1 << -1 << " Outro Erro ";
        QTest::newRow("235 status 254: waiting again")
            << hex("0300eb00fe01200000") << 0x0120 << true << 0 << -1 << -1 << " Outro Erro ";
        QTest::newRow("235 of 7 bytes: no CRC needed")
            << hex("0300eb00000120") << 0x0120 << true << 20 << -1 << -1 << " OK ";
        QTest::newRow("235 of 6 bytes")
            << hex("0300eb000001") << 0x0120 << false << 0 << -1 << -1 << "";
        QTest::newRow("233 erased")
            << hex("0300e9000000") << 0 << true << 10 << -1 << -1 << " \n Memória Apagada OK ";
        QTest::newRow("234 result") << hex("0300ea000100") << 0 << true << 1 << 1 << -1 << " OK ";
        QTest::newRow("234 of 5 bytes") << hex("0300ea0007") << 0 << true << 1 << 7 << -1 << " OK ";
        QTest::newRow("226 identity")
            << hex("0300e2000000009a4e0e000b0100000000060100000000000000000000") << 0 << true << 1
            << 0x0E << 1 << " OK ";
        QTest::newRow("212 identity, 19 bytes") << hex("0300d4000000009a4e15000b01000000000602")
                                                << 0 << true << 1 << 0x15 << 2 << " OK ";
        QTest::newRow("226 of 18 bytes")
            << hex("0300e2000000009a4e0e000b010000000006") << 0 << false << 0 << -1 << -1 << "";
    }
    void decodes()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, expectedAddress);
        const firmware::LoaderReply reply = DecodeLoaderReply(frame, expectedAddress);
        QTEST(reply.complete, "complete");
        QTEST(int(reply.state), "state");
        QTEST(reply.radioModel.value_or(-1), "radioModel");
        QTEST(reply.radioVariant.value_or(-1), "radioVariant");
        QTEST(reply.text, "text");
    }
};

QTEST_GUILESS_MAIN(tst_LoaderReply)
#include "tst_loaderreply.moc"
