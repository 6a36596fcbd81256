// Writes the seed corpus of fuzz_table_image into the folder given: the
// simulator's small sample images, each behind the two bytes that choose the
// table sizes, the kind of table and the blocks to move the sections to.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "sample_tables.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: table_seeds FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) return 1;
    const QList<QByteArray> images = velarix::sim::SeedImages();
    const char knobs[][2] = {{0, 0x08}, {3, 0x19}, {8, 0x00}, {4, 0x00}};
    int written = 0;
    for (int i = 0; i < images.size(); ++i) {
        QFile file(folder.filePath(QStringLiteral("seed-%1").arg(i)));
        const QByteArray seed = QByteArray(knobs[i % 4], 2) + images[i];
        if (file.open(QIODevice::WriteOnly) && file.write(seed) == seed.size()) ++written;
    }
    return written == images.size() ? 0 : 1;
}
