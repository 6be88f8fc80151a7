// The wizard's displays, its configure and channel frames, its step arithmetic.
#include <QTest>

#include "link/frame.h"
#include "radio/wizard.h"

using radio::WizardDisplay;

Q_DECLARE_METATYPE(std::optional<WizardDisplay>)

namespace {

// "V" visible or enabled, "-" not, for: ID, channel, password, partition groups, Label2,
// BLeLocal, NxButton2, Label3, Label7; then Label7's place and caption when shown.
QString Describe(const std::optional<WizardDisplay>& d)
{
    if (!d)
        return QStringLiteral("no change");
    QString flags;
    for (bool on : { d->idGroup, d->channelGroup, d->passwordGroup, d->partitionGroup,
             d->startLabel, d->localReadEnabled, d->backEnabled, d->finishedLabel, d->guideShown })
        flags += on ? QLatin1Char('V') : QLatin1Char('-');
    if (d->guideShown)
        flags += QStringLiteral(" %1,%2 %3").arg(d->guideTop).arg(d->guideLeft).arg(d->guideText);
    return flags;
}

} // namespace

class tst_Wizard : public QObject {
    Q_OBJECT

private slots:
    void displays_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("display");
        QTest::newRow("0 idle") << 0 << "----VV---";
        QTest::newRow("1 radio ID") << 1 << "V-----V-V 76,530 Configure o ID do rádio";
        QTest::newRow("2 channel") << 2 << "-V----V-V 200,520 Configure o canal do rádio";
        QTest::newRow("3 password") << 3 << "--V---V-V 260,520 Configure a senha do rádio";
        QTest::newRow("4 partitions") << 4 << "---V--V-V 28,510 Configure as partições do rádio";
        QTest::newRow("5 finished") << 5 << "------VV-";
        QTest::newRow("-1") << -1 << "no change";
        QTest::newRow("6") << 6 << "no change";
        QTest::newRow("-128") << -128 << "no change";
    }
    void displays()
    {
        QFETCH(int, step);
        QTEST(Describe(radio::DisplayFor(step)), "display");
    }

    // The whole 17-byte frame as it leaves the tool, addressed to the ID given.
    void configureFrame_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<bool>("lowVoltage");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("ID 5, suspend on")
            << 5 << QByteArray::fromHex("00009a4e") << true
            << QByteArray::fromHex("0500ca000000009a4e0100000001007a3f");
        QTest::newRow("ID 5, suspend off")
            << 5 << QByteArray::fromHex("00009a4e") << false
            << QByteArray::fromHex("0500ca000000009a4e0100000000007baf");
    }
    void configureFrame()
    {
        QFETCH(int, id);
        QFETCH(QByteArray, serial);
        QFETCH(bool, lowVoltage);
        std::array<quint8, 4> s {};
        for (int i = 0; i < 4; ++i)
            s[i] = quint8(serial[i]);
        const QByteArray body = radio::ConfigureBody(s, lowVoltage);
        QCOMPARE(body.size(), 13);
        QTEST(comm::BuildFrame(id, body).value_or(QByteArray()), "frame");
    }

    void configureBodyLayout()
    {
        // Serial bytes at body 3..6, fixed 1 at body 7, the flag at body 11.
        const QByteArray body = radio::ConfigureBody({ { 0xFE, 0x01, 0x80, 0x7F } }, true);
        QCOMPARE(body.toHex(),
            QByteArray("ca0000fe01807f0100000001"
                       "00"));
        QCOMPARE(int(comm::BuildFrame(1023, body)->size()), 17);
        QCOMPARE(comm::BuildFrame(1023, body)->left(2).toHex(), QByteArray("ff03"));
    }

    void channelFrame_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("0") << 0 << QByteArray::fromHex("0100d9000000194d");
        QTest::newRow("7") << 7 << QByteArray::fromHex("0100d9070000a88c");
        QTest::newRow("79") << 79 << QByteArray::fromHex("0100d94f0000289a");
        QTest::newRow("no selection") << -1 << QByteArray();
        QTest::newRow("beyond the list") << 80 << QByteArray();
    }
    void channelFrame()
    {
        QFETCH(int, channel);
        const std::optional<QByteArray> body = radio::ChannelBody(channel);
        const QByteArray frame = body
            ? comm::BuildFrame(radio::ChannelCommandRadioId, *body).value_or(QByteArray())
            : QByteArray();
        QTEST(frame, "frame");
    }

    void steps()
    {
        QCOMPARE(int(radio::StepAfterConfigure(14)), 2);
        QCOMPARE(int(radio::StepAfterConfigure(0)), 2);
        QCOMPARE(int(radio::StepAfterConfigure(21)), 3);
        QCOMPARE(int(radio::StepBack(3)), 2);
        QCOMPARE(int(radio::StepBack(0)), -1);
        QCOMPARE(int(radio::StepBack(-1)), -2);
        QCOMPARE(int(radio::StepBack(-128)), -128); // never wraps to 127
    }
};

QTEST_APPLESS_MAIN(tst_Wizard)
#include "tst_wizard.moc"
