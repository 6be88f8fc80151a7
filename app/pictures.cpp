#include "pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// The same colours as the pin cells of the input grid, so picture and grid match.
const QColor PinOneColour(0x00, 0xFF, 0x00);
const QColor PinTwoColour(0xFF, 0xFF, 0x00);

QPixmap BlankPixmap(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QFont PictureFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// One screw terminal of the block: a metal window with a slotted screw head.
void DrawTerminal(QPainter& p, const QRectF& cell)
{
    const QRectF window = cell.adjusted(7, 7, -7, -7);
    QLinearGradient metal(window.topLeft(), window.bottomRight());
    metal.setColorAt(0, QColor(0xF2, 0xF2, 0xF2));
    metal.setColorAt(1, QColor(0x9A, 0x9A, 0x9A));
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    p.setBrush(metal);
    p.drawRoundedRect(window, 2, 2);

    const qreal radius = qMin(window.width(), window.height()) / 2 - 3;
    const QPointF centre = window.center();
    p.setBrush(QColor(0xC8, 0xC8, 0xC8));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-radius * 0.7, radius * 0.7),
        centre + QPointF(radius * 0.7, -radius * 0.7));
}

} // namespace

QPixmap RadioInputsPicture()
{
    QPixmap pixmap = BlankPixmap(RadioInputsSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // Terminal block: pin 1, pin 2, ground.
    struct Pin {
        const char* tag;
        const char* caption;
        QColor colour;
    };
    const Pin pins[] = { { "1", "PINO 1", PinOneColour }, { "2", "PINO 2", PinTwoColour },
        { "-", "GND", QColor(0x40, 0x40, 0x40) } };
    const qreal cellWidth = 48;
    const QRectF block(4, 18, cellWidth * 3 + 4, 42);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1.2));
    p.setBrush(QColor(0x2E, 0x7D, 0x32));
    p.drawRoundedRect(block, 4, 4);

    for (int i = 0; i < 3; ++i) {
        const QRectF cell(block.left() + 2 + i * cellWidth, block.top(), cellWidth, block.height());
        DrawTerminal(p, cell.adjusted(4, 0, -4, 0));

        // Coloured tag above the terminal, with the pin number.
        const QRectF tag(cell.center().x() - 10, 1, 20, 15);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(pins[i].colour);
        p.drawRoundedRect(tag, 3, 3);
        p.setFont(PictureFont(11, true));
        p.setPen(i == 2 ? Qt::white : Qt::black);
        p.drawText(tag, Qt::AlignCenter, QString::fromLatin1(pins[i].tag));

        p.setPen(Qt::black);
        p.setFont(PictureFont(9, true));
        p.drawText(QRectF(cell.left(), block.bottom() + 2, cellWidth, 16), Qt::AlignCenter,
            QString::fromLatin1(pins[i].caption));
    }

    // The input limit, in a warning box pointing at the two inputs.
    const QRectF note(block.right() + 14, 16, RadioInputsSize.width() - block.right() - 18, 46);
    QPainterPath pointer;
    pointer.moveTo(note.left() + 1, note.center().y() - 7);
    pointer.lineTo(block.right() + 3, note.center().y());
    pointer.lineTo(note.left() + 1, note.center().y() + 7);
    p.setPen(QPen(QColor(0xC0, 0x00, 0x00), 1.5));
    p.setBrush(QColor(0xFF, 0xF4, 0xE0));
    p.drawPath(pointer);
    p.drawRoundedRect(note, 5, 5);
    p.setPen(QColor(0xC0, 0x00, 0x00));
    p.setFont(PictureFont(16, true));
    p.drawText(note.adjusted(0, 2, 0, -18), Qt::AlignCenter, QStringLiteral("5V max"));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setFont(PictureFont(10, false));
    p.drawText(note.adjusted(0, 26, 0, -2), Qt::AlignCenter, QStringLiteral("entradas 1 e 2"));
    return pixmap;
}

QPixmap TransceiverPicture()
{
    QPixmap pixmap = BlankPixmap(TransceiverSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = TransceiverSize.width();
    const qreal h = TransceiverSize.height();

    // Antenna: a whip with a rounded tip, on a gold connector at the top of the case.
    const qreal antennaX = w - 30;
    const QRectF whip(antennaX - 3.5, 4, 7, 128);
    QLinearGradient rubber(whip.topLeft(), whip.topRight());
    rubber.setColorAt(0, QColor(0x50, 0x50, 0x50));
    rubber.setColorAt(0.5, QColor(0x18, 0x18, 0x18));
    rubber.setColorAt(1, QColor(0x05, 0x05, 0x05));
    p.setPen(Qt::NoPen);
    p.setBrush(rubber);
    p.drawRoundedRect(whip, 3.5, 3.5);
    p.drawRoundedRect(QRectF(antennaX - 6, 112, 12, 26), 3, 3);
    QLinearGradient gold(antennaX - 7, 0, antennaX + 7, 0);
    gold.setColorAt(0, QColor(0xB8, 0x86, 0x0B));
    gold.setColorAt(0.5, QColor(0xFF, 0xE0, 0x80));
    gold.setColorAt(1, QColor(0x8B, 0x65, 0x08));
    p.setBrush(gold);
    p.drawRect(QRectF(antennaX - 7, 137, 14, 12));

    // Case.
    const QRectF body(6, 148, w - 12, h - 168);
    QLinearGradient shell(body.topLeft(), body.topRight());
    shell.setColorAt(0, QColor(0xFA, 0xFA, 0xFA));
    shell.setColorAt(0.6, QColor(0xE6, 0xE6, 0xE6));
    shell.setColorAt(1, QColor(0xB8, 0xB8, 0xB8));
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5));
    p.setBrush(shell);
    p.drawRoundedRect(body, 10, 10);

    // Front panel with the status lights.
    const QRectF panel(body.left() + 10, body.top() + 14, body.width() - 20, 106);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    p.setBrush(QColor(0x2B, 0x3A, 0x55));
    p.drawRoundedRect(panel, 5, 5);
    p.setPen(Qt::white);
    p.setFont(PictureFont(14, true));
    p.drawText(panel.adjusted(0, 6, 0, -60), Qt::AlignCenter, QStringLiteral("RF MESH"));
    struct Light {
        const char* caption;
        QColor colour;
    };
    const Light lights[] = { { "PWR", QColor(0x30, 0xE0, 0x30) },
        { "TX", QColor(0xFF, 0x40, 0x30) }, { "RX", QColor(0xFF, 0xB0, 0x00) } };
    p.setFont(PictureFont(9, true));
    for (int i = 0; i < 3; ++i) {
        const qreal x = panel.left() + panel.width() * (i + 0.5) / 3;
        const QPointF led(x, panel.top() + 58);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(lights[i].colour);
        p.drawEllipse(led, 5, 5);
        p.setPen(Qt::white);
        p.drawText(QRectF(x - 16, led.y() + 8, 32, 14), Qt::AlignCenter,
            QString::fromLatin1(lights[i].caption));
    }

    // Label plate near the foot, ventilation slots between it and the panel.
    const QRectF plate(body.left() + 12, body.bottom() - 74, body.width() - 24, 46);
    p.setPen(QPen(QColor(0x88, 0x88, 0x88), 3, Qt::SolidLine, Qt::RoundCap));
    for (qreal y = panel.bottom() + 22; y < plate.top() - 14; y += 12)
        p.drawLine(QPointF(body.left() + 20, y), QPointF(body.right() - 20, y));

    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(plate, 3, 3);
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.setFont(PictureFont(8, true));
    p.drawText(plate.adjusted(2, 4, -2, -24), Qt::AlignCenter, QStringLiteral("TRANSCEPTOR"));
    p.setFont(PictureFont(8, false));
    p.drawText(plate.adjusted(2, 22, -2, -4), Qt::AlignCenter, QStringLiteral("12 Vcc"));

    // Cable gland under the case.
    const QRectF gland(w / 2 - 12, body.bottom() - 1, 24, 12);
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawRoundedRect(gland, 3, 3);
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w / 2, gland.bottom()), QPointF(w / 2, h - 3));
    return pixmap;
}
