#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "log_memo.h"
#include "shell/message_table.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;

gui::LogMemo* Memo(TestWindow& w, const char* name) {
    return w.form.findChild<gui::LogMemo*>(QString::fromLatin1(name));
}

TEST(LogMemo, CopyIsEnabledExactlyWhenThereIsASelection) {
    TestWindow w;
    auto* memo = Memo(w, "Memo2");
    auto* copy = w.form.findChild<QAction*>("Copiar3");
    auto* save = w.form.findChild<QAction*>("GuardarComo3");
    auto* clear = w.form.findChild<QAction*>("Borrar3");
    memo->PrepareMenu();
    EXPECT_FALSE(copy->isEnabled());  // empty pane
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(clear->isEnabled());
    w.form.Frame().AddLogLine(LogPane::Terminal, QStringLiteral("%EE?0001000F1"));
    memo->PrepareMenu();
    EXPECT_FALSE(copy->isEnabled());  // lines, but nothing selected
    memo->selectAll();
    memo->PrepareMenu();
    EXPECT_TRUE(copy->isEnabled());
    memo->moveCursor(QTextCursor::End);
    memo->PrepareMenu();
    EXPECT_FALSE(copy->isEnabled());
}

TEST(LogMemo, LinesGoToTheirOwnPaneAndClearEmptiesIt) {
    TestWindow w;
    w.form.Frame().AddLogLine(LogPane::Eeprom, QStringLiteral("uno"));
    w.form.Frame().AddLogLine(LogPane::Eeprom, QStringLiteral("dos"));
    w.form.Frame().AddLogLine(LogPane::Jtag, QStringLiteral("tres"));
    w.form.Frame().AddLogLine(LogPane::Firmware, QStringLiteral("cuatro"));
    EXPECT_EQ(Memo(w, "Memo1")->Lines(), (QStringList{"uno", "dos"}));
    EXPECT_EQ(Memo(w, "Memo4")->Lines(), (QStringList{"tres"}));
    EXPECT_EQ(Memo(w, "Memo3")->Lines(), (QStringList{"cuatro"}));
    EXPECT_TRUE(Memo(w, "Memo2")->Lines().isEmpty());
    w.form.findChild<QAction*>("Borrar1")->trigger();
    EXPECT_TRUE(Memo(w, "Memo1")->Lines().isEmpty());
    EXPECT_EQ(Memo(w, "Memo4")->Lines().size(), 1);
}

TEST(LogMemo, SaveAsWritesOneLinePerPaneLine) {
    TestWindow w;
    QTemporaryDir dir;
    const QString path = dir.filePath("eeprom-log.txt");
    w.form.Frame().AddLogLine(LogPane::Eeprom, QStringLiteral("%EE?0001000F1"));
    w.form.Frame().AddLogLine(LogPane::Eeprom, QStringLiteral("Línea verificada."));
    w.dialogs.answers.push_back({path, 1});
    w.form.findChild<QAction*>("Guardarcomo1")->trigger();
    ASSERT_EQ(w.dialogs.filtersAsked.size(), 1);
    EXPECT_EQ(w.dialogs.filtersAsked[0], Msg(113));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              QStringLiteral("%EE?0001000F1\nLínea verificada.\n"));
    EXPECT_TRUE(w.boxes.shown.isEmpty());
}

TEST(LogMemo, SaveAsIntoAMissingFolderShowsTheReasonAndKeepsTheLines) {
    TestWindow w;
    w.form.Frame().AddLogLine(LogPane::Jtag, QStringLiteral("Reset DCU activado"));
    w.dialogs.answers.push_back({QStringLiteral("/nonexistent-folder/x/log.txt"), 1});
    w.form.findChild<QAction*>("Guardarcomo4")->trigger();
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].kind, BoxKind::Error);
    EXPECT_TRUE(w.boxes.shown[0].text.contains("/nonexistent-folder/x/log.txt"));
    EXPECT_EQ(Memo(w, "Memo4")->Lines(), (QStringList{"Reset DCU activado"}));
}

TEST(LogMemo, ACancelledSaveWritesNothing) {
    TestWindow w;
    w.form.findChild<QAction*>("Guardarcomo2")->trigger();
    EXPECT_EQ(w.dialogs.filtersAsked.size(), 1);
    EXPECT_TRUE(w.boxes.shown.isEmpty());
}

TEST(SharedDialogs, TheNextDialogOpensInTheFolderOfTheLastFileChosen) {
    TestWindow w;
    QTemporaryDir dir;
    w.form.Folders().SetSaveFolder("/somewhere/else");
    w.dialogs.answers.push_back({dir.filePath("first.txt"), 1});
    w.form.findChild<QAction*>("Guardarcomo1")->trigger();
    w.form.findChild<QAction*>("Guardarcomo4")->trigger();  // cancelled, but offered the folder
    ASSERT_EQ(w.dialogs.foldersOffered.size(), 2);
    EXPECT_EQ(w.dialogs.foldersOffered[1], dir.path());
    EXPECT_EQ(w.form.Folders().OpenFolder(), dir.path());
}

}  // namespace
}  // namespace velarix
