#include <gtest/gtest.h>

#include "layout_rules.h"

namespace velarix::gui {
namespace {

TEST(ColumnWidths, HexGridColumnsShareTheGridWidth) {
    // 600 / 18.652173 = 32.17 -> 32; the last column takes the channel grid's rest.
    const auto widths = HexGridColumnWidths(600, 590);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(widths[i], 32);
    EXPECT_EQ(widths[16], 590 - 16 * 32 - 26);
}

TEST(ColumnWidths, ChannelGridRoundsHalvesToEven) {
    // 222 / 4.723404 = 47.0 ; 222 / 17.76 = 12.5 -> 12 (half to even)
    const auto widths = ChannelGridColumnWidths(222);
    EXPECT_EQ(widths[1], 47);
    EXPECT_EQ(widths[9], 12);
    int used = 0;
    for (int i = 0; i < 10; ++i) used += widths[i];
    EXPECT_EQ(widths[10], 222 - used - 31);
}

TEST(ColumnWidths, TransponderGridAtTheDesignedWidth) {
    const auto widths = TransponderGridColumnWidths(594);
    EXPECT_EQ(widths[0], 26);  // 26.4
    EXPECT_EQ(widths[1], 60);  // 60
    EXPECT_EQ(widths[2], 53);  // 52.8
    EXPECT_EQ(widths[8], 48);  // 48.02
    EXPECT_EQ(widths[9], 53);
    int used = 0;
    for (int i = 0; i < 10; ++i) used += widths[i];
    EXPECT_EQ(widths[10], 594 - used - 31);
}

TEST(PageLayouts, FollowThePageSize) {
    const QSize page(748, 600);
    EXPECT_EQ(LayOutEepromPage(page).subPages, QRect(0, 0, 603, 585));
    EXPECT_EQ(LayOutEepromPage(page).statusTop, 466);
    EXPECT_EQ(LayOutHexSubPage({580, 570}).grid, QRect(0, 0, 578, 463));
    EXPECT_EQ(LayOutHexSubPage({580, 570}).log.top(), 466);
    EXPECT_EQ(LayOutFirmwarePage(page).log, QRect(0, 0, 569, 585));
    EXPECT_EQ(LayOutTerminalPage(page).log, QRect(0, 0, 748, 577));
    EXPECT_EQ(LayOutTerminalPage(page).input.top(), 579);
    EXPECT_EQ(LayOutConfigurationPage(page, {160, 22}).subPages, QRect(0, 0, 748, 568));
    EXPECT_EQ(LayOutConfigurationPage(page, {160, 22}).defaultsButton, QRect(294, 575, 160, 22));
}

TEST(PageLayouts, PictureIsCentredThirteenAboveTheMiddle) {
    const auto layout = LayOutPicturePage({800, 700}, {720, 576}, {120, 22});
    EXPECT_EQ(layout.picture, QRect(40, 49, 720, 576));
    EXPECT_EQ(layout.readButton, QRect(400 - 72 - 60, 678, 120, 22));
    EXPECT_EQ(layout.saveButton, QRect(400 + 56 - 60, 678, 120, 22));
}

// Two screens side by side, a tall one at the left of the main one.
const QList<QRect> kScreens{QRect(-1080, -400, 1080, 1920), QRect(0, 0, 1280, 1024)};

TEST(WindowPlace, AWindowWhoseTitleShowsStaysWhereItWas) {
    EXPECT_EQ(PlaceOnScreen(QRect(-1000, 100, 736, 657), kScreens), QPoint(-1000, 100));
    EXPECT_EQ(PlaceOnScreen(QRect(1000, 900, 736, 657), kScreens), QPoint(1000, 900));
    EXPECT_EQ(PlaceOnScreen(QRect(-300, -350, 736, 657), kScreens), QPoint(-300, -350));
}

TEST(WindowPlace, AWindowOffEveryScreenComesToTheNearestWhole) {
    // Right of the main screen: to its right edge, 1280 - 736 = 544.
    EXPECT_EQ(PlaceOnScreen(QRect(5000, 100, 736, 657), kScreens), QPoint(544, 100));
    // Below the main screen: to its bottom, 1024 - 657 = 367.
    EXPECT_EQ(PlaceOnScreen(QRect(200, 1200, 736, 657), kScreens), QPoint(200, 367));
    // Far left: the tall screen, its left edge.
    EXPECT_EQ(PlaceOnScreen(QRect(-9000, 0, 736, 657), kScreens), QPoint(-1080, 0));
    // Only its title bar above every screen: down to the top.
    EXPECT_EQ(PlaceOnScreen(QRect(100, -700, 736, 657), kScreens), QPoint(100, 0));
    // A window larger than the screen keeps its top left corner on it.
    EXPECT_EQ(PlaceOnScreen(QRect(3000, 3000, 1500, 1200), kScreens), QPoint(0, 0));
    // No screen known: left as it was.
    EXPECT_EQ(PlaceOnScreen(QRect(3000, 3000, 700, 600), {}), QPoint(3000, 3000));
}

}  // namespace
}  // namespace velarix::gui
