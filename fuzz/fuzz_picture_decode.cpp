// Frame dumps of any length, decoded at every width of the picture-size list.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "picture/picture_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const int widths[] = {352, 528, 544, 704, 720};
    const int width = widths[data[0] % 5];
    // The rest of the input is the dump, often far shorter than a frame.
    const auto picture = velarix::DecodePicture(reinterpret_cast<const char*>(data + 1),
                                                static_cast<std::int64_t>(size - 1), width, 576);
    if (picture.bgr.size() != width * 576 * 3) __builtin_trap();
    return 0;
}
