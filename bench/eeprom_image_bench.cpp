#include <benchmark/benchmark.h>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"

namespace {

// A whole image in and out of its cell texts, as every file read and JTAG
// EEPROM transfer does once.
void BM_ImageBytesRoundTrip(benchmark::State& state) {
    velarix::EepromImage image;
    QByteArray bytes(velarix::EepromImage::kSize, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31);
    for (auto _ : state) {
        image.PutImageBytes(bytes, 0, velarix::EepromImage::kSize);
        benchmark::DoNotOptimize(image.GetImageBytes());
    }
    state.SetBytesProcessed(state.iterations() * velarix::EepromImage::kSize);
}
BENCHMARK(BM_ImageBytesRoundTrip);

void BM_HexToInt(benchmark::State& state) {
    const QString text = QStringLiteral("C00D0000");
    for (auto _ : state) benchmark::DoNotOptimize(velarix::HexToInt(text));
}
BENCHMARK(BM_HexToInt);

}  // namespace
