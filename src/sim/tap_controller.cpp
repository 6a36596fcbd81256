#include "tap_controller.h"

namespace velarix::sim {

namespace {

using S = TapState;

struct Row {
    S state;
    S onLow;   // next state with TMS 0
    S onHigh;  // next state with TMS 1
    const char* name;
};

// The controller's state diagram as a table, one row per state in the order
// of the enum.
constexpr Row kTable[] = {
    {S::TestLogicReset, S::RunTestIdle, S::TestLogicReset, "Test-Logic-Reset"},
    {S::RunTestIdle, S::RunTestIdle, S::SelectDrScan, "Run-Test/Idle"},
    {S::SelectDrScan, S::CaptureDr, S::SelectIrScan, "Select-DR-Scan"},
    {S::CaptureDr, S::ShiftDr, S::Exit1Dr, "Capture-DR"},
    {S::ShiftDr, S::ShiftDr, S::Exit1Dr, "Shift-DR"},
    {S::Exit1Dr, S::PauseDr, S::UpdateDr, "Exit1-DR"},
    {S::PauseDr, S::PauseDr, S::Exit2Dr, "Pause-DR"},
    {S::Exit2Dr, S::ShiftDr, S::UpdateDr, "Exit2-DR"},
    {S::UpdateDr, S::RunTestIdle, S::SelectDrScan, "Update-DR"},
    {S::SelectIrScan, S::CaptureIr, S::TestLogicReset, "Select-IR-Scan"},
    {S::CaptureIr, S::ShiftIr, S::Exit1Ir, "Capture-IR"},
    {S::ShiftIr, S::ShiftIr, S::Exit1Ir, "Shift-IR"},
    {S::Exit1Ir, S::PauseIr, S::UpdateIr, "Exit1-IR"},
    {S::PauseIr, S::PauseIr, S::Exit2Ir, "Pause-IR"},
    {S::Exit2Ir, S::ShiftIr, S::UpdateIr, "Exit2-IR"},
    {S::UpdateIr, S::RunTestIdle, S::SelectDrScan, "Update-IR"},
};

const Row& RowOf(TapState state) {
    return kTable[static_cast<int>(state)];
}

}  // namespace

TapState NextTapState(TapState state, bool tms) {
    const Row& row = RowOf(state);
    return tms ? row.onHigh : row.onLow;
}

const char* TapStateName(TapState state) {
    return RowOf(state).name;
}

}  // namespace velarix::sim
