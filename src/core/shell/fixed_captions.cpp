#include "shell/fixed_captions.h"

namespace velarix {

namespace {

constexpr MessageCaption kMessageCaptions[] = {
    {"Label138", 140},  // "Symbol Rate :" beside the symbol-rate list
    {"Label192", 361},  // "Posición del checksum : "
};

constexpr FixedCaption kFixedCaptions[] = {
    {"Label193", "Nombre Satélite C :"},
    {"Label194", "Nombre Satélite D :"},
    {"CheckBox11", "Audio Mono"},
    {"RadioButton10", "16:9"},
    {"RadioButton11", "4:3"},
};

}  // namespace

std::span<const MessageCaption> MessageCaptions() {
    return kMessageCaptions;
}
std::span<const FixedCaption> FixedCaptions() {
    return kFixedCaptions;
}

}  // namespace velarix
