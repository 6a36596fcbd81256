#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

QLabel* MakeLabel(QWidget* parent, const char* name, QRect geometry);
QComboBox* MakeCombo(QWidget* parent, const char* name, QRect geometry, bool editable = false);
QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry);
QCheckBox* MakeCheck(QWidget* parent, const char* name, QRect geometry);
QGroupBox* MakeGroup(QWidget* parent, const char* name, QRect geometry);

// Replaces a list's entries, keeping its selected position, without running
// its change handler.
void SetEntries(QComboBox* list, const QStringList& entries);
// Selects a position without running the change handler; a position the list
// lacks selects nothing.
void Select(QComboBox* list, int position);

// A page of a page control.
QWidget* AddPage(QTabWidget* pages, const char* name);

// Calls `work` whenever `widget` loses the focus.
void OnFocusOut(QWidget* widget, std::function<void()> work);

// Calls `layOut` with the widget's size on every resize of `widget`.
void OnResize(QWidget* widget, std::function<void(QSize)> layOut);

}  // namespace velarix::gui
