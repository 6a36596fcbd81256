#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "commands.h"
#include "picture/picture_decoder.h"
#include "test_files.h"
#include "test_frame.h"

namespace velarix::cli {
namespace {

struct PictureCommandTest : ::testing::Test {
    QTemporaryDir dir;
    VirtualClock clock;
    QString err;

    int Run(QStringList args) {
        args = QStringList{"--settings", dir.filePath("INIs"), "picture", "decode"} + args;
        QString out;
        err.clear();
        QTextStream o(&out), e(&err);
        CliContext context(args, o, e, clock);
        const int status = RunCommand(context);
        e.flush();
        return status;
    }
    QString Dump(int width) {
        return test::PutFile(dir.filePath(QStringLiteral("bars%1.bin").arg(width)),
                             sim::TestFrame(width));
    }
};

// The simulator lays the bars out from its own description of the frame
// memory; decoding them here gives the bars' colours back.
TEST_F(PictureCommandTest, TheSimulatorsColourBarsDecodeInEveryWidth) {
    for (int width : {352, 528, 544, 704, 720}) {
        const QString out = dir.filePath(QStringLiteral("bars%1.bmp").arg(width));
        ASSERT_EQ(Run({"-i", Dump(width), "--size", QStringLiteral("%1x576").arg(width), "--shape",
                       "original", "-o", out}),
                  0)
            << err.toStdString();
        const QImage picture(out);
        ASSERT_EQ(picture.size(), QSize(width, 576));
        for (int bar = 0; bar < 8; ++bar) {
            const sim::Ycc ycc = sim::BarColour(bar);
            const auto rgb = ConvertBt601(ycc.y, ycc.cb, ycc.cr);
            const int x = width * bar / 8 + width / 16;
            EXPECT_EQ(picture.pixelColor(x, 100), QColor(rgb[0], rgb[1], rgb[2]))
                << width << " bar " << bar;
            EXPECT_EQ(picture.pixelColor(x, 300), QColor(rgb[0], rgb[1], rgb[2]))
                << width << " bar " << bar;
        }
    }
}

TEST_F(PictureCommandTest, ShapeAndFormatFromTheOptionsOrTheName) {
    const QString dump = Dump(720);
    ASSERT_EQ(
        Run({"-i", dump, "--shape", "16:9", "-o", dir.filePath("wide.jpg"), "--quality", "50"}), 0);
    EXPECT_EQ(QImage(dir.filePath("wide.jpg")).size(), QSize(1024, 576));
    ASSERT_EQ(Run({"-i", dump, "-o", dir.filePath("standard.pic"), "--format", "bmp"}), 0);
    QFile bmp(dir.filePath("standard.pic"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bmp.read(2) == "BM");
    EXPECT_EQ(QImage(dir.filePath("standard.pic"), "BMP").size(),
              QSize(720, 576));  // "4:3" by default
}

TEST_F(PictureCommandTest, BadOptionsAndMissingDumpsExitWithTwo) {
    const QString dump = Dump(352);
    EXPECT_EQ(Run({"-i", dump, "-o", dir.filePath("x.gif")}), 2);
    EXPECT_EQ(Run({"-i", dump, "-o", dir.filePath("x.bmp"), "--size", "640x480"}), 2);
    EXPECT_EQ(Run({"-i", dump, "-o", dir.filePath("x.bmp"), "--shape", "square"}), 2);
    EXPECT_EQ(Run({"-i", dump, "-o", dir.filePath("x.jpg"), "--quality", "0"}), 2);
    EXPECT_EQ(Run({"-i", dir.filePath("missing.bin"), "-o", dir.filePath("x.bmp")}), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.bmp")));
}

}  // namespace
}  // namespace velarix::cli
