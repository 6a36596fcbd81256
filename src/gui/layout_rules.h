#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

namespace velarix::gui {

// Column widths of the three grids, from the grid widths. Each width is
// rounded to the nearest whole pixel, halves to even. Index 0 is the heading
// column (the row numbers), 1.. the data columns.
std::array<int, 17> HexGridColumnWidths(int hexGridWidth, int channelGridWidth);
std::array<int, 11> ChannelGridColumnWidths(int gridWidth);
std::array<int, 11> TransponderGridColumnWidths(int gridWidth);

// Where the controls of the layout table go for a page of the given client
// size. Left edges not fixed by the table keep their designed place.
struct EepromPageLayout {
    QRect subPages;
    int statusTop;
};
EepromPageLayout LayOutEepromPage(QSize page);

struct HexSubPageLayout {
    QRect grid;
    QRect log;
};
HexSubPageLayout LayOutHexSubPage(QSize subPage);

struct FirmwarePageLayout {
    QRect log;
    int statusTop;
};
FirmwarePageLayout LayOutFirmwarePage(QSize page);

struct TerminalPageLayout {
    QRect log;
    QRect input;
};
TerminalPageLayout LayOutTerminalPage(QSize page);

struct PicturePageLayout {
    QRect picture;
    QRect readButton;
    QRect saveButton;
};
PicturePageLayout LayOutPicturePage(QSize page, QSize picture, QSize button);

struct ConfigurationPageLayout {
    QRect subPages;
    QRect defaultsButton;
};
ConfigurationPageLayout LayOutConfigurationPage(QSize page, QSize button);

// A box of `size` centred in `page`, `lift` pixels above the centre.
QRect Centred(QSize page, QSize size, int lift = 0);

// Where a window of outer rectangle `window` opens among `screens` (their
// available rectangles): where it is while the start of its title bar lies
// on one of them; otherwise moved the least way onto the nearest screen,
// whole when it fits, its top left corner on it when it does not.
QPoint PlaceOnScreen(QRect window, const QList<QRect>& screens);

// The smallest outer size of the main window once it is on screen.
inline constexpr QSize kMinimumWindowSize{756, 570};

}  // namespace velarix::gui
