// The "Imagen" page: a frame dump decoded and shown, the picture saved.
#include "box_presenter.h"
#include "picture/picture_decoder.h"
#include "picture/picture_files.h"
#include "picture_page.h"
#include "shell/message_table.h"
#include "tform1.h"

namespace velarix::gui {

void TForm1::ConnectPicturePage() {
    connect(picture_->readButton, &QPushButton::clicked, this, [this] { ReadPictureChosen(); });
    connect(picture_->saveButton, &QPushButton::clicked, this, [this] { SavePictureChosen(); });
}

// A dump that cannot be read changes nothing.
void TForm1::ReadPictureChosen() {
    // Only the first 640,000 bytes of a dump are ever decoded.
    const auto file = AskAndReadFile(Msg(226), 640000);
    if (!file) return;
    picture_->saveButton->setEnabled(true);
    ShowCapturedPicture(file->second);
}

// The shapes are tried in order "16:9", "4:3"; with neither chosen the
// picture keeps its own size. "16:9" widens the window to hold it.
void TForm1::ShowCapturedPicture(const QByteArray& frame) {
    const DecodedPicture decoded =
        DecodePicture(frame, settings_.pictureWidth, settings_.pictureHeight);
    const PictureShape shape = settings_.pictureShape == 1   ? PictureShape::Wide
                               : settings_.pictureShape == 0 ? PictureShape::Standard
                                                             : PictureShape::Original;
    shownPicture_ = ShapePicture(decoded, shape);
    if (shape == PictureShape::Wide) resize(1043, height());
    QLabel* box = picture_->Picture();
    box->resize(shownPicture_.size());
    box->setPixmap(QPixmap::fromImage(shownPicture_));
    picture_->LayOut();
}

// The format follows the file type chosen, not the name's extension.
void TForm1::SavePictureChosen() {
    folders_.SetDefaultExtension(QStringLiteral("jpg"));
    const auto choice = dialogs_->AskSave(Msg(350), 2);
    if (!choice) return;
    const int quality = static_cast<int>(settings_.sliders[kCalidadJPEG]);
    const auto error = choice->filterIndex == 2 ? SaveJpeg(shownPicture_, choice->path, quality)
                                                : SaveBmp(shownPicture_, choice->path);
    if (error) boxes_->Show(BoxKind::Error, *error);
}

}  // namespace velarix::gui
