#include "channel_dialog.h"

#include <QApplication>
#include <cstring>

#include "number_field.h"
#include "shell/fixed_captions.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "tuning/channel_tables.h"
#include "tuning/text_forms.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

namespace cc = channel_column;

constexpr EditDialogShape kShape{{430, 379}, {414, 122}, {414, 95}, 146, 253, 99};

constexpr int kRow = 24;
constexpr int kLabelWidth = 104;
constexpr int kSecondColumn = 206;
constexpr int kSecondLabelWidth = 114;
constexpr int kEditWidth = 90;

// Where field i (0 NOMBRE .. 7 PCR) stands in the upper panel: the name on a
// row of its own, then two columns.
struct Place {
    int row, column;
};
constexpr Place kPlaces[8] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}, {4, 0}};

// The caption the language files do not reach ("Audio Mono").
QString FixedText(const char* object) {
    for (const auto& caption : FixedCaptions()) {
        if (std::strcmp(caption.object, object) == 0) return QString::fromUtf8(caption.text);
    }
    return QString();
}

}  // namespace

TForm2::TForm2(ChannelTables& tables, Settings& settings, QWidget* owner)
    : EditDialog("TForm2", kShape, settings.form2Width, settings.form2Height, owner),
      tables_(tables) {
    QWidget* upper = UpperPanel();
    for (int i = 0; i < 8; ++i) {
        const int x = kPlaces[i].column == 0 ? 0 : kSecondColumn;
        const int labelWidth = kPlaces[i].column == 0 ? kLabelWidth : kSecondLabelWidth;
        const int y = 2 + kPlaces[i].row * kRow;
        const QByteArray label = "Label" + QByteArray::number(i + 1);
        const QByteArray edit = "Edit" + QByteArray::number(i + 1);
        labels_[i] = MakeLabel(upper, label.constData(), {x, y, labelWidth, 22});
        labels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        fields_[i] = MakeEdit(upper, edit.constData(),
                              {x + labelWidth + 2, y, i == 0 ? 180 : kEditWidth, 22});
    }
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(fields_[0]->font().pointSizeF());
    fields_[0]->setFont(arial);
    fields_[0]->setMaxLength(16);
    firstField_ = fields_[0];
    for (int i = 1; i < 8; ++i) {
        const int column = cc::kName + i;
        MakeNumberField(fields_[i], [this, column] {
            return ChannelFieldRule(column, tables_.TransponderRows());
        });
    }

    QWidget* lower = LowerPanel();
    // The status on the left: the short captions in the first column, the
    // long ones in the second; the transponder and the buttons on the right,
    // the transponder in a smaller type so that its caption fits.
    status_ = MakeGroup(lower, "GroupBox1", {0, 0, 236, 95});
    const char* boxes[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"};
    const QRect places[] = {
        {8, 16, 92, 17}, {102, 16, 130, 17}, {8, 33, 92, 17}, {102, 33, 130, 17}, {8, 50, 92, 17}};
    for (int i = 0; i < 5; ++i) boxes_[i] = MakeCheck(status_, boxes[i], places[i]);
    encryptionLabel_ = MakeLabel(status_, "Label10", {8, 69, 90, 20});
    encryption_ = MakeCombo(status_, "ComboBox1", {100, 68, 130, 22});
    for (int code = 0; code < 8; ++code) encryption_->addItem(EncryptionSystemName(code));

    transponder_ = MakeGroup(lower, "GroupBox2", {240, 0, 174, 64});
    QFont small = transponder_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    transponder_->setFont(small);
    for (int i = 0; i < 3; ++i) {
        const QRect line(6, 16 + i * 15, 162, 15);
        const QByteArray caption = "Label" + QByteArray::number(11 + i);
        const QByteArray value = "Label" + QByteArray::number(14 + i);
        transponderCaptions_[i] = MakeLabel(transponder_, caption.constData(), line);
        transponderValues_[i] = MakeLabel(transponder_, value.constData(), line);
        transponderValues_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    OkButton()->setGeometry(240, 69, 85, 25);
    CancelButton()->setGeometry(329, 69, 85, 25);

    // Tab goes down the fields, through the status and on to the buttons.
    QWidget* previous = fields_[0];
    const auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (int i = 1; i < 8; ++i) chain(fields_[i]);
    for (QCheckBox* box : boxes_) chain(box);
    chain(encryption_);
    chain(OkButton());
    chain(CancelButton());
    chain(List());
}

void TForm2::ApplyCaptions() {
    setWindowTitle(Msg(159));
    const int keys[] = {141, 142, 144, 143, 146, 145, 148, 147};
    for (int i = 0; i < 8; ++i) labels_[i]->setText(Msg(keys[i]));
    status_->setTitle(Msg(149));
    boxes_[0]->setText(Msg(150));
    boxes_[1]->setText(Msg(151));
    boxes_[2]->setText(Msg(152));
    boxes_[3]->setText(Msg(278));
    boxes_[4]->setText(FixedText("CheckBox11"));
    encryptionLabel_->setText(Msg(279));
    encryption_->setItemText(0, Msg(280));
    listLabel_->setText(Msg(153));
    transponder_->setTitle(Msg(156));
    const int captions[] = {154, 155, 211};
    for (int i = 0; i < 3; ++i) transponderCaptions_[i]->setText(Msg(captions[i]));
}

std::optional<ChannelDialogValues> TForm2::Mostrar(int row) {
    const ChannelDialogValues values = ChannelDialogOf(tables_, row);
    for (int i = 0; i < 8; ++i) fields_[i]->setText(values.fields[i]);
    const ChannelStatus& s = values.status;
    const bool ticks[] = {s.active, s.parental, s.favourite, s.radio, s.mono};
    for (int i = 0; i < 5; ++i) boxes_[i]->setChecked(ticks[i]);
    encryption_->setCurrentIndex(s.encryption);
    ShowList(tables_.Channels().Row(0), ChannelsSharingTransponder(tables_, row));
    const DialogTransponder transponder = DialogTransponderOf(tables_, row);
    transponderValues_[0]->setText(transponder.frequency);
    transponderValues_[1]->setText(transponder.polarity);
    transponderValues_[2]->setText(transponder.satellite);
    if (!ShowModal()) return std::nullopt;
    return Values();
}

void TForm2::Confirm() {
    for (QLineEdit* field : fields_) {
        if (field->hasFocus()) CorrectNumberField(field);
    }
}

ChannelDialogValues TForm2::Values() const {
    ChannelDialogValues values;
    for (int i = 0; i < 8; ++i) values.fields[i] = fields_[i]->text();
    values.status.active = boxes_[0]->isChecked();
    values.status.parental = boxes_[1]->isChecked();
    values.status.favourite = boxes_[2]->isChecked();
    values.status.radio = boxes_[3]->isChecked();
    values.status.mono = boxes_[4]->isChecked();
    values.status.encryption = std::max(encryption_->currentIndex(), 0);
    return values;
}

QStringList TForm2::TransponderValues() const {
    return {transponderValues_[0]->text(), transponderValues_[1]->text(),
            transponderValues_[2]->text()};
}

}  // namespace velarix::gui
