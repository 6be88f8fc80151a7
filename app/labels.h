#pragma once

#include <QLabel>

// Labels whose caption the tool changes size themselves to it, growing to the right from
// where they stand, so a longer text is never cut off.
inline void SetCaption(QLabel* label, const QString& text)
{
    label->setText(text);
    const QSize hint = label->sizeHint();
    if (hint.width() > label->width())
        label->resize(hint.width(), label->height());
}
