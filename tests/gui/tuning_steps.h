#pragma once

// What a person does on the "Sintonización" page, for the widget tests of
// table editing and of the edit dialogs: the window on screen and active,
// tables read through "Leer Archivo...", rows clicked, keys typed to the
// widget that has the focus.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "sample_tables.h"
#include "test_files.h"
#include "tuning_page.h"
#include "window_doubles.h"

namespace velarix::test {

inline WindowOptions SampleSettings() {
    WindowOptions options;
    options.sampleSettings = true;
    return options;
}

struct TuningSteps : ::testing::Test {
    TestWindow w{SampleSettings()};
    QTemporaryDir dir;
    gui::TuningPage* page = w.form.Tuning();
    int files = 0;

    void SetUp() override {
        w.form.show();
        w.form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w.form));
        ClickTab(w.form.Pages(), 4);
    }

    static void ClickTab(QTabWidget* tabs, int index) {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(index).center());
        QApplication::processEvents();
    }
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
        QApplication::processEvents();
    }
    static QPoint RowPoint(gui::TableGrid* grid, int row, int column = 1) {
        const QModelIndex cell = grid->model()->index(row - 1, column - 1);
        grid->scrollTo(cell);
        return grid->visualRect(cell).center();
    }
    static void ClickRow(gui::TableGrid* grid, int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, keys, RowPoint(grid, row));
    }
    // Clicks row `first` and shift-clicks row `last`.
    static void SelectRows(gui::TableGrid* grid, int first, int last) {
        ClickRow(grid, first);
        if (last != first) ClickRow(grid, last, Qt::ShiftModifier);
    }
    static void DoubleClickRow(gui::TableGrid* grid, int row) {
        const QPoint at = RowPoint(grid, row);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    // Until the window is the one that takes the keys. (A dialog over the
    // main window reads as active as soon as the main window is.)
    static void WaitActive(QWidget* window) {
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), window, 5000);
    }
    // Keys typed to whatever has the focus.
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
        QApplication::processEvents();
    }
    static void Type(const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, text);
    }
    // Clicks into a field, selects all it holds and types.
    static void TypeInto(QWidget* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(4, field->height() / 2));
        ASSERT_EQ(QApplication::focusWidget(), field);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(text);
    }
    // Opens a list and clicks one of its entries; the list may answer by
    // choosing another (`stays` false).
    static void Choose(QComboBox* list, const QString& entry, bool stays = true) {
        const int target = list->findText(entry);
        ASSERT_GE(target, 0) << entry.toStdString();
        list->showPopup();
        QAbstractItemView* view = list->view();
        const QModelIndex item = view->model()->index(target, 0);
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        QApplication::processEvents();
        // The closed list gives the activation back to its window, as a
        // window manager does.
        list->window()->activateWindow();
        WaitActive(list->window());
        if (stays) {
            ASSERT_EQ(list->currentIndex(), target);
        }
    }
    // While a modal dialog runs, `steps` drive it; they run as soon as the
    // dialog's event loop does (and never after the test's window is gone).
    void WhileOpen(std::function<void()> steps) {
        QTimer::singleShot(0, &w.form, std::move(steps));
    }

    QString Put(const QByteArray& bytes) {
        return PutFile(dir.filePath(QStringLiteral("table%1.bin").arg(++files)), bytes);
    }
    // "Leer Archivo..." with a flash image (type 1) or a RAM table (type 2).
    void Read(const QByteArray& bytes, int type = 1) {
        w.dialogs.answers.push_back({Put(bytes), type});
        Click(page->readButton);
    }
    QString ChannelCell(int row, int column) {
        return w.form.Tables().Channels().Cell(row, column);
    }
    QString TransponderCell(int row, int column) {
        return w.form.Tables().Transponders().Cell(row, column);
    }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : w.boxes.shown) texts << box.text;
        return texts;
    }
};

}  // namespace velarix::test
