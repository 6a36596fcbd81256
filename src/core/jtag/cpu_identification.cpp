#include "jtag/cpu_identification.h"

#include "eeprom/hex.h"
#include "jtag/jtag_operation.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"

namespace velarix {

namespace {

constexpr std::uint32_t kStMaker = 0x041;
const QString kDashes(40, QLatin1Char('-'));

struct Variant {
    std::uint32_t code;
    const char* name;
};

constexpr Variant kVariants[] = {
    {0x193, "ST20-TP2"}, {0x198, "ST20-TP4"}, {0x0C9, "STi5500"}, {0x1D9, "STi5500"},
    {0x0CB, "STi5505"},  {0x002, "STi5508"},  {0x0CD, "STi5510"}, {0x001, "STi5512"},
    {0x006, "STi5512"},  {0x007, "STi5512"},  {0x005, "STi5518"},
};

}  // namespace

QString IdcodeLine(std::uint32_t id) {
    return Msg(115) + QStringLiteral(" (IDCODE) : ") + HexText(id, 8);
}

QStringList IdentificationLines(std::uint32_t id) {
    if (!IsIdcodeAnswer(id)) return {Msg(123)};
    if ((id & 0xFFF) != kStMaker) return {Msg(411)};
    QStringList lines{Msg(410)};
    const std::uint32_t family = (id >> 22) & 0x1F;
    if (family != 20 && family != 21) {
        lines << Msg(413);
        return lines;
    }
    lines << Msg(412);
    const std::uint32_t variant = (id >> 12) & 0x3FF;
    const Variant* known = nullptr;
    for (const Variant& v : kVariants) {
        if (v.code == variant) known = &v;
    }
    if (known) {
        lines << Msg(414) + QString::fromLatin1(known->name);
    } else {
        lines << Msg(415) << Msg(416);
    }
    lines << Msg(417) + HexText(id >> 28, 1);
    return lines;
}

std::optional<std::uint32_t> IdentifyCpu(JtagEnvironment& env) {
    OperationFrame& frame = env.frame;
    JtagOperation operation(env);
    if (!operation.Open()) return std::nullopt;
    frame.BeginBusy();
    TargetAccess& access = operation.Access();
    access.DcuResetOn();
    const std::uint32_t id = operation.Driver().ReadIdcode();
    frame.AddLogLine(LogPane::Jtag, kDashes);
    frame.AddLogLine(LogPane::Jtag, IdcodeLine(id));
    for (const QString& line : IdentificationLines(id)) frame.AddLogLine(LogPane::Jtag, line);
    frame.AddLogLine(LogPane::Jtag, kDashes);
    access.DcuResetOff();
    operation.Close();
    frame.EndBusy();
    return id;
}

}  // namespace velarix
