#pragma once

// What a person does on the "Firmware (JTag)" page, for its widget tests: the
// window on screen with the page in front, boxes typed into, buttons clicked,
// the boxes that came up read back.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "jtag_firmware_controls.h"
#include "window_doubles.h"

namespace velarix::test::jtag_steps {

// The window on screen with the JTAG page in front, as a person finds it.
inline gui::JtagFirmwareControls* Show(TestWindow& w) {
    w.form.show();
    w.form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w.form));
    QTest::mouseClick(w.form.Pages()->tabBar(), Qt::LeftButton, {},
                      w.form.Pages()->tabBar()->tabRect(2).center());
    EXPECT_EQ(w.form.Pages()->currentWidget(), w.form.JtagFirmware());
    return w.form.JtagControls();
}

// Clicks into a box, selects what it holds and types.
inline void TypeInto(QComboBox* box, const QString& keys) {
    QLineEdit* edit = box->lineEdit();
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, keys);
}

inline void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// The texts of the boxes shown so far.
inline QStringList Texts(const TestWindow& w) {
    QStringList texts;
    for (const auto& box : w.boxes.shown) texts << box.text;
    return texts;
}

}  // namespace velarix::test::jtag_steps
