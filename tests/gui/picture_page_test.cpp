#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

#include "picture_page.h"
#include "shell/message_table.h"
#include "test_files.h"
#include "test_frame.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;
using test::WindowOptions;

struct PicturePageTest : ::testing::Test {
    QTemporaryDir dir;

    QString Dump(int width) {
        return test::PutFile(dir.filePath(QStringLiteral("bars%1.bin").arg(width)),
                             sim::TestFrame(width));
    }
    static QByteArray Head(const QString& path) { return test::FileContents(path).left(4); }
};

TEST_F(PicturePageTest, SaveIsDisabledUntilAPictureIsDecoded) {
    TestWindow w;
    EXPECT_FALSE(w.form.Picture()->saveButton->isEnabled());
    w.form.findChild<QComboBox*>("ComboBox12")->setCurrentIndex(0);
    w.form.findChild<QRadioButton*>("RadioButton10")->setChecked(true);
    EXPECT_FALSE(w.form.Picture()->saveButton->isEnabled());
    EXPECT_TRUE(w.form.Picture()->readButton->isEnabled());
    w.dialogs.answers.push_back({Dump(720), 1});
    w.form.Picture()->readButton->click();
    EXPECT_EQ(w.dialogs.filtersAsked.last(), Msg(226));
    EXPECT_TRUE(w.form.Picture()->saveButton->isEnabled());
}

TEST_F(PicturePageTest, EachShapeSizesAndCentresThePicture) {
    TestWindow w(
        WindowOptions{.settingsFile = "[TForm1]\r\nFormato4:3=0\r\nFormato16:9=1\r\nTamano=3\r\n"});
    w.form.show();
    w.form.Pages()->setCurrentWidget(w.form.Picture());
    w.dialogs.answers.push_back({Dump(704), 1});
    w.form.Picture()->readButton->click();
    QApplication::processEvents();
    EXPECT_EQ(w.form.ShownPicture().size(), QSize(1024, 576));
    EXPECT_EQ(w.form.width(), 1043);
    QWidget* page = w.form.Picture();
    QWidget* box = w.form.Picture()->Picture();
    EXPECT_EQ(box->size(), QSize(1024, 576));
    EXPECT_EQ(box->x(), page->width() / 2 - 512);
    EXPECT_EQ(box->y(), page->height() / 2 - 288 - 13);

    w.form.findChild<QRadioButton*>("RadioButton12")->setChecked(true);  // "No cambiar el formato"
    w.dialogs.answers.push_back({Dump(704), 1});
    w.form.Picture()->readButton->click();
    EXPECT_EQ(w.form.ShownPicture().size(), QSize(704, 576));
    EXPECT_EQ(box->size(), QSize(704, 576));
}

TEST_F(PicturePageTest, ADumpThatCannotBeReadChangesNothing) {
    TestWindow w;
    w.dialogs.answers.push_back({dir.filePath("missing.bin"), 1});
    w.form.Picture()->readButton->click();
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_TRUE(w.boxes.shown[0].text.contains("missing.bin"));
    EXPECT_FALSE(w.form.Picture()->saveButton->isEnabled());
    EXPECT_TRUE(w.form.ShownPicture().isNull());
}

// A dump that never ends (a device) is decoded from its first 640,000
// bytes, as a longer file is.
TEST_F(PicturePageTest, AnEndlessDumpIsReadAsFarAsADecodeGoes) {
    TestWindow w;
    w.dialogs.answers.push_back({QStringLiteral("/dev/zero"), 1});
    w.form.Picture()->readButton->click();
    EXPECT_TRUE(w.boxes.shown.isEmpty());
    EXPECT_TRUE(w.form.Picture()->saveButton->isEnabled());
    EXPECT_FALSE(w.form.ShownPicture().isNull());
}

TEST_F(PicturePageTest, TheFileTypeChosenDecidesTheFormat) {
    TestWindow w;
    w.dialogs.answers.push_back({Dump(720), 1});
    w.form.Picture()->readButton->click();
    EXPECT_EQ(w.form.Folders().DefaultExtension(), QStringLiteral("txt"));
    w.dialogs.answers.push_back({dir.filePath("picture.jpg"), 1});  // the BMP type, a .jpg name
    w.form.Picture()->saveButton->click();
    EXPECT_EQ(w.dialogs.filtersAsked.last(), Msg(350));
    EXPECT_EQ(w.dialogs.preselectsAsked.last(), 2);
    EXPECT_EQ(Head(dir.filePath("picture.jpg")).left(2), QByteArray("BM"));
    w.dialogs.answers.push_back({dir.filePath("picture.bmp"), 2});
    w.form.Picture()->saveButton->click();
    EXPECT_EQ(Head(dir.filePath("picture.bmp")).left(3), QByteArray("\xFF\xD8\xFF"));
    EXPECT_EQ(w.form.Folders().DefaultExtension(),
              QStringLiteral("jpg"));  // for the rest of the run
}

}  // namespace
}  // namespace velarix
