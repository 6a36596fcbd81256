#include "transponder_dialog.h"

#include "number_field.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "tuning/channel_tables.h"
#include "tuning/text_forms.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

namespace tc = transponder_column;

constexpr EditDialogShape kShape{{430, 358}, {414, 146}, {414, 30}, 168, 228, 58};

constexpr int kRow = 21;
constexpr int kWideLabel = 200;
constexpr int kLabelWidth = 104;
constexpr int kSecondColumn = 206;
constexpr int kSecondLabelWidth = 114;

// The place of a label and its control in the upper panel: the two
// frequencies on rows of their own, then two columns.
QRect LabelAt(int row, int column, int width) {
    return {column == 0 ? 0 : kSecondColumn, 1 + row * kRow, width, kRow - 1};
}

}  // namespace

TForm3::TForm3(ChannelTables& tables, Settings& settings, QWidget* owner)
    : EditDialog("TForm3", kShape, settings.form3Width, settings.form3Height, owner),
      tables_(tables) {
    QWidget* upper = UpperPanel();
    struct Line {
        int row, column;
    };
    // Captions in the order of labels_.
    const Line lines[11] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {3, 0}, {3, 1},
                            {4, 0}, {4, 1}, {5, 0}, {5, 1}, {6, 0}};
    for (int i = 0; i < 11; ++i) {
        const int width = i < 2                  ? kWideLabel
                          : lines[i].column == 0 ? kLabelWidth
                                                 : kSecondLabelWidth;
        const QByteArray name = "Label" + QByteArray::number(i + 1);
        labels_[i] =
            MakeLabel(upper, name.constData(), LabelAt(lines[i].row, lines[i].column, width));
        labels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    const auto control = [&](int i, int width) {
        const QRect label = labels_[i]->geometry();
        return QRect(label.right() + 3, label.top(), width, label.height());
    };
    transponderFrequency_ = MakeLabel(upper, "Label12", control(0, 150));
    frequency_ = MakeEdit(upper, "Edit9", control(1, 110));
    lists_[0] = MakeCombo(upper, "ComboBox1", control(2, 94));
    lists_[1] = MakeCombo(upper, "ComboBox2", control(3, 90));
    lists_[2] = MakeCombo(upper, "ComboBox3", control(4, 94), true);
    lists_[5] = MakeCombo(upper, "ComboBox6", control(5, 90), true);
    tsid_ = MakeEdit(upper, "Edit2", control(6, 94));
    nid_ = MakeEdit(upper, "Edit3", control(7, 90));
    lists_[3] = MakeCombo(upper, "ComboBox4", control(8, 94), true);
    channels_ = MakeEdit(upper, "Edit4", control(9, 90));
    lists_[4] = MakeCombo(upper, "ComboBox5", control(10, 140));

    lists_[0]->addItems({QStringLiteral("H"), QStringLiteral("V")});
    lists_[1]->addItems({QStringLiteral("On"), QStringLiteral("Off")});
    lists_[2]->addItems(FecTexts());
    lists_[5]->addItems({QStringLiteral("Ku"), QStringLiteral("C")});

    MakeNumberField(
        frequency_, [] { return TransponderFieldRule(tc::kFrec); },
        [this] {
            // A frequency the person did not touch stays as the row holds it:
            // opening the dialog and pressing "Ok" changes nothing (the
            // correction would move a transponder of the low band).
            if (!frequencyEdited_) return;
            const QString clamped = ClampedTunerFrequency(frequency_->text(), lnb_);
            if (clamped != frequency_->text()) frequency_->setText(clamped);
            transponderFrequency_->setText(TransponderFrequencyText(clamped, lnb_));
        });
    connect(frequency_, &QLineEdit::textEdited, this, [this] { frequencyEdited_ = true; });
    firstField_ = frequency_;
    MakeNumberField(tsid_, [] { return TransponderFieldRule(tc::kTrsp); });
    MakeNumberField(nid_, [] { return TransponderFieldRule(tc::kNet); });
    MakeNumberField(channels_, [] { return TransponderFieldRule(tc::kCan); });

    OkButton()->setGeometry(126, 2, 78, 25);
    CancelButton()->setGeometry(210, 2, 78, 25);

    QWidget* previous = frequency_;
    const auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (QWidget* next : std::initializer_list<QWidget*>{
             lists_[0], lists_[1], lists_[2], lists_[5], tsid_, nid_, lists_[3], channels_,
             lists_[4], OkButton(), CancelButton(), List()}) {
        chain(next);
    }
}

void TForm3::ApplyCaptions() {
    setWindowTitle(Msg(160));
    const int keys[] = {161, 162, 166, 167, 165, 217, 164, 163, 168, 169, 211};
    for (int i = 0; i < 11; ++i) labels_[i]->setText(Msg(keys[i]));
    listLabel_->setText(Msg(170));
}

std::optional<TransponderDialogValues> TForm3::Mostrar(int row) {
    lnb_ = tables_.LnbOf(row);
    const TransponderDialogValues v = TransponderDialogOf(tables_, row);
    transponderFrequency_->setText(tables_.TransponderFrequency(row));
    frequency_->setText(v.frequency);
    frequencyEdited_ = false;
    tsid_->setText(v.transponderId);
    nid_->setText(v.networkId);
    lists_[2]->setCurrentText(v.fec);
    lists_[0]->setCurrentIndex(lists_[0]->findText(v.polarity));
    SetEntries(lists_[3], DialogSymbolRates(tables_));
    lists_[3]->setCurrentText(v.symbolRate);
    lists_[1]->setCurrentIndex(lists_[1]->findText(v.tone));
    channels_->setText(v.channels);
    ShowList(tables_.Channels().Row(0), ChannelsOfTransponder(tables_, row));
    SetEntries(lists_[4], DialogSatellites(tables_));
    lists_[4]->setCurrentIndex(v.satellite);
    lists_[5]->setCurrentText(v.band);
    if (!ShowModal()) return std::nullopt;
    return Values();
}

void TForm3::Confirm() {
    for (QLineEdit* field : {frequency_, tsid_, nid_, channels_}) {
        if (field->hasFocus()) CorrectNumberField(field);
    }
}

TransponderDialogValues TForm3::Values() const {
    TransponderDialogValues v;
    v.frequency = frequency_->text();
    v.transponderId = tsid_->text();
    v.networkId = nid_->text();
    v.channels = channels_->text();
    v.fec = lists_[2]->currentText();
    v.polarity = lists_[0]->currentText();
    v.symbolRate = lists_[3]->currentText();
    v.tone = lists_[1]->currentText();
    v.band = lists_[5]->currentText();
    v.satellite = lists_[4]->currentIndex();
    return v;
}

}  // namespace velarix::gui
