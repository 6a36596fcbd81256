#include <gtest/gtest.h>

#include "shell/file_dialogs.h"

namespace velarix {
namespace {

TEST(DialogFolders, FolderIsEverythingBeforeTheLastSlash) {
    EXPECT_EQ(DialogFolders::FolderOf("/home/tec/dumps/box1.bin"),
              QStringLiteral("/home/tec/dumps"));
    EXPECT_EQ(DialogFolders::FolderOf("/box1.bin"), QStringLiteral("/"));
    EXPECT_EQ(DialogFolders::FolderOf("box1.bin"), QString());
    EXPECT_EQ(DialogFolders::FolderOf("/a/b/"), QStringLiteral("/a/b"));
}

TEST(DialogFolders, AFileChosenInEitherDialogMovesBoth) {
    DialogFolders folders;
    folders.SetOpenFolder("/start/open");
    folders.SetSaveFolder("/start/save");
    folders.NoteChosen("/data/eeproms/k2002.txt");  // read on the "Eeprom" page
    EXPECT_EQ(folders.SaveFolder(),
              QStringLiteral("/data/eeproms"));  // the picture save opens here
    EXPECT_EQ(folders.OpenFolder(), QStringLiteral("/data/eeproms"));
    folders.NoteChosen("relative.txt");  // no folder in the name: nothing moves
    EXPECT_EQ(folders.OpenFolder(), QStringLiteral("/data/eeproms"));
}

TEST(DialogFolders, DefaultExtensionStartsAsTxt) {
    DialogFolders folders;
    EXPECT_EQ(folders.DefaultExtension(), QStringLiteral("txt"));
    folders.SetDefaultExtension("jpg");
    EXPECT_EQ(folders.DefaultExtension(), QStringLiteral("jpg"));
}

TEST(ParseFilter, PairsDescriptionsWithTheirPatterns) {
    const auto entries = ParseFilter(
        "Archivo Binario (BIN, RCU o RCS)|*.bin;*.rcu;*.rcs|Todos los archivos (*.*)|*.*");
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].description, QStringLiteral("Archivo Binario (BIN, RCU o RCS)"));
    EXPECT_EQ(entries[0].globs, (QStringList{"*.bin", "*.rcu", "*.rcs"}));
    EXPECT_EQ(entries[1].globs, (QStringList{"*.*"}));
    EXPECT_EQ(ParseFilter("lonely description").size(), 0);
}

}  // namespace
}  // namespace velarix
