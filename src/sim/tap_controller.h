#pragma once

namespace velarix::sim {

// The sixteen states of a JTAG test access port's controller.
enum class TapState {
    TestLogicReset,
    RunTestIdle,
    SelectDrScan,
    CaptureDr,
    ShiftDr,
    Exit1Dr,
    PauseDr,
    Exit2Dr,
    UpdateDr,
    SelectIrScan,
    CaptureIr,
    ShiftIr,
    Exit1Ir,
    PauseIr,
    Exit2Ir,
    UpdateIr,
};

// The state the controller moves to on a rising edge of TCK with TMS at `tms`.
TapState NextTapState(TapState state, bool tms);

// The state's name as the standard writes it ("Shift-DR", "Run-Test/Idle"...).
const char* TapStateName(TapState state);

}  // namespace velarix::sim
