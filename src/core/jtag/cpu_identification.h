#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>

namespace velarix {

struct JtagEnvironment;

// What an identification value says, as "Código de la CPU" logs it after the
// value itself: an all-ones or all-zeros value is no answer; otherwise the
// maker (low 12 bits 041h: STMicroelectronics), then for families 20 and 21
// (bits 22-26) the ST20 family, the variant (bits 12-21) and the revision
// (bits 28-31).
QStringList IdentificationLines(std::uint32_t id);

// The line that shows the value: the button's caption, " (IDCODE) : ", and
// the value in 8 hexadecimal digits.
QString IdcodeLine(std::uint32_t id);

// A value that is neither all ones nor all zeros.
inline bool IsIdcodeAnswer(std::uint32_t id) {
    return id != 0 && id != 0xFFFFFFFFu;
}

// "Código de la CPU": resets the debug controller, reads the identification
// register and logs what it says. Nothing when the port could not be opened.
std::optional<std::uint32_t> IdentifyCpu(JtagEnvironment& environment);

}  // namespace velarix
