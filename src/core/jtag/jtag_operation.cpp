#include "jtag/jtag_operation.h"

#include <algorithm>

#include "lpt/port_access.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/settings.h"

namespace velarix {

JtagTiming JtagTimingOf(const Settings& settings) {
    const SliderSpec& tck = SliderOf(kDuracionTCK);
    const SliderSpec& start = SliderOf(kWStartBits);
    JtagTiming timing;
    timing.tckSpins = std::uint32_t(
        std::clamp<std::int64_t>(settings.sliders[kDuracionTCK], tck.minimum, tck.maximum));
    timing.waitStartBits = std::uint32_t(
        std::clamp<std::int64_t>(settings.sliders[kWStartBits], start.minimum, start.maximum));
    return timing;
}

JtagOperation::JtagOperation(JtagEnvironment& environment) : env_(environment) {}

JtagOperation::~JtagOperation() {
    Close();
}

bool JtagOperation::Open() {
    env_.frame.AddLogLine(LogPane::Jtag, Msg(29));
    env_.frame.Repaint();
    base_ = ParallelBaseAt(env_.settings.parallel);
    PortOpening opening = env_.openPort ? env_.openPort() : PortOpening{};
    if (opening.port &&
        !OpenPortAccess(*opening.port, base_, std::uint16_t(base_ + kSecondRange))) {
        opening.port.reset();
    }
    if (!opening.port) {
        QString text = Msg(39);
        if (!opening.error.isEmpty()) text += QLatin1Char('\n') + opening.error;
        env_.frame.ShowMessage(BoxKind::Error, text);
        return false;
    }
    port_ = std::move(opening.port);
    lpt_ = std::make_unique<Lpt>(Lpt{*port_, env_.timing, base_});
    driver_ = std::make_unique<JtagDriver>(*lpt_, JtagTimingOf(env_.settings));
    access_ = std::make_unique<TargetAccess>(*driver_, env_.frame, env_.trap, env_.trapRoutine);
    return true;
}

void JtagOperation::Close() {
    if (!port_) return;
    env_.frame.AddLogLine(LogPane::Jtag, Msg(36));
    ClosePortAccess(*port_, base_, std::uint16_t(base_ + kSecondRange));
    access_.reset();
    driver_.reset();
    lpt_.reset();
    port_.reset();
}

}  // namespace velarix
