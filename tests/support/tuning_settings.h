#pragma once

#include "shell/settings.h"

namespace velarix::test {

// The tuning settings of a technician: four named satellites and a symbol-rate
// list (the sample "Europa" rates, with entry 11 left empty).
inline Settings TuningSettings() {
    Settings s;
    s.satellites = {"Astra", "Hotbird", "Hispasat", "Sirius"};
    for (int i = 0; i < 8; ++i) s.satelliteNames[i] = s.satellites[i < 4 ? i : 0];
    s.symbolRates = {27500, 22000, 29900, 30000, 28000, 29700, 26000, 23500,
                     27000, 24444, 6111,  0,     4340,  3255,  2963,  2222};
    return s;
}

}  // namespace velarix::test
