// Any bytes as a companion file of the settings folder, read as a model
// file, a flash-type file and a symbol-rate file (its section is [X]).
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "shell/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    {
        QFile file(folder + QStringLiteral("X.ini"));
        if (!file.open(QIODevice::WriteOnly)) return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    velarix::Settings s;
    s.folder = folder;
    s.models = {QStringLiteral("X")};
    s.flashTypes = {QStringLiteral("X")};
    s.symbolRateLists = {QStringLiteral("X")};
    s.model = 1;
    s.symbolRateList = 0;
    velarix::ApplyModel(s);  // the model file, then both chips' flash-type files
    velarix::LoadSymbolRateFile(s);
    for (const velarix::FlashChip& chip : s.chips) {
        if (chip.numBlocks > velarix::FlashChip::kBoundaries - 1) __builtin_trap();
        for (int i = std::max(chip.numBlocks + 1, 0); i < velarix::FlashChip::kBoundaries; ++i)
            if (chip.boundaries[i] != 0) __builtin_trap();
    }
    return 0;
}
