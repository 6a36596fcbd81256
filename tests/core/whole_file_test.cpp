#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "shell/message_table.h"
#include "shell/whole_file.h"
#include "test_files.h"

namespace velarix {
namespace {

TEST(ReadWholeFileTest, AFileIsReadWhole) {
    QTemporaryDir dir;
    const QByteArray bytes(300000, '\x5A');
    const FileRead read = ReadWholeFile(test::PutFile(dir.filePath("f.bin"), bytes));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, bytes);
}

// A device that never ends is refused once 64 MiB are in, with a reason,
// instead of filling the memory (a firmware "file" given as /dev/zero).
TEST(ReadWholeFileTest, AnEndlessDeviceIsRefused) {
    const FileRead read = ReadWholeFile(QStringLiteral("/dev/zero"));
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.bytes.isEmpty());
    EXPECT_EQ(read.error, "/dev/zero: " + Msg(438));
}

TEST(ReadWholeFileTest, AMissingFileGivesTheSystemsReason) {
    const FileRead read = ReadWholeFile(QStringLiteral("/nonexistent/x.bin"));
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.error.startsWith("/nonexistent/x.bin: "));
}

}  // namespace
}  // namespace velarix
