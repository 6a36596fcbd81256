#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "tap_controller.h"

namespace velarix::sim {
namespace {

// The controller's state diagram as IEEE 1149.1 draws it, copied out by hand:
// each state, the state TMS = 0 leads to, and the state TMS = 1 leads to.
const char* const kStandard[] = {
    "Test-Logic-Reset | Run-Test/Idle  | Test-Logic-Reset",
    "Run-Test/Idle    | Run-Test/Idle  | Select-DR-Scan",
    "Select-DR-Scan   | Capture-DR     | Select-IR-Scan",
    "Capture-DR       | Shift-DR       | Exit1-DR",
    "Shift-DR         | Shift-DR       | Exit1-DR",
    "Exit1-DR         | Pause-DR       | Update-DR",
    "Pause-DR         | Pause-DR       | Exit2-DR",
    "Exit2-DR         | Shift-DR       | Update-DR",
    "Update-DR        | Run-Test/Idle  | Select-DR-Scan",
    "Select-IR-Scan   | Capture-IR     | Test-Logic-Reset",
    "Capture-IR       | Shift-IR       | Exit1-IR",
    "Shift-IR         | Shift-IR       | Exit1-IR",
    "Exit1-IR         | Pause-IR       | Update-IR",
    "Pause-IR         | Pause-IR       | Exit2-IR",
    "Exit2-IR         | Shift-IR       | Update-IR",
    "Update-IR        | Run-Test/Idle  | Select-DR-Scan",
};

constexpr int kStates = 16;

TapState StateNamed(const QString& name) {
    for (int i = 0; i < kStates; ++i) {
        const auto state = static_cast<TapState>(i);
        if (name == QLatin1String(TapStateName(state))) return state;
    }
    ADD_FAILURE() << "no state named " << name.toStdString();
    return TapState::TestLogicReset;
}

TEST(TapControllerTest, EveryTransitionIsTheStandardsOne) {
    QStringList seen;
    for (const char* row : kStandard) {
        const QStringList cells = QString::fromLatin1(row).split(QLatin1Char('|'));
        ASSERT_EQ(cells.size(), 3);
        const TapState state = StateNamed(cells[0].trimmed());
        EXPECT_STREQ(TapStateName(NextTapState(state, false)),
                     cells[1].trimmed().toLatin1().constData())
            << row;
        EXPECT_STREQ(TapStateName(NextTapState(state, true)),
                     cells[2].trimmed().toLatin1().constData())
            << row;
        seen << cells[0].trimmed();
    }
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), kStates);
}

TEST(TapControllerTest, FiveClocksWithTmsHighResetFromEveryState) {
    for (int i = 0; i < kStates; ++i) {
        TapState state = static_cast<TapState>(i);
        for (int k = 0; k < 5; ++k) state = NextTapState(state, true);
        EXPECT_EQ(state, TapState::TestLogicReset) << TapStateName(static_cast<TapState>(i));
    }
}

}  // namespace
}  // namespace velarix::sim
