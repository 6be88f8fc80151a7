// The check pass: its log, the byte count for the progress bar, its two failures.
#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include "firmware/checkpass.h"
#include "firmwarefiles.h"

namespace {

QByteArray Ones(int n)
{
    return QByteArray(n, '\x01');
}

} // namespace

class tst_CheckPass : public QObject {
    Q_OBJECT

private slots:
    void checksAFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("log");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("eventRuns"); // after records with a right checksum byte

        QTest::newRow("two sections")
            << Rec(0x0100, 0, Ones(16)) + Rec(0x0110, 0, Ones(16)) + Rec(0x0400, 0, Ones(8))
                + Rec(0x0408, 0, Ones(8)) + EndRecord
            << true
            << "\nSection 0 :  [0100]-[011F]\nSection 1 :  [0400]-[040F]\nChecksum Flash: 0030 "
            << 49 << 4;
        QTest::newRow("first record the end record") << EndRecord + Rec(0x0100, 0, Ones(16)) << true
                                                     << "[0000]\nChecksum Flash: 0000 " << 1 << 0;
        QTest::newRow("a gap and a lower address start new sections")
            << Rec(0x0100, 0, Ones(4)) + Rec(0x0200, 0, Ones(4)) + Rec(0x0100, 0, Ones(4))
                + EndRecord
            << true
            << "\nSection 0 :  [0100]-[0103]\nSection 1 :  [0200]-[0203]\nSection 2 :  "
               "[0100]-[0103]\nChecksum Flash: 000C "
            << 13 << 3;
        QTest::newRow("0xFF left out of the sum, the sum wraps")
            << Rec(0, 0, QByteArray(255, '\xFE')) + Rec(0x00FF, 0, QByteArray(255, '\xFE'))
                + Rec(0x01FE, 0, QByteArray::fromHex("FFFF01")) + EndRecord
            << true << "\nSection 0 :  [0000]-[0200]\nChecksum Flash: FA05 " << 514 << 3;
        QTest::newRow("records after the end are neither read nor counted")
            << Rec(0x0100, 0, Ones(2)) + EndRecord + ":ZZ\n" + Rec(0x0200, 0, Ones(100)) << true
            << "\nSection 0 :  [0100]-[0101]\nChecksum Flash: 0002 " << 3 << 1;
        QTest::newRow("only an end record with end flag")
            << Rec(0x0100, 0, Ones(2)) + ":000102110001\n"
            << false << "\nSection 0 :  [0100]-\nNão começa com ':'" << 3 << 1;
        QTest::newRow("a wrong checksum byte is accepted and counted")
            << Rec(0x0100, 0, Ones(2), 0x00) + Rec(0x0102, 0, Ones(2)) + EndRecord << true
            << "\nSection 0 :  [0100]-[0103]\nChecksum Flash: 0004 " << 5 << 1;
        QTest::newRow("CRC line: its line, then a data record")
            << Rec(0x0000, 0x90, Ones(2)) + Rec(0x0002, 0, Ones(2)) + EndRecord << true
            << "Linha de CRC\n\nSection 0 :  [0000]-[0003]\nChecksum Flash: 0004 " << 5 << 2;
        QTest::newRow("header with LL 00: HH is its checksum byte, its HH not data")
            << ":0000001F0E01D2\n" + Rec(0x0000, 0, Ones(2)) + EndRecord << true
            << "\nSection 0 :  [0000]-[0001]\nChecksum Flash: 0002 " << 3 << 1;
        QTest::newRow("header: HH and MM count as data")
            << Header(0x2F, 0x0E, 0x01, Ones(2)) + EndRecord << true
            << "\nSection 0 :  [0000]-[0001]\nChecksum Flash: 000F " << 3 << 0;
        QTest::newRow("blank lines, text, CR LF and lower case between records")
            << "RAD v6\r\n\r\n" + Rec(0x0100, 0, Ones(2)).replace("\n", "\r\n") + "\r\n  --\r\n"
                + Rec(0x0102, 0, Ones(2)).toLower() + "\r\n" + EndRecord
            << true << "\nSection 0 :  [0100]-[0103]\nChecksum Flash: 0004 " << 5 << 2;
        QTest::newRow("no end record") << Rec(0x0100, 0, Ones(2)) << false
                                       << "\nSection 0 :  [0100]-\nNão começa com ':'" << 3 << 1;
        QTest::newRow("cut off inside a record")
            << Rec(0x0100, 0, Ones(2)) + ":0401000012" << false
            << "\nSection 0 :  [0100]-\nNão começa com ':'" << 3 << 1;
        QTest::newRow("a malformed digit")
            << Rec(0x0100, 0, Ones(2)) + ":02010200X1\n" + EndRecord << false
            << "\nSection 0 :  [0100]-\nRegistro inválido na "
               "posição 16"
            << 3 << 1;
        QTest::newRow("empty file") << QByteArray() << false << "Não começa com ':'\n" << 1 << 0;
    }
    void checksAFile()
    {
        QFETCH(QByteArray, file);
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        LogModel log;
        quint32 total = 777;
        int eventRuns = 0;
        const bool ok = firmware::CheckFirmware(buffer, log, total, [&] { ++eventRuns; });
        QTEST(log.text, "log");
        QTEST(ok, "ok");
        QTEST(int(total), "total");
        QTEST(eventRuns, "eventRuns");
    }

    void missingFileKeepsTheTotal()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("none.RAD");
        LogModel log;
        quint32 total = 777;
        QVERIFY(!firmware::CheckFirmwareFile(path, log, total, {}));
        QCOMPARE(log.text, "[" + path + "] file not found\n");
        QCOMPARE(total, 777u);
    }
};

QTEST_GUILESS_MAIN(tst_CheckPass)
#include "tst_checkpass.moc"
