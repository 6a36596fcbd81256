#include "tuning_page.h"

#include "tuning/channel_tables.h"
#include "tuning/text_forms.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kSectionsHeight = 45;
constexpr int kMargin = 4;
constexpr int kInner = kTuningSideColumn - 2 * kMargin;  // 150
constexpr int kHalf = (kInner - kMargin) / 2;            // 73
constexpr int kButtonHeight = 23;
constexpr int kRow = 24;
constexpr int kLine = 15;

QRect Full(int row) {
    return {kMargin, 2 + row * kRow, kInner, kButtonHeight};
}
QRect Left(int row) {
    return {kMargin, 2 + row * kRow, kHalf, kButtonHeight};
}
QRect Right(int row) {
    return {kInner + kMargin - kHalf, 2 + row * kRow, kHalf, kButtonHeight};
}

}  // namespace

TuningPage::TuningPage(ChannelTables& tables, QWidget* parent)
    : QWidget(parent), subPages_(new QTabWidget(this)), side_(new QWidget(this)) {
    setObjectName(QStringLiteral("TabSheet7"));
    subPages_->setObjectName(QStringLiteral("PageControl4"));
    channelPage_ = AddPage(subPages_, "TabSheet8");
    transponderPage_ = AddPage(subPages_, "TabSheet9");
    channels_ = new TableGrid("StringAlignGrid2", tables.Channels(), true, channelPage_);
    transponders_ =
        new TableGrid("StringAlignGrid3", tables.Transponders(), false, transponderPage_);

    // The buttons and panels stand in one column, so that a running task
    // disables them together and each keeps its own enabling after.
    side_->setObjectName(QStringLiteral("Panel2"));
    readButton = MakeButton(side_, "Button13", Full(0));
    addButton = MakeButton(side_, "Button6", Full(1));
    saveButton = MakeButton(side_, "Button15", Full(2));
    editButton = MakeButton(side_, "Button19", Left(3));
    findButton = MakeButton(side_, "Button14", Right(3));
    copyButton = MakeButton(side_, "Button16", Left(4));
    cutButton = MakeButton(side_, "Button26", Right(4));
    pasteButton = MakeButton(side_, "Button20", Left(5));
    deleteButton = MakeButton(side_, "Button18", Right(5));
    moveButton = MakeButton(side_, "Button17", Left(6));
    moveField = MakeEdit(side_, "Edit6", Right(6));
    moveField->setMaxLength(3);
    moveField->setText(QStringLiteral("1"));
    swapButton = MakeButton(side_, "Button24", Full(7));
    duplicatesButton = MakeButton(side_, "Button27", Full(8));

    const int panelTop = 2 + 9 * kRow + 2;
    transponderPanel_ = MakeGroup(side_, "GroupBox13", {kMargin, panelTop, kInner, 18 + 7 * kLine});
    const char* captions[] = {"Label92", "Label93", "Label94", "Label95",
                              "Label96", "Label97", "Label98"};
    const char* values[] = {"Label99",  "Label100", "Label101", "Label102",
                            "Label103", "Label104", "Label105"};
    for (int i = 0; i < 7; ++i) {
        const QRect line(6, 16 + i * kLine, kInner - 12, kLine);
        MakeLabel(transponderPanel_, captions[i], line);
        transponderValues_[i] = MakeLabel(transponderPanel_, values[i], line);
        transponderValues_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    const int statusTop = transponderPanel_->geometry().bottom() + 4;
    statusPanel_ = MakeGroup(side_, "GroupBox22", {kMargin, statusTop, kInner, 16 + 5 * 17 + 44});
    const char* boxes[] = {"CheckBox8", "CheckBox7", "CheckBox9", "CheckBox10", "CheckBox11"};
    for (int i = 0; i < 5; ++i)
        statusBoxes[i] = MakeCheck(statusPanel_, boxes[i], {6, 16 + i * 17, kInner - 10, 17});
    MakeLabel(statusPanel_, "Label173", {6, 16 + 5 * 17, kInner - 10, 17});
    encryption = MakeCombo(statusPanel_, "ComboBox50", {6, 16 + 6 * 17, kInner - 12, 22});
    for (int code = 0; code < 8; ++code) encryption->addItem(EncryptionSystemName(code));

    // The two lines hold a caption and a position such as "07 (070040)" side
    // by side in the column's width, in a smaller type.
    sections_ = MakeGroup(side_, "GroupBox10", {kMargin, 0, kInner, kSectionsHeight});
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    const char* sectionCaptions[] = {"Label69", "Label68"};
    const char* sectionValues[] = {"Label70", "Label71"};
    for (int i = 0; i < 2; ++i) {
        const QRect line(3, 14 + i * kLine, kInner - 6, kLine);
        MakeLabel(sections_, sectionCaptions[i], line)->setFont(small);
        sectionValues_[i] = MakeLabel(sections_, sectionValues[i], line);
        sectionValues_[i]->setFont(small);
        sectionValues_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    // Nothing to edit or save until a table is loaded.
    for (QWidget* control : std::initializer_list<QWidget*>{
             addButton, saveButton, editButton, findButton, copyButton, cutButton, pasteButton,
             deleteButton, moveButton, moveField, swapButton, duplicatesButton}) {
        control->setEnabled(false);
    }
    SetStatusEnabled(false);

    OnResize(this, [this](QSize page) { LayOut(page); });
    OnResize(channelPage_,
             [this](QSize sub) { channels_->setGeometry(0, 0, sub.width(), sub.height()); });
    OnResize(transponderPage_,
             [this](QSize sub) { transponders_->setGeometry(0, 0, sub.width(), sub.height()); });
}

void TuningPage::LayOut(QSize page) {
    subPages_->setGeometry(0, 0, page.width() - kTuningSideColumn, page.height());
    side_->setGeometry(page.width() - kTuningSideColumn, 0, kTuningSideColumn, page.height());
    sections_->move(kMargin, page.height() - 51);
}

void TuningPage::SetTransponderSubPageEnabled(bool enabled) {
    subPages_->setTabEnabled(subPages_->indexOf(transponderPage_), enabled);
}

void TuningPage::SetStatusEnabled(bool enabled) {
    for (QCheckBox* box : statusBoxes) box->setEnabled(enabled);
    encryption->setEnabled(enabled);
}

void TuningPage::ShowPanels(const ChannelPanels& panels) {
    if (panels.transponder) {
        const TransponderInfo& t = *panels.transponder;
        const QString texts[] = {t.satellite,  t.frequency, t.polarity, t.fec,
                                 t.symbolRate, t.channels,  t.band};
        for (int i = 0; i < 7; ++i) transponderValues_[i]->setText(texts[i]);
    } else {
        ClearTransponderInfo();
    }
    const ChannelStatus& s = panels.status;
    const bool ticks[] = {s.active, s.parental, s.favourite, s.radio, s.mono};
    for (int i = 0; i < 5; ++i) statusBoxes[i]->setChecked(ticks[i]);
    encryption->setCurrentIndex(s.encryption);
}

void TuningPage::ClearTransponderInfo() {
    for (QLabel* value : transponderValues_) value->clear();
}

QStringList TuningPage::TransponderValues() const {
    QStringList texts;
    for (const QLabel* value : transponderValues_) texts << value->text();
    return texts;
}

void TuningPage::ShowSectionLabels(const QString& channels, const QString& transponders) {
    sectionValues_[0]->setText(channels);
    sectionValues_[1]->setText(transponders);
}

}  // namespace velarix::gui
