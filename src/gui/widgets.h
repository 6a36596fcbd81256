#pragma once

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>
#include <functional>

namespace velarix::gui {

// Small helpers for building pages by hand: every control gets its objectName
// and its designed place; captions come later from the message table.
QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry);
QRadioButton* MakeRadio(QWidget* parent, const char* name, QRect geometry);

// A page of a page control.
QWidget* AddPage(QTabWidget* pages, const char* name);

// Calls `layOut` with the widget's size on every resize of `widget`.
void OnResize(QWidget* widget, std::function<void(QSize)> layOut);

}  // namespace velarix::gui
