#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "box_presenter.h"

namespace velarix {
namespace {

// Presses Enter in the box that is about to open, as a hurried person does.
bool AnswerWithEnter(BoxKind kind) {
    gui::DialogBoxPresenter boxes(nullptr);
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) QTest::keyClick(box, Qt::Key_Return);
    });
    return boxes.AskOkCancel(kind, QStringLiteral("¿Seguro?"));
}

// Enter never confirms a warning (erasing a chip); a plain question keeps OK
// as its default.
TEST(DialogBoxPresenterTest, EnterOnAWarningIsCancel) {
    EXPECT_FALSE(AnswerWithEnter(BoxKind::Warning));
    EXPECT_TRUE(AnswerWithEnter(BoxKind::Information));
}

}  // namespace
}  // namespace velarix
