// The "Sintonización" page driven as a person drives it: tabs and buttons
// clicked, rows clicked, lists chosen from the keyboard; files made by the
// simulator's own writer, expected bytes put together here.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "configuration_page.h"
#include "sample_tables.h"
#include "section_chooser.h"
#include "shell/message_table.h"
#include "shell/title.h"
#include "test_files.h"
#include "tuning_page.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;
using test::WindowOptions;

QColor Rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

struct TuningPageTest : ::testing::Test {
    TestWindow w{WindowOptions{.sampleSettings = true}};
    QTemporaryDir dir;
    gui::TuningPage* page = w.form.Tuning();

    void SetUp() override {
        w.form.show();
        ClickTab(w.form.Pages(), 4);
    }
    static void ClickTab(QTabWidget* tabs, int index) {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(index).center());
        QApplication::processEvents();
    }
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton);
        QApplication::processEvents();
    }
    void ClickRow(gui::TableGrid* grid, int row) {
        const QModelIndex cell = grid->model()->index(row - 1, 0);
        grid->scrollTo(cell);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    }
    QString Put(const char* name, const QByteArray& bytes) {
        return test::PutFile(dir.filePath(name), bytes);
    }
    // "Leer Archivo..." with the file and the file type a person picks.
    void Read(const QString& path, int type = 1) {
        w.dialogs.answers.push_back({path, type});
        Click(page->readButton);
    }
    void SaveAs(const QString& path, int type) {
        w.dialogs.answers.push_back({path, type});
        Click(page->saveButton);
    }
    QVariant Shown(gui::TableGrid* grid, int row, int column, int role = Qt::DisplayRole) {
        return grid->model()->index(row - 1, column - 1).data(role);
    }
    QComboBox* List(const char* name) { return w.form.findChild<QComboBox*>(name); }
    // Opens a list and clicks one of its entries, as a person does.
    void Choose(QComboBox* list, const char* entry) {
        ClickTab(w.form.Pages(), 6);
        const int target = list->findText(QString::fromLatin1(entry));
        ASSERT_GE(target, 0) << entry;
        list->showPopup();
        QAbstractItemView* view = list->view();
        const QModelIndex item = view->model()->index(target, 0);
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        QApplication::processEvents();
        ASSERT_EQ(list->currentIndex(), target);
        ClickTab(w.form.Pages(), 4);
    }
    std::vector<QWidget*> EditingControls() {
        return {page->saveButton,    page->addButton,  page->editButton, page->copyButton,
                page->cutButton,     page->moveButton, page->moveField,  page->deleteButton,
                page->swapButton,    page->findButton, page->encryption, page->statusBoxes[0],
                page->statusBoxes[4]};
    }
};

TEST_F(TuningPageTest, ReadingTheSampleFlashImageFillsTheGridsAndEnablesTheButtons) {
    for (QWidget* control : EditingControls()) EXPECT_FALSE(control->isEnabled());
    EXPECT_TRUE(page->readButton->isEnabled());
    EXPECT_EQ(page->readButton->text(), QStringLiteral("Leer Archivo..."));

    const QString path = Put("sample-flash.bin", sim::FlashImage());
    Read(path);
    EXPECT_EQ(w.dialogs.filtersAsked.last(),
              QStringLiteral("Archivo FLASH (BIN, RCU o RCS)|*.bin;*.rcu;*.rcs|"
                             "Archivo RAM (BIN)|*.bin"));
    EXPECT_TRUE(w.boxes.shown.isEmpty());
    EXPECT_EQ(w.form.windowTitle(), path + " - Velarix v4.05");

    gui::TableGrid* channels = page->ChannelGrid();
    EXPECT_EQ(Shown(channels, 1, 1).toString(), QStringLiteral("Telé Música"));
    EXPECT_EQ(Shown(channels, 6, 1).toString(), QStringLiteral("Niños & Co"));
    EXPECT_EQ(Shown(channels, 18, 1).toString(), QStringLiteral("Documentales HD1"));
    EXPECT_EQ(Shown(channels, 1, 3).toString(), QStringLiteral("1000"));
    EXPECT_EQ(Shown(channels, 1, 9).toString(), QStringLiteral("07"));
    EXPECT_EQ(Shown(channels, 1, 10).toString(), QStringLiteral("A"));
    EXPECT_EQ(channels->model()->headerData(5, Qt::Vertical).toString(), QStringLiteral("6"));
    EXPECT_EQ(channels->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("NOMBRE"));
    EXPECT_EQ(Shown(channels, 1, 1, Qt::BackgroundRole).value<QColor>(), Rgb(245, 226, 175));
    EXPECT_EQ(Shown(channels, 8, 1, Qt::BackgroundRole).value<QColor>(), Rgb(191, 208, 245));
    EXPECT_EQ(Shown(channels, 10, 5, Qt::BackgroundRole).value<QColor>(), Rgb(191, 245, 192));
    EXPECT_EQ(Shown(channels, 41, 1, Qt::BackgroundRole).value<QColor>(), Rgb(255, 255, 255));
    EXPECT_EQ(Shown(channels, 321, 2).toString(), QStringLiteral("0"));
    gui::TableGrid* transponders = page->TransponderGrid();
    EXPECT_EQ(Shown(transponders, 2, 1).toString(), QStringLiteral("1612000,5"));
    EXPECT_EQ(Shown(transponders, 7, 6).toString(), QStringLiteral("1A"));
    EXPECT_FALSE(Shown(transponders, 1, 1, Qt::BackgroundRole).isValid());

    EXPECT_EQ(page->ChannelSectionText(), QStringLiteral("03 (030000)"));
    EXPECT_EQ(page->TransponderSectionText(), QStringLiteral("05 (050040)"));
    EXPECT_EQ(List("ComboBox13")->currentText(), QStringLiteral("30000"));
    EXPECT_EQ(List("ComboBox14")->currentText(), QStringLiteral("50000"));

    for (QWidget* control : EditingControls())
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(page->pasteButton->isEnabled());
    EXPECT_TRUE(page->SubPages()->isTabEnabled(1));

    // The panels follow the selected channel.
    EXPECT_EQ(page->TransponderValues(),
              (QStringList{"A", "11362000", "V", "1/2", "27500", "11", "Ku"}));
    ClickRow(channels, 13);  // "Eurosport 2" on transponder 2, 22 kHz off
    EXPECT_EQ(page->TransponderValues(),
              (QStringList{"A", "11362000,5", "H", "8/9", "22000", "11", "Ku"}));
    EXPECT_TRUE(page->statusBoxes[0]->isChecked());   // "Activo"
    EXPECT_FALSE(page->statusBoxes[1]->isChecked());  // "Bloqueo Parental"
    EXPECT_EQ(page->encryption->currentText(), QStringLiteral("Irdeto"));
    ClickRow(channels, 42);  // no transponder
    EXPECT_EQ(page->TransponderValues(), QStringList(7, QString()));
    EXPECT_EQ(Shown(channels, 42, 10).toString(), QStringLiteral("A"));
}

TEST_F(TuningPageTest, SavingWritesTheImageBackAndMovesASectionWhereTheListSays) {
    const QByteArray image = sim::FlashImage();
    Read(Put("sample-flash.bin", image));
    SaveAs(dir.filePath("same.bin"), 1);
    EXPECT_EQ(w.dialogs.filtersAsked.last(), Msg(15));
    EXPECT_EQ(test::FileContents(dir.filePath("same.bin")), image);

    // A0000 lies past the end of this 512 KiB image: refused, nothing written.
    Choose(List("ComboBox13"), "A0000");
    ASSERT_EQ(List("ComboBox13")->currentText(), QStringLiteral("A0000"));
    SaveAs(dir.filePath("refused.bin"), 2);
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].text, Msg(372) + QStringLiteral("\nPosición TCS : A0000"));
    EXPECT_FALSE(QFile::exists(dir.filePath("refused.bin")));
    EXPECT_EQ(page->ChannelSectionText(), QStringLiteral("03 (030000)"));

    Choose(List("ComboBox13"), "60000");
    ASSERT_EQ(List("ComboBox13")->currentText(), QStringLiteral("60000"));
    SaveAs(dir.filePath("moved.rcs"), 3);
    QByteArray expected = image;
    const QByteArray section = image.mid(0x30000, 68) + image.mid(0x30044, 999 * 30);
    expected.replace(0x60000, section.size(), section);
    std::fill_n(expected.data() + 0x30000, 60075, '\0');
    EXPECT_EQ(test::FileContents(dir.filePath("moved.rcs")), expected);
    EXPECT_EQ(page->ChannelSectionText(), QStringLiteral("06 (060000)"));

    // A file that cannot be created is reported, with the system's reason.
    SaveAs(dir.filePath("no/such/folder/x.bin"), 1);
    ASSERT_EQ(w.boxes.shown.size(), 2);
    EXPECT_TRUE(w.boxes.shown[1].text.startsWith(Msg(371) + "\n"));
    EXPECT_TRUE(w.boxes.shown[1].text.contains("no/such/folder/x.bin"));
}

TEST_F(TuningPageTest, TheExportsWriteTheGridOnShow) {
    Read(Put("sample-flash.bin", sim::FlashImage()));
    ClickTab(page->SubPages(), 1);
    SaveAs(dir.filePath("transponders.txt"), 4);
    const QList<QByteArray> lines =
        test::FileContents(dir.filePath("transponders.txt")).split('\n');
    ASSERT_EQ(lines.size(), 101);  // 100 lines, each ending in CR LF
    EXPECT_EQ(lines[1], "1\t1612000\t1000\t1\t1/2\tV\t27500\tOff\t11\tKu\tA\t\r");
    ClickTab(page->SubPages(), 0);
    SaveAs(dir.filePath("channels.htm"), 5);
    const QByteArray html = test::FileContents(dir.filePath("channels.htm"));
    EXPECT_TRUE(html.startsWith("<table bgcolor=#FFFFFF>\r\n <tr>\r\n"));
    EXPECT_TRUE(html.contains("\r\nNi&ntilde;os &amp; Co  </td>"));
    EXPECT_TRUE(html.contains("<td align=center bgcolor=#BFD0F5>"));
}

TEST_F(TuningPageTest, AFailedLoadLeavesNoTable) {
    Read(Put("sample-flash.bin", sim::FlashImage()));
    ASSERT_TRUE(page->saveButton->isEnabled());
    Read(Put("small.bin", sim::FlashImage().left(0x10000)));
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(w.boxes.shown[0].text,
              QStringLiteral("¡ No se ha encontrado ninguna tabla de canales !"));
    EXPECT_EQ(w.form.windowTitle(), TitleText());
    EXPECT_FALSE(w.form.Tables().HasTable());
    for (QWidget* control : EditingControls()) EXPECT_FALSE(control->isEnabled());
    EXPECT_FALSE(page->pasteButton->isEnabled());
    EXPECT_EQ(Shown(page->ChannelGrid(), 1, 1).toString(), QString());
    EXPECT_EQ(page->TransponderValues(), QStringList(7, QString()));
    EXPECT_TRUE(page->readButton->isEnabled());

    Read(dir.filePath("missing.bin"));
    ASSERT_EQ(w.boxes.shown.size(), 2);
    EXPECT_TRUE(w.boxes.shown[1].text.startsWith(Msg(200) + "\n"));
}

TEST_F(TuningPageTest, ARamTableShowsOnlyTheChannels) {
    ClickTab(page->SubPages(), 1);
    Read(Put("sample-ram.bin", sim::RamTable()), 2);
    EXPECT_EQ(page->SubPages()->currentWidget(), page->ChannelSubPage());
    EXPECT_FALSE(page->SubPages()->isTabEnabled(1));
    EXPECT_EQ(page->ChannelSectionText(), QStringLiteral("RAM"));
    EXPECT_EQ(page->TransponderSectionText(), QString());
    EXPECT_EQ(Shown(page->ChannelGrid(), 6, 1).toString(), QStringLiteral("Niños & Co"));
    EXPECT_EQ(Shown(page->ChannelGrid(), 6, 10).toString(), QString());
    EXPECT_FALSE(page->addButton->isEnabled());
    EXPECT_TRUE(page->findButton->isEnabled());
    EXPECT_TRUE(page->saveButton->isEnabled());
    EXPECT_EQ(page->TransponderValues(), QStringList(7, QString()));
    SaveAs(dir.filePath("ram.bin"), 1);
    EXPECT_EQ(test::FileContents(dir.filePath("ram.bin")), sim::RamTable());
}

// A read-out of another page loads the tables without "Leer Archivo...": the
// page follows all the same, and the window's title stays.
TEST_F(TuningPageTest, ATableLoadedByAnotherPageIsShownToo) {
    ChannelTables& tables = w.form.Tables();
    tables.SetTableImage(sim::FlashImage());
    ASSERT_EQ(tables.LoadSections(tables.TableImage(), false, w.form.Frame()),
              SectionsResult::Loaded);
    EXPECT_TRUE(page->saveButton->isEnabled());
    EXPECT_TRUE(page->addButton->isEnabled());
    EXPECT_EQ(page->ChannelSectionText(), QStringLiteral("03 (030000)"));
    EXPECT_EQ(page->TransponderValues()[1], QStringLiteral("11362000"));
    EXPECT_EQ(w.form.windowTitle(), TitleText());
    tables.ReleaseTableImage();
    EXPECT_FALSE(page->saveButton->isEnabled());
}

TEST_F(TuningPageTest, SectionsInTwoBlocksAreChosenAndTablesMerged) {
    sim::FlashLayout layout;
    layout.size = 0xC0000;
    layout.channelSection = 0x70000;
    layout.moreChannelSections = {0x30000};
    w.boxes.listAnswers = {1};
    Read(Put("two.bin", sim::FlashImage(layout)));
    ASSERT_EQ(w.boxes.listsOffered.size(), 1);
    EXPECT_EQ(w.boxes.listsOffered[0], (QStringList{"030000\tTCS", "070000\tTCS"}));
    EXPECT_EQ(page->ChannelSectionText(), QStringLiteral("07 (070000)"));

    sim::FlashLayout added;
    added.channels = sim::ManyChannels(2, 2);
    added.channels[0].transponder = 1;
    added.channels[1].transponder = 2;
    added.transponders = sim::ManyTransponders(2);
    w.dialogs.answers.push_back({Put("added.bin", sim::FlashImage(added)), 1});
    Click(page->addButton);
    EXPECT_EQ(w.dialogs.filtersAsked.last(), Msg(243));
    EXPECT_EQ(Shown(page->ChannelGrid(), 321, 2).toString(), QStringLiteral("31"));
    EXPECT_EQ(Shown(page->ChannelGrid(), 322, 2).toString(), QStringLiteral("32"));
    EXPECT_EQ(Shown(page->TransponderGrid(), 31, 1).toString(), QStringLiteral("1612000"));
    EXPECT_EQ(page->ChannelSectionText(), QStringLiteral("7 (70000)"));
    EXPECT_EQ(page->TransponderSectionText(), QStringLiteral("5 (50000)"));
}

TEST_F(TuningPageTest, TheCountsOfTheConfigurationActOnTheLoadedTables) {
    Read(Put("sample-flash.bin", sim::FlashImage()));
    Choose(List("ComboBox16"), "2000");
    EXPECT_EQ(page->ChannelGrid()->model()->rowCount(), 2002);
    EXPECT_EQ(page->moveField->maxLength(), 4);
    EXPECT_EQ(page->moveField->text(), QStringLiteral("1"));
    EXPECT_EQ(Shown(page->ChannelGrid(), 320, 1).toString(),
              QString::fromLatin1(sim::SampleChannels()[319].name));
    EXPECT_EQ(Shown(page->ChannelGrid(), 2002, 2).toString(), QStringLiteral("0"));
    EXPECT_EQ(Shown(page->ChannelGrid(), 2002, 10).toString(), QStringLiteral("A"));
    EXPECT_EQ(page->ChannelGrid()->model()->headerData(2001, Qt::Vertical).toString(),
              QStringLiteral("2002"));
    Choose(List("ComboBox17"), "200");
    EXPECT_EQ(Shown(page->TransponderGrid(), 199, 4).toString(), QStringLiteral("1/2"));
    EXPECT_EQ(Shown(page->TransponderGrid(), 199, 6).toString(), QStringLiteral("27500"));
    Choose(List("ComboBox16"), "1000");
    EXPECT_EQ(page->ChannelGrid()->model()->rowCount(), 999);
    EXPECT_EQ(page->moveField->maxLength(), 3);
}

TEST(SectionChooser, ListsTheSectionsAndClosesOnlyByOk) {
    gui::TForm4 chooser;
    int chosen = -1;
    bool escapeKeptItOpen = false;
    QTimer::singleShot(0, [&] {
        QTest::keyClick(&chooser, Qt::Key_Escape);
        escapeKeptItOpen = chooser.isVisible();
        QTableWidget* grid = chooser.Grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(1, 0)).center());
        QTest::mouseClick(chooser.OkButton(), Qt::LeftButton);
    });
    chosen = chooser.Choose(Msg(171), Msg(172), {"030000\tTCS", "070000\tTCS"});
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(escapeKeptItOpen);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Secciones activas"));
    EXPECT_FALSE(chooser.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(chooser.Grid()->horizontalHeaderItem(0)->text(), QStringLiteral("Sección"));
    EXPECT_EQ(chooser.Grid()->horizontalHeaderItem(1)->text(), QStringLiteral("Contenido"));
    EXPECT_EQ(chooser.Grid()->item(1, 0)->text(), QStringLiteral("070000"));
    EXPECT_EQ(chooser.Grid()->item(1, 1)->text(), QStringLiteral("TCS"));
    EXPECT_EQ(chooser.OkButton()->text(), QStringLiteral("Ok"));

    // Shown again, it opens on the first row.
    QTimer::singleShot(0, [&] { QTest::mouseClick(chooser.OkButton(), Qt::LeftButton); });
    EXPECT_EQ(chooser.Choose(Msg(171), Msg(172), {"50020\tTPT", "A0000\tTPT"}), 0);
}

}  // namespace
}  // namespace velarix
