#include "readings/diagnostics.h"

#include "link/frame.h"

namespace readings {

namespace {

struct LoggedField {
    int offset;
    int width;
    const char* label;
};

// Every field after the radio ID, in the order of the log (the order of the bytes).
constexpr LoggedField LoggedFields[] = {
    { 3, 1, "Temp Min       :" },
    { 4, 1, "Temp Med       :" },
    { 5, 1, "Temp Max       :" },
    { 6, 1, "V3v3 Min       :" },
    { 7, 1, "V3v3 Med       :" },
    { 8, 1, "V3v3 Max       :" },
    { 9, 2, "Num Reset      :" },
    { 11, 2, "Num POR        :" },
    { 13, 2, "Num WD         :" },
    { 15, 1, "Status flags   :" },
    { 16, 4, "Tempo Ligado   :" },
    { 20, 4, "Tempo Reset    :" },
    { 24, 2, "Pilha          :" },
    { 26, 1, "Status Mestre  :" },
    { 27, 1, "Tensao de Linha:" },
    { 28, 4, "Eventos ok     :" },
    { 32, 4, "CID LQ         :" },
    { 36, 2, "Nivel L1       :" },
    { 38, 2, "Nivel L2       :" },
    { 40, 2, "Max   L1       :" },
    { 42, 2, "Max   L2       :" },
};

constexpr LoggedField BatteryFields[] = {
    { 45, 1, "VBateria Min  :" },
    { 46, 1, "VBateria Med  :" },
    { 47, 1, "VBateria Max  :" },
};

constexpr const char* BatteryCaptions[] = { "TENSÃO MIN", "TENSÃO ATUAL", "TENSÃO MAX" };

// Callers have checked that the field lies inside the frame.
quint32 BigEndian(const QByteArray& frame, int offset, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(frame[offset + i]);
    return value;
}

quint8 Byte(const QByteArray& frame, int offset)
{
    return quint8(frame[offset]);
}

QString Signed(quint32 value)
{
    return QString::number(qint32(value));
}

QString LevelPair(const QByteArray& frame, int offset)
{
    return QStringLiteral("%1 / %2")
        .arg(BigEndian(frame, offset, 2))
        .arg(BigEndian(frame, offset + 2, 2));
}

} // namespace

QString ValueLine(const QString& label, const QByteArray& frame, int offset, int width)
{
    if (offset < 0 || width < 1 || width > 4 || offset + width > frame.size())
        return {};
    return QStringLiteral("\n%1%2").arg(label, Signed(BigEndian(frame, offset, width)));
}

QString WordLine(const QString& label, const QByteArray& frame, int offset)
{
    if (offset < 0 || offset + 2 > frame.size())
        return {};
    const int value = Byte(frame, offset) + 256 * Byte(frame, offset + 1);
    return QStringLiteral("\n%1%2").arg(label).arg(value);
}

QString DurationText(quint32 seconds)
{
    return QStringLiteral("%1 dd, %2 hr, %3 min, %4 seg")
        .arg(seconds / 86400)
        .arg((seconds / 3600) % 24)
        .arg((seconds / 60) % 60)
        .arg(seconds % 60);
}

QString RadioStatusText(int radioId, quint8 flags)
{
    if (radioId == 0) {
        if (flags == 0x01)
            return QStringLiteral("OK");
        if (flags == 0x10)
            return QStringLiteral("SEM COMUNICAÇÃO COM AUTOMAÇÃO");
        return {};
    }
    QString text = (flags & 0x04) ? QStringLiteral("PROBLEMA TENSÃO LINHA") : QStringLiteral("OK");
    if (flags & 0x01)
        text += QStringLiteral(", RECEBENDO CONTACT-ID");
    if (flags & 0x02)
        text += QStringLiteral(", BYPASS RELE");
    return text;
}

QString CommunicationStatusText(quint8 masterStatus)
{
    if (masterStatus == 0x01)
        return QStringLiteral("OK");
    if (masterStatus & 0x20)
        return QStringLiteral("BUFFER MESTRE CHEIO");
    return QStringLiteral("INTERFACE AUTOMAÇÃO COM PROBLEMAS");
}

QString BatteryVoltageText(quint8 tenths)
{
    return QStringLiteral("%1,%2V").arg(tenths / 10).arg(tenths % 10);
}

std::optional<DiagnosticsReading> DecodeDiagnostics(
    const QByteArray& frame, const QString& timeText)
{
    if (frame.size() < DiagnosticsMinLength)
        return std::nullopt;
    DiagnosticsReading reading;
    const int id = comm::FrameRadioId(frame);
    reading.radioId = id;
    // The battery voltages count only when the marker and all three bytes were received.
    reading.batteryVoltages = frame.size() >= DiagnosticsWithBatteryLength
        && Byte(frame, BatteryMarkerOffset) == BatteryMarker;

    QString& log = reading.logText;
    log = QStringLiteral("\n[%1]").arg(timeText);
    log += WordLine(QStringLiteral("ID RADIO       :"), frame, 0);
    for (const LoggedField& field : LoggedFields)
        log += ValueLine(QString::fromUtf8(field.label), frame, field.offset, field.width);

    auto row = [&reading](int number, const char* caption, const QString& value) {
        reading.rows.append({ number, QString::fromUtf8(caption), value });
    };
    row(0, "ID RADIO", QString::number(id));
    row(1, "TEMP MINIMA", QString::number(Byte(frame, 3)));
    row(2, "TEMP ATUAL", QString::number(Byte(frame, 4)));
    row(3, "TEMP MAXIMA", QString::number(Byte(frame, 5)));
    row(4, "NUMERO RESET", QString::number(BigEndian(frame, 9, 2)));
    row(5, "TEMPO LIGADO", DurationText(BigEndian(frame, 16, 4)));
    row(6, "TENSÃO DE LINHA", QString::number(Byte(frame, 27)) + QLatin1Char('V'));
    row(7, id == 0 ? "EVENTOS CONTACT-ID" : "EVENTOS TRANSMITIDOS",
        Signed(BigEndian(frame, 28, 4)));
    row(8, "EVENTOS RECUSADOS", Signed(BigEndian(frame, 32, 4)));
    row(9, "NIVEL CONTACT ID", LevelPair(frame, 36));
    row(10, "NIVEL CONTACT ID MAX", LevelPair(frame, 40));
    row(11, "ESTADO RADIO", RadioStatusText(id, Byte(frame, 15)));
    row(12, "ESTADO COMUNICAÇÃO RF", CommunicationStatusText(Byte(frame, 26)));

    if (reading.batteryVoltages) {
        for (int i = 0; i < 3; ++i) {
            const LoggedField& field = BatteryFields[i];
            log += ValueLine(QString::fromUtf8(field.label), frame, field.offset, field.width);
            row(13 + i, BatteryCaptions[i], BatteryVoltageText(Byte(frame, field.offset)));
        }
    }
    return reading;
}

} // namespace readings
