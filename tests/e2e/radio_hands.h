#pragma once
// A technician's hands on the window: real mouse clicks and typing, with the focus moving
// as it does for a person (leaving an edit is what applies it).

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "tdualprobe.h"

namespace hands {

// The window in front, so that clicks move the focus.
inline bool Activate(TDual& d)
{
    d.activateWindow();
    return QTest::qWaitForWindowActive(&d);
}

// Whether a person could click the control now: shown and enabled.
inline bool Usable(TDual& d, const char* name)
{
    QWidget* w = TDualProbe::W(d, name);
    return w->isVisible() && w->isEnabled();
}

// A click on a button, radio button or check box; false (and no click) when it could not
// be clicked.
inline bool Click(TDual& d, const char* name)
{
    if (!Usable(d, name)) {
        qWarning("%s cannot be clicked now", name);
        return false;
    }
    QWidget* w = TDualProbe::W(d, name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    return true;
}

// Clicks into an edit (or an editable combo box), selects what it holds and types.
inline bool Type(TDual& d, const char* name, const QString& text)
{
    QWidget* w = TDualProbe::W(d, name);
    auto* combo = qobject_cast<QComboBox*>(w);
    QWidget* edit = combo ? static_cast<QWidget*>(combo->lineEdit()) : w;
    if (!edit || !Usable(d, name)) {
        qWarning("%s cannot be typed into now", name);
        return false;
    }
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
    return true;
}

// Leaves the control that has the focus, as the Tab key does.
inline void Tab(TDual& d)
{
    QWidget* focused = d.focusWidget();
    QTest::keyClick(focused ? focused : &d, Qt::Key_Tab);
}

// Picks an item of a drop-down list with the keyboard: Home, then Down to the item.
inline bool Choose(TDual& d, const char* name, const QString& item)
{
    auto* combo = TDualProbe::W<QComboBox>(d, name);
    const int index = combo->findText(item);
    if (!Usable(d, name) || index < 0) {
        qWarning("%s cannot be chosen from now", name);
        return false;
    }
    combo->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    return combo->currentIndex() == index;
}

} // namespace hands
