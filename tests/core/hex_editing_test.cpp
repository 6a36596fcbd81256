#include <gtest/gtest.h>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex_editing.h"

namespace velarix {
namespace {

struct HexEditingTest : ::testing::Test {
    EepromImage image;
    HexEditing editing{image};

    QString Edit(int row, int column, const QString& typed) {
        editing.EditingBegins(row, column);
        editing.EditingValidated(row, column, typed);
        return image.CellAt(row, column);
    }
};

TEST_F(HexEditingTest, LowerCaseIsTurnedToUpperCase) {
    EXPECT_EQ(Edit(1, 1, QStringLiteral("a5")), QStringLiteral("A5"));
}

TEST_F(HexEditingTest, InvalidEntriesRestoreTheValueEditingBeganWith) {
    image.SetCellAt(4, 2, QStringLiteral("3C"));
    for (const char* typed : {"G1", "5", "", "123", " 3"}) {
        EXPECT_EQ(Edit(4, 2, QString::fromLatin1(typed)), QStringLiteral("3C")) << typed;
    }
}

TEST_F(HexEditingTest, EscapeRestoresThePreviousValue) {
    image.SetCellAt(2, 2, QStringLiteral("7E"));
    editing.EditingBegins(2, 2);
    editing.EditingCancelled(2, 2);
    EXPECT_EQ(image.CellAt(2, 2), QStringLiteral("7E"));
}

TEST_F(HexEditingTest, EditingABadCellRestoresTheLastValidPreviousValue) {
    image.SetCellAt(1, 1, QStringLiteral("42"));
    Edit(1, 1, QStringLiteral("43"));             // previous value is now 42
    image.SetCellAt(9, 9, QStringLiteral("zz"));  // a reply left junk here
    EXPECT_EQ(Edit(9, 9, QStringLiteral("q")), QStringLiteral("42"));
    editing.EditingBegins(9, 3);
    image.SetCellAt(9, 3, QStringLiteral("??"));
    editing.EditingCancelled(9, 3);
    EXPECT_EQ(image.CellAt(9, 3), QStringLiteral("FF"));
}

TEST_F(HexEditingTest, SelectedRowFollowsSelectionAndEditing) {
    EXPECT_EQ(editing.SelectedRow(), 1);
    editing.CellSelected(17);
    EXPECT_EQ(editing.SelectedRow(), 17);
    editing.EditingBegins(128, 16);
    EXPECT_EQ(editing.SelectedRow(), 128);
}

}  // namespace
}  // namespace velarix
