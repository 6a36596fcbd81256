// Any bytes as a flash image or a RAM table: the sections are looked for and
// the records read at every table size, the tables merged into themselves,
// the image rebuilt with its sections moved to the blocks the first byte
// picks, and both grids exported. The image never changes size, nothing is
// read or written outside it, and the exports have a line per grid row.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "shell/null_frame.h"
#include "shell/settings.h"
#include "tuning/table_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t knobs = data[0];
    const std::uint8_t places = data[1];
    const QByteArray image(reinterpret_cast<const char*>(data + 2),
                           static_cast<qsizetype>(size - 2));

    velarix::Settings settings;
    settings.channelCount = knobs & 1;
    settings.transponderCount = (knobs >> 1) & 1;
    velarix::ApplyChannelCount(settings);
    velarix::ApplyTransponderCount(settings);
    settings.symbolRates = {27500, 22000, 0,    30000, 0,    29700, 26000, 23500,
                            27000, 24444, 6111, 0,     4340, 3255,  2963,  2222};
    velarix::ChannelTables tables(settings);
    velarix::NullFrame frame;

    tables.SetTableImage(image);
    if (knobs & 4) {
        tables.LoadRamTable();
    } else {
        if (tables.LoadSections(tables.TableImage(), false, frame) !=
            velarix::SectionsResult::Loaded) {
            return 0;
        }
        if (knobs & 8) tables.MergeTable(image, frame);
        settings.tcs = places & 0x1F;
        settings.tpt = (places >> 3) & 0x1F;
    }
    const auto error = tables.PrepareImage();
    if (tables.TableImage().size() != image.size()) __builtin_trap();
    if (!error && !tables.RamMode()) {
        const QByteArray rebuilt = tables.TableImage();
        velarix::ChannelTables again(settings);
        again.SetTableImage(rebuilt);
        again.LoadSections(again.TableImage(), false, frame);
    }
    const QByteArray text = velarix::GridText(tables.Channels());
    if (text.count("\r\n") < tables.ChannelRows()) __builtin_trap();
    const QByteArray html = velarix::GridHtml(tables.Transponders());
    if (html.count(" <tr>\r\n") != tables.TransponderRows()) __builtin_trap();
    return 0;
}
