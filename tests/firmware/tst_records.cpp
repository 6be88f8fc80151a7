// The record reader on every kind of record, and the data command built from a record.
#include <QBuffer>
#include <QtTest>

#include "firmware/records.h"
#include "firmwarefiles.h"
#include "link/frame.h"

using namespace firmware;

Q_DECLARE_METATYPE(firmware::Layout)
Q_DECLARE_METATYPE(firmware::ReadResult)

namespace {

ReadResult ReadOne(const QByteArray& text, Layout layout, Record& record)
{
    QBuffer file;
    file.setData(text);
    file.open(QIODevice::ReadOnly);
    RecordReader reader(file);
    return reader.Next(layout, record);
}

} // namespace

class tst_Records : public QObject {
    Q_OBJECT

private slots:
    void readsOneRecord_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<ReadResult>("result");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data"); // hex
        QTest::addColumn<int>("checksum");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("headerBytes"); // HH MM, hex

        const auto T = Layout::Transfer;
        const auto C = Layout::CheckPass;
        const auto R = ReadResult::Record;
        QTest::newRow("data record")
            << QByteArray(":0401000012345678F4") << T << R << 0ll << 4 << 0x0100 << 0
            << QByteArray("12345678") << 0xF4 << 0 << QByteArray();
        QTest::newRow("lower case digits")
            << QByteArray(":02abcd00beefc5") << T << R << 0ll << 2 << 0xABCD << 0
            << QByteArray("beef") << 0xC5 << 0 << QByteArray();
        QTest::newRow("text and blank lines before it, CR LF")
            << QByteArray("firmware 6.11\r\n\r\n  \r\n:0101000012EC\r\n") << T << R << 21ll << 1
            << 0x0100 << 0 << QByteArray("12") << 0xEC << 0 << QByteArray();
        QTest::newRow("white space before each field")
            << QByteArray(":01 0100\t00\n12 EC") << T << R << 0ll << 1 << 0x0100 << 0
            << QByteArray("12") << 0xEC << 0 << QByteArray();
        QTest::newRow("wrong checksum byte is kept")
            << QByteArray(":0101000012AA") << T << R << 0ll << 1 << 0x0100 << 0 << QByteArray("12")
            << 0xAA << 0 << QByteArray();
        QTest::newRow("header, transfer: HH and MM before the data")
            << QByteArray(":0200001F0E01AABBC5") << T << R << 0ll << 2 << 0 << 0x1F
            << QByteArray("aabb") << 0xC5 << 0 << QByteArray("0e01");
        QTest::newRow("header, check pass: HH and MM are data")
            << QByteArray(":0200001F0E01AABBC5") << C << R << 0ll << 2 << 0 << 0x1F
            << QByteArray("0e01") << 0xAA << 0 << QByteArray("0000");
        QTest::newRow("header with LL 00, check pass: HH is the checksum byte")
            << QByteArray(":0000001F0E01D2\n") << C << R << 0ll << 0 << 0 << 0x1F << QByteArray()
            << 0x0E << 0 << QByteArray("0000");
        QTest::newRow("end record: the checksum digits are V")
            << QByteArray(":00000001FF\n") << T << R << 0ll << 0 << 0 << 1 << QByteArray() << 0
            << 0x00FF << QByteArray();
        QTest::newRow("end record in the check pass")
            << QByteArray(":00000001FF") << C << R << 0ll << 0 << 0 << 1 << QByteArray() << 0
            << 0x00FF << QByteArray();
        QTest::newRow("end record with end flag: V of four digits")
            << QByteArray(":00000011ABCD99") << T << R << 0ll << 0 << 0 << 0x11 << QByteArray() << 0
            << 0xABCD << QByteArray();
        QTest::newRow("end record with end flag, check pass: a data record")
            << QByteArray(":00000011ABCD") << C << R << 0ll << 0 << 0 << 0x11 << QByteArray()
            << 0xAB << 0 << QByteArray();
        QTest::newRow("V ends at the next ':'")
            << QByteArray(":00000001F:0101") << T << R << 0ll << 0 << 0 << 1 << QByteArray() << 0
            << 0xF << QByteArray();
        QTest::newRow("type the loader does not know: nothing after TT is read")
            << QByteArray(":0100004612zz") << T << R << 0ll << 1 << 0 << 0x46 << QByteArray("00")
            << 0 << 0 << QByteArray();
        QTest::newRow("type the loader does not know, check pass: a data record")
            << QByteArray(":0100004612A7") << C << R << 0ll << 1 << 0 << 0x46 << QByteArray("12")
            << 0xA7 << 0 << QByteArray();
        QTest::newRow("CRC line") << QByteArray(":02000090BEEF82") << T << R << 0ll << 2 << 0
                                  << 0x90 << QByteArray("beef") << 0x82 << 0 << QByteArray();
        QTest::newRow("nothing but text")
            << QByteArray("  \r\n\r\nend\n") << T << ReadResult::NoRecord << 0ll << 0 << 0 << 0
            << QByteArray() << 0 << 0 << QByteArray();
        QTest::newRow("cut off in the data")
            << QByteArray(":0401000012\n") << T << ReadResult::CutOff << 0ll << 4 << 0x100 << 0
            << QByteArray() << 0 << 0 << QByteArray();
        QTest::newRow("cut off inside the checksum byte")
            << QByteArray(":0101000012E") << T << ReadResult::CutOff << 0ll << 1 << 0x100 << 0
            << QByteArray() << 0 << 0 << QByteArray();
        QTest::newRow("cut off before V")
            << QByteArray(":00000001\r\n") << C << ReadResult::CutOff << 0ll << 0 << 0 << 1
            << QByteArray() << 0 << 0 << QByteArray();
        QTest::newRow("no digit where V must start")
            << QByteArray("\n:00000001 zz") << T << ReadResult::Malformed << 1ll << 0 << 0 << 1
            << QByteArray() << 0 << 0 << QByteArray();
        QTest::newRow("no digit where a data byte must start")
            << QByteArray("xx:0201000012 G4EC") << T << ReadResult::Malformed << 2ll << 2 << 0x100
            << 0 << QByteArray() << 0 << 0 << QByteArray();
        QTest::newRow("a field cut short by a blank")
            << QByteArray(":1 0100001234") << T << ReadResult::Malformed << 0ll << 0 << 0 << 0
            << QByteArray() << 0 << 0 << QByteArray();
    }
    void readsOneRecord()
    {
        QFETCH(QByteArray, text);
        QFETCH(Layout, layout);
        QFETCH(ReadResult, result);
        Record record;
        QCOMPARE(ReadOne(text, layout, record), result);
        if (result == ReadResult::NoRecord)
            return;
        QTEST(record.offset, "offset");
        if (result != ReadResult::Record)
            return;
        QTEST(int(record.length), "length");
        QTEST(int(record.address), "address");
        QTEST(int(record.type), "type");
        QFETCH(QByteArray, data);
        if (!IsOutOfSpec(record.type) || layout == Layout::CheckPass) {
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(record.data.data()), record.length)
                         .toHex(),
                data.toLower());
            QTEST(int(record.checksum), "checksum");
        }
        QTEST(int(record.value), "value");
        QFETCH(QByteArray, headerBytes);
        if (!headerBytes.isEmpty())
            QCOMPARE(QByteArray::fromHex(headerBytes),
                QByteArray(1, char(record.hardware)) + char(record.role));
    }

    // Records follow each other across the reader's buffer; a seek to a record's position
    // reads that record again.
    void streamsRecordsAndSeeksBack()
    {
        QByteArray text;
        QList<qint64> starts;
        for (int i = 0; i < 4000; ++i) { // well over one buffer
            starts << text.size();
            text += Rec(quint16(i * 16), 0, QByteArray(16, char(i)));
        }
        QBuffer file;
        file.setData(text);
        file.open(QIODevice::ReadOnly);
        RecordReader reader(file);
        Record record;
        for (int i = 0; i < 4000; ++i) {
            QVERIFY(reader.Position() <= starts[i]);
            QCOMPARE(reader.Next(Layout::Transfer, record), ReadResult::Record);
            QCOMPARE(record.offset, starts[i]);
            QCOMPARE(int(record.address), (i * 16) & 0xFFFF);
            QCOMPARE(int(record.data[15]), i & 0xFF);
            QVERIFY(record.ChecksumRight());
        }
        QCOMPARE(reader.Next(Layout::Transfer, record), ReadResult::NoRecord);
        QVERIFY(reader.Seek(starts[1234]));
        QCOMPARE(reader.Next(Layout::Transfer, record), ReadResult::Record);
        QCOMPARE(int(record.address), 1234 * 16);
        QCOMPARE(record.offset, starts[1234]);
    }

    void checksumByte_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("right");
        QTest::newRow("right") << QByteArray(":0101000012EC") << true;
        QTest::newRow("wrong") << QByteArray(":0101000012ED") << false;
        QTest::newRow("no data") << QByteArray(":0000000000") << true;
        QTest::newRow("sum of 256") << QByteArray(":02000000FF0100") << false;
        QTest::newRow("sum wraps to 0") << QByteArray(":02000000FF00FF") << true;
    }
    void checksumByte()
    {
        QFETCH(QByteArray, text);
        Record record;
        QCOMPARE(ReadOne(text, Layout::Transfer, record), ReadResult::Record);
        QTEST(record.ChecksumRight(), "right");
    }

    void dataCommandFrame_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("radioId");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("one byte to radio 5")
            << QByteArray(":0101000012EC") << 5 << QByteArray("0500eb000001010012ecea03a4");
        QTest::newRow("check byte 0xAA is sent as 0xAB")
            << QByteArray(":00000000BE") << 5 << QByteArray("0500eb0000000000beab");
        QTest::newRow("the checksum byte goes as read, extended address type")
            << QByteArray(":020000040001AA") << 300 << QByteArray("2c01eb0004020000 0001aa");
    }
    void dataCommandFrame()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, radioId);
        QFETCH(QByteArray, frame);
        Record record;
        QCOMPARE(ReadOne(text, Layout::Transfer, record), ReadResult::Record);
        const QByteArray sent = *comm::BuildFrame(radioId, DataCommandBody(record));
        const QByteArray expected = QByteArray::fromHex(frame.replace(' ', ""));
        // The CRC is the link's; the rows give the bytes before it when they leave it out.
        QCOMPARE(sent.left(expected.size()).toHex(), expected.toHex());
        QCOMPARE(sent.size(), record.length + 12);
    }
};

QTEST_GUILESS_MAIN(tst_Records)
#include "tst_records.moc"
