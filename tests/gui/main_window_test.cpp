#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "about_page.h"
#include "credits_panel.h"
#include "eeprom_grid.h"
#include "eeprom_page.h"
#include "layout_rules.h"
#include "log_memo.h"
#include "shell/message_table.h"
#include "shell/title.h"
#include "status_panel.h"
#include "tuning_page.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;

QWidget* Named(QWidget* root, const char* name) {
    return root->findChild<QWidget*>(QString::fromLatin1(name));
}

TEST(MainWindow, EightPagesInTabOrderWithTheirCaptions) {
    TestWindow w;
    const QStringList expected{"Eeprom",          "Firmware (Paralelo+Serie)",
                               "Firmware (JTag)", "Terminal",
                               "Sintonización",   "Imagen",
                               "Configuración",   "Acerca de..."};
    QStringList captions;
    for (int i = 0; i < w.form.Pages()->count(); ++i) captions << w.form.Pages()->tabText(i);
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(w.form.windowTitle(), QStringLiteral("Velarix v4.05"));
}

TEST(MainWindow, EveryControlOfTheFrameExistsByName) {
    TestWindow w;
    const char* names[] = {
        // pages and sub-pages
        "PageControl1", "TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5",
        "TabSheet6", "TabSheet7", "TabSheet8", "TabSheet9", "TabSheet10", "TabSheet11",
        "TabSheet12", "TabSheet13", "TabSheet14", "TabSheet15", "TabSheet16", "TabSheet17",
        "TabSheet18", "TabSheet19",
        // "Eeprom"
        "Button1", "Button7", "Button4", "Button3", "Button2", "Button8", "GroupBox16",
        "RadioButton13", "RadioButton14", "RadioButton15", "StringAlignGrid1", "Memo1",
        // status panels and progress bars
        "GroupBox2", "Label1", "Label2", "Label3", "Label116", "Label115", "ProgressBar1",
        "GroupBox5", "Label20", "Label21", "Label22", "Label117", "Label118", "ProgressBar2",
        "GroupBox8", "Label59", "Label35", "Label61", "Label119", "Label120", "ProgressBar3",
        // the other log panes and the terminal input
        "Memo2", "Memo3", "Memo4", "Edit1",
        // "Sintonización", "Imagen", "Configuración", "Acerca de..."
        "StringAlignGrid2", "StringAlignGrid3", "Image1", "Button22", "Button21", "Button5",
        "Label8", "Label11", "Label14", "Label13", "Panel1"};
    for (const char* name : names) EXPECT_NE(Named(&w.form, name), nullptr) << name;
    for (const char* menu : {"PopupMenu1", "PopupMenu2", "PopupMenu3", "PopupMenu4"}) {
        EXPECT_NE(w.form.findChild<QObject*>(menu), nullptr) << menu;
    }
    for (const char* item :
         {"Guardarcomo1", "Guardarcomo2", "GuardarComo3", "Guardarcomo4", "Borrar1", "Borrar2",
          "Borrar3", "Borrar4", "Copiar1", "Copiar2", "Copiar3", "Copiar4"}) {
        EXPECT_NE(w.form.findChild<QAction*>(item), nullptr) << item;
    }
}

TEST(MainWindow, CaptionsComeFromTheMessageTable) {
    TestWindow w;
    auto text = [&](const char* name) {
        auto* button = w.form.findChild<QAbstractButton*>(name);
        return button ? button->text() : QString();
    };
    EXPECT_EQ(text("Button1"), Msg(52));
    EXPECT_EQ(text("Button2"), QStringLiteral("Leer Archivo..."));
    EXPECT_EQ(text("Button5"), QStringLiteral("Valores por Defecto"));
    EXPECT_EQ(text("RadioButton14"), QStringLiteral("0x000 -> 0x0AF"));
    EXPECT_EQ(w.form.findChild<QGroupBox*>("GroupBox16")->title(), QStringLiteral(" Longitud "));
    EXPECT_EQ(w.form.findChild<QLabel*>("Label115")->text(), QStringLiteral("Tiempo rest.:"));
    EXPECT_EQ(w.form.findChild<QAction*>("Copiar3")->text(), QStringLiteral("Copiar"));
    for (const char* memo : {"Memo1", "Memo2", "Memo3", "Memo4"}) {
        EXPECT_EQ(Named(&w.form, memo)->toolTip(), Msg(351)) << memo;
    }
    auto* channels = w.form.findChild<QTableView*>("StringAlignGrid2");
    EXPECT_EQ(channels->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("NOMBRE"));
    EXPECT_EQ(channels->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("SAT"));
    auto* transponders = w.form.findChild<QTableView*>("StringAlignGrid3");
    EXPECT_EQ(transponders->model()->headerData(6, Qt::Horizontal).toString(),
              QStringLiteral("22KHz"));
}

// What a person watches while a task runs: the "Estado" panels, progress
// bars and log panes of the pages.
bool IsWatched(QWidget* widget) {
    return qobject_cast<gui::StatusPanel*>(widget) || qobject_cast<QProgressBar*>(widget) ||
           qobject_cast<gui::LogMemo*>(widget);
}

// The controls of a page that a person could use, outside what is watched.
QList<QWidget*> ControlsOf(QWidget* page) {
    QList<QWidget*> controls;
    for (auto* widget : page->findChildren<QWidget*>()) {
        bool watched = false;
        for (QWidget* up = widget; up && up != page; up = up->parentWidget())
            watched = watched || IsWatched(up);
        const bool control = qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QTableView*>(widget) || qobject_cast<QTabBar*>(widget);
        if (control && !watched) controls << widget;
    }
    return controls;
}

// Busy disables the controls of every page but "Imagen" and "Tabla de
// Transpondedores", not what the person watches: the status panels, progress
// bars and log panes keep their enabled look.
TEST(MainWindow, BusyDisablesTheControlsButNotWhatIsWatched) {
    TestWindow w;
    w.form.show();
    QApplication::setActiveWindow(&w.form);
    auto* checksumPosition = Named(&w.form, "ComboBox51");
    ASSERT_FALSE(checksumPosition->isEnabled());  // "Añadir checksum al firmware" unticked
    QTest::mouseClick(w.form.Eeprom()->receiveButton, Qt::LeftButton);
    ASSERT_EQ(w.port.written.size(), 1);
    for (const char* page : {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5",
                             "TabSheet6", "TabSheet8"}) {
        for (QWidget* control : ControlsOf(Named(&w.form, page)))
            EXPECT_FALSE(control->isEnabled())
                << page << " " << control->objectName().toStdString();
    }
    for (const char* watched :
         {"GroupBox2", "Label1", "Label121", "ProgressBar1", "Memo1", "GroupBox5", "ProgressBar2",
          "Memo3", "GroupBox8", "Label125", "ProgressBar3", "Memo4", "Memo2"}) {
        EXPECT_TRUE(Named(&w.form, watched)->isEnabled()) << watched;
    }
    // "Sintonización" stops reacting but keeps its sub-page control reachable.
    auto* tuning = Named(&w.form, "TabSheet7");
    for (auto* child : tuning->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_EQ(child->isEnabled(), child->objectName() == "PageControl4")
            << child->objectName().toStdString();
    }
    EXPECT_TRUE(Named(&w.form, "TabSheet10")->isEnabled());
    EXPECT_TRUE(Named(&w.form, "TabSheet9")->isEnabled());
    EXPECT_TRUE(Named(&w.form, "StringAlignGrid3")->isEnabled());
    EXPECT_FALSE(Named(&w.form, "StringAlignGrid2")->isEnabled());

    QTest::mouseClick(w.form.Eeprom()->receiveButton, Qt::LeftButton);  // no second task
    EXPECT_EQ(w.port.written.size(), 1);

    w.clock.Advance(15000);    // no reply: the task ends
    w.form.Frame().EndBusy();  // harmless a second time
    for (const char* page : {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5",
                             "TabSheet6", "TabSheet7", "TabSheet8", "TabSheet9", "TabSheet10"}) {
        EXPECT_TRUE(Named(&w.form, page)->isEnabled()) << page;
    }
    EXPECT_TRUE(w.form.Eeprom()->receiveButton->isEnabled());
    EXPECT_TRUE(Named(&w.form, "Edit1")->isEnabled());
    EXPECT_FALSE(checksumPosition->isEnabled());  // a control's own state is kept
    for (auto* child : tuning->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(child->isEnabled());
    }
}

// Each value of an "Estado" panel stands beside its caption, never over it,
// and is shown whole: in Spanish and in English, at the smallest window and a
// larger one, with the longest texts the tasks write.
TEST(MainWindow, StatusValuesNeverOverlapTheirCaptions) {
    TestWindow w(test::WindowOptions{.sampleSettings = true});
    w.form.show();
    const QString values[] = {QStringLiteral("Verifica"), QStringLiteral("7F0"),
                              QStringLiteral("10"), QStringLiteral("253.86b/s"),
                              QStringLiteral("1023seg")};
    const QString wide[] = {QStringLiteral("Recibe"), QStringLiteral("7FFFFFFF"),
                            QStringLiteral("100"), QStringLiteral("1234.5Kb/seg"),
                            QStringLiteral("9999seg")};
    const StatusPage pages[] = {StatusPage::Eeprom, StatusPage::FirmwareParallel,
                                StatusPage::FirmwareJtag};
    const char* panels[] = {"GroupBox2", "GroupBox5", "GroupBox8"};
    for (int language : {0, 1}) {
        w.form.findChild<QComboBox*>("ComboBox10")->setCurrentIndex(language);
        for (QSize size : {gui::kMinimumWindowSize, QSize(1100, 800)}) {
            w.form.resize(size - (w.form.frameGeometry().size() - w.form.size()));
            for (int p = 0; p < 3; ++p) {
                w.form.Pages()->setCurrentWidget(Named(&w.form, panels[p])->parentWidget());
                QApplication::processEvents();
                for (int f = 0; f < 5; ++f) {
                    const QString& text = p == 0 ? values[f] : wide[f];
                    w.form.Frame().SetStatusField(pages[p], static_cast<StatusField>(f), text);
                }
                QApplication::processEvents();
                auto* panel = Named(&w.form, panels[p]);
                auto labels = panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
                ASSERT_EQ(labels.size(), 10);
                for (int f = 0; f < 5; ++f) {
                    QLabel* caption = labels[2 * f];
                    QLabel* value = labels[2 * f + 1];
                    const auto where = std::string(panels[p]) + " " +
                                       caption->text().toStdString() + " " +
                                       std::to_string(language);
                    EXPECT_FALSE(caption->geometry().intersects(value->geometry())) << where;
                    EXPECT_GE(caption->width(), caption->sizeHint().width()) << where;
                    EXPECT_LE(value->fontMetrics().horizontalAdvance(value->text()),
                              value->contentsRect().width())
                        << where;
                    EXPECT_TRUE(panel->rect().contains(value->geometry())) << where;
                    EXPECT_TRUE(panel->rect().contains(caption->geometry())) << where;
                }
            }
        }
    }
    Messages().ResetToDefaults();
}

TEST(MainWindow, StatusFieldsAndProgressOfEachPage) {
    TestWindow w;
    auto& frame = w.form.Frame();
    frame.SetStatusField(StatusPage::FirmwareJtag, StatusField::Errors, QStringLiteral("3"));
    EXPECT_EQ(w.form.findChild<QLabel*>("Label64")->text(), QStringLiteral("3"));
    frame.SetStatusField(StatusPage::Eeprom, StatusField::Address, QStringLiteral("7F0"));
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Address),
              QStringLiteral("7F0"));
    auto* eepromBar = w.form.findChild<QProgressBar*>("ProgressBar1");
    EXPECT_EQ(eepromBar->maximum(), 127);
    EXPECT_FALSE(eepromBar->isTextVisible());
    frame.SetProgress(StatusPage::Eeprom, 64);
    EXPECT_EQ(eepromBar->value(), 64);
    frame.ClearStatus(StatusPage::Eeprom);
    EXPECT_EQ(eepromBar->value(), 0);
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Address), QString());
    auto* value = w.form.findChild<QLabel*>("Label121");
    EXPECT_EQ(value->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    EXPECT_TRUE(value->alignment() & Qt::AlignRight);
}

// A stored position off every screen (a screen unplugged since) opens the
// window on the screen nearest to it.
TEST(MainWindow, APositionOffEveryScreenComesBackOntoTheScreen) {
    TestWindow w(test::WindowOptions{.settingsFile = "[TForm1]\r\nTop=5000\r\nLeft=-9000\r\n"});
    w.form.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect title(w.form.frameGeometry().topLeft(), QSize(w.form.frameGeometry().width(), 20));
    EXPECT_TRUE(screen.contains(title)) << w.form.x() << "," << w.form.y();
}

TEST(MainWindow, MayNotShrinkBelowItsMinimumOnceShown) {
    TestWindow w;
    w.form.resize(500, 400);  // before it is shown any size is accepted
    EXPECT_EQ(w.form.size(), QSize(500, 400));
    w.form.show();
    const QSize frame = w.form.frameGeometry().size() - w.form.size();
    w.form.resize(QSize(700, 500) - frame);
    EXPECT_EQ(w.form.frameGeometry().width(), 756);
    EXPECT_EQ(w.form.frameGeometry().height(), 570);
    w.form.resize(QSize(757, 571) - frame);
    EXPECT_EQ(w.form.frameGeometry().size(), QSize(757, 571));
    w.form.resize(QSize(756, 570) - frame);
    EXPECT_EQ(w.form.frameGeometry().size(), QSize(756, 570));
}

// Pages are laid out when they come to the front, as they are on screen.
QWidget* Visit(TestWindow& w, const char* page) {
    auto* widget = Named(&w.form, page);
    w.form.Pages()->setCurrentWidget(widget);
    QApplication::processEvents();
    return widget;
}

TEST(MainWindow, PagesFollowTheLayoutRulesOnResize) {
    TestWindow w;
    w.form.show();
    for (QSize size : {QSize(1000, 760), QSize(820, 640)}) {
        w.form.resize(size);
        auto* terminal = Visit(w, "TabSheet6");
        EXPECT_EQ(Named(&w.form, "Edit1")->y(), terminal->height() - 21);
        EXPECT_EQ(Named(&w.form, "Edit1")->width(), terminal->width());
        EXPECT_EQ(Named(&w.form, "Memo2")->height(), terminal->height() - 23);
        auto* jtag = Visit(w, "TabSheet2");
        EXPECT_EQ(Named(&w.form, "Memo4")->width(), jtag->width() - 179);
        EXPECT_EQ(Named(&w.form, "GroupBox8")->y(), jtag->height() - 134);
        auto* config = Visit(w, "TabSheet5");
        auto* defaults = Named(&w.form, "Button5");
        EXPECT_EQ(defaults->y(), config->height() - 25);
        EXPECT_EQ(defaults->x() + defaults->width() / 2, config->width() / 2);
        EXPECT_EQ(Named(&w.form, "PageControl3")->height(), config->height() - 32);
        Visit(w, "TabSheet7");
        auto* channels = w.form.findChild<QTableView*>("StringAlignGrid2");
        const auto channelWidths = gui::ChannelGridColumnWidths(channels->width());
        EXPECT_EQ(channels->verticalHeader()->width(), channelWidths[0]);
        EXPECT_EQ(channels->columnWidth(0), channelWidths[1]);
        EXPECT_EQ(channels->columnWidth(9), std::max(channelWidths[10], 1));
        auto* page = Visit(w, "TabSheet1");
        EXPECT_EQ(Named(&w.form, "PageControl2")->width(), page->width() - 145);
        EXPECT_EQ(Named(&w.form, "PageControl2")->height(), page->height() - 15);
        EXPECT_EQ(Named(&w.form, "GroupBox2")->y(), page->height() - 134);
        auto* grid = w.form.findChild<QTableView*>("StringAlignGrid1");
        auto* hexPage = Named(&w.form, "TabSheet11");
        EXPECT_EQ(grid->width(), hexPage->width() - 2);
        EXPECT_EQ(grid->height(), hexPage->height() - 107);
        EXPECT_EQ(Named(&w.form, "Memo1")->y(), hexPage->height() - 104);
        const auto widths = gui::HexGridColumnWidths(grid->width(), channels->width());
        EXPECT_EQ(grid->verticalHeader()->width(), widths[0]);
        EXPECT_EQ(grid->columnWidth(0), widths[1]);
        EXPECT_EQ(grid->columnWidth(15), widths[16]);
    }
}

// Types into a cell of the hex grid through its in-place editor.
void TypeIntoCell(QTableView* grid, int row, int column, const QString& text, int finalKey) {
    const QModelIndex cell = grid->model()->index(row, column);
    grid->scrollTo(cell);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    QLineEdit* editor = nullptr;
    for (auto* candidate : grid->viewport()->findChildren<QLineEdit*>()) {
        if (candidate->isVisible()) editor = candidate;
    }
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, static_cast<Qt::Key>(finalKey));
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(MainWindow, TypingIntoTheHexGridFollowsTheEditingRules) {
    TestWindow w;
    w.form.show();
    QApplication::setActiveWindow(&w.form);
    auto* grid = w.form.findChild<QTableView*>("StringAlignGrid1");
    TypeIntoCell(grid, 1, 3, QStringLiteral("a5"), Qt::Key_Return);
    EXPECT_EQ(w.form.Image().CellAt(2, 4), QStringLiteral("A5"));
    EXPECT_EQ(w.form.Editing().SelectedRow(), 2);
    TypeIntoCell(grid, 1, 3, QStringLiteral("G1"), Qt::Key_Return);
    EXPECT_EQ(w.form.Image().CellAt(2, 4), QStringLiteral("A5"));
    TypeIntoCell(grid, 1, 3, QStringLiteral("5"), Qt::Key_Return);
    EXPECT_EQ(w.form.Image().CellAt(2, 4), QStringLiteral("A5"));
    TypeIntoCell(grid, 1, 3, QStringLiteral("3c"), Qt::Key_Escape);
    EXPECT_EQ(w.form.Image().CellAt(2, 4), QStringLiteral("A5"));
    TypeIntoCell(grid, 127, 14, QStringLiteral("0b"), Qt::Key_Tab);  // leaving the cell validates
    EXPECT_EQ(w.form.Image().CellAt(128, 15), QStringLiteral("0B"));
    EXPECT_EQ(w.form.Editing().SelectedRow(), 128);
}

TEST(MainWindow, EraseButtonPutsFFBack) {
    TestWindow w;
    w.form.Image().PutImageBytes(QByteArray(2048, '\x12'), 0, 2048);
    w.form.Eeprom()->eraseButton->click();
    EXPECT_EQ(w.form.Image().GetImageBytes(), QByteArray(2048, '\xFF'));
}

TEST(AboutPage, VersionTextInItsColourAndCreditsScrollOnlyWhileShown) {
    TestWindow w;
    w.form.show();
    auto* about = w.form.About();
    EXPECT_EQ(about->Version()->text(), QStringLiteral("v4.05 "));
    EXPECT_EQ(about->Version()->palette().color(QPalette::WindowText), QColor(153, 51, 51));
    EXPECT_FALSE(about->Credits()->IsScrolling());
    w.form.Pages()->setCurrentWidget(about);
    EXPECT_TRUE(about->Credits()->IsScrolling());
    w.form.Pages()->setCurrentIndex(0);
    EXPECT_FALSE(about->Credits()->IsScrolling());
    const int before = about->Credits()->Offset();
    about->Credits()->Step();
    EXPECT_EQ(about->Credits()->Offset(), before + 1);
}

}  // namespace
}  // namespace velarix
