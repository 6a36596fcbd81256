#pragma once

#include <QByteArray>

namespace velarix::sim {

// The decoder's video frame memory showing colour bars, as a capture read-out
// of 622,592 bytes holds it for a picture `width` pixels wide (576 lines).
// Eight vertical bars, white to black; the bottom quarter is a grey ramp.
QByteArray TestFrame(int width);

// The colour of bar `bar` (0 to 7) as luma, Cb, Cr.
struct Ycc {
    int y, cb, cr;
};
Ycc BarColour(int bar);

}  // namespace velarix::sim
