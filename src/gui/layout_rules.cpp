#include "layout_rules.h"

#include <algorithm>

#include "shell/transfer_rate.h"

namespace velarix::gui {

namespace {

int Part(int width, double divisor) {
    return static_cast<int>(RoundHalfEven(width / divisor));
}

// Fills the last column with what the others leave, less the margin.
template <std::size_t N>
void FillLast(std::array<int, N>& widths, int gridWidth) {
    int used = 0;
    for (std::size_t i = 0; i + 1 < N; ++i) used += widths[i];
    widths[N - 1] = gridWidth - used - 31;
}

}  // namespace

std::array<int, 17> HexGridColumnWidths(int hexGridWidth, int channelGridWidth) {
    std::array<int, 17> widths{};
    const int each = Part(hexGridWidth, 18.652173);
    for (int i = 0; i < 16; ++i) widths[i] = each;
    widths[16] = channelGridWidth - 16 * each - 26;
    return widths;
}

std::array<int, 11> ChannelGridColumnWidths(int w) {
    std::array<int, 11> widths{};
    widths[0] = Part(w, 20.181818);
    widths[1] = Part(w, 4.723404);
    for (int i = 2; i <= 8; ++i) widths[i] = Part(w, 13.058823);
    widths[9] = Part(w, 17.76);
    FillLast(widths, w);
    return widths;
}

std::array<int, 11> TransponderGridColumnWidths(int w) {
    std::array<int, 11> widths{};
    widths[0] = Part(w, 22.5);
    widths[1] = Part(w, 9.9);
    for (int i = 2; i <= 7; ++i) widths[i] = Part(w, 11.25);
    widths[8] = Part(w, 12.37);
    widths[9] = Part(w, 11.25);
    FillLast(widths, w);
    return widths;
}

EepromPageLayout LayOutEepromPage(QSize page) {
    return {QRect(0, 0, page.width() - 145, page.height() - 15), page.height() - 134};
}

HexSubPageLayout LayOutHexSubPage(QSize sub) {
    constexpr int kLogHeight = 102;
    return {QRect(0, 0, sub.width() - 2, sub.height() - 107),
            QRect(0, sub.height() - 104, sub.width() - 2, kLogHeight)};
}

FirmwarePageLayout LayOutFirmwarePage(QSize page) {
    return {QRect(0, 0, page.width() - 179, page.height() - 15), page.height() - 134};
}

TerminalPageLayout LayOutTerminalPage(QSize page) {
    constexpr int kInputHeight = 21;
    return {QRect(0, 0, page.width(), page.height() - 23),
            QRect(0, page.height() - 21, page.width(), kInputHeight)};
}

QRect Centred(QSize page, QSize size, int lift) {
    return QRect(page.width() / 2 - size.width() / 2, page.height() / 2 - size.height() / 2 - lift,
                 size.width(), size.height());
}

PicturePageLayout LayOutPicturePage(QSize page, QSize picture, QSize button) {
    const int top = page.height() - 22;
    const int centre = page.width() / 2;
    const int half = button.width() / 2;
    return {Centred(page, picture, 13),
            QRect(centre - 72 - half, top, button.width(), button.height()),
            QRect(centre + 56 - half, top, button.width(), button.height())};
}

ConfigurationPageLayout LayOutConfigurationPage(QSize page, QSize button) {
    return {QRect(0, 0, page.width(), page.height() - 32),
            QRect(page.width() / 2 - button.width() / 2, page.height() - 25, button.width(),
                  button.height())};
}

QPoint PlaceOnScreen(QRect window, const QList<QRect>& screens) {
    const QRect titleStart(window.topLeft(),
                           QSize(std::min(window.width(), 100), std::min(window.height(), 20)));
    for (const QRect& screen : screens) {
        if (screen.contains(titleStart)) return window.topLeft();
    }
    // The screen nearest to the window's centre.
    const QPoint centre = window.center();
    const QRect* nearest = nullptr;
    double best = 0;
    for (const QRect& screen : screens) {
        const double dx = std::max({screen.left() - centre.x(), 0, centre.x() - screen.right()});
        const double dy = std::max({screen.top() - centre.y(), 0, centre.y() - screen.bottom()});
        const double distance = dx * dx + dy * dy;
        if (!nearest || distance < best) {
            nearest = &screen;
            best = distance;
        }
    }
    if (!nearest) return window.topLeft();
    auto onto = [](int at, int size, int first, int room) {
        return size >= room ? first : std::clamp(at, first, first + room - size);
    };
    return {onto(window.x(), window.width(), nearest->x(), nearest->width()),
            onto(window.y(), window.height(), nearest->y(), nearest->height())};
}

}  // namespace velarix::gui
