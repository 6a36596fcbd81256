#include "fields_page.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>

namespace velarix::gui {

namespace {

// The object names of each field's caption and controls, in page order.
struct FieldNames {
    const char* caption;
    const char* control;  // list or number box
    const char* box;      // raw view or hexadecimal box
};
constexpr FieldNames kFieldNames[kFieldCount] = {
    {"Label139", "ComboBox47", "Edit40"}, {"Label140", "ComboBox48", "Edit41"},
    {"Label142", "Edit52", "Edit53"},     {"Label167", "Edit54", "Edit55"},
    {"Label170", "Edit56", "Edit57"},     {"Label150", "ComboBox38", "Edit42"},
    {"Label148", "ComboBox39", "Edit43"}, {"Label149", "ComboBox40", "Edit44"},
    {"Label147", "ComboBox41", "Edit45"}, {"Label166", "ComboBox42", "Edit46"},
    {"Label171", "Edit58", "Edit59"},     {"Label172", "ComboBox49", "Edit47"},
    {"Label165", "ComboBox43", "Edit48"}, {"Label164", "ComboBox44", "Edit49"},
    {"Label169", "ComboBox45", "Edit50"}, {"Label168", "ComboBox46", "Edit51"},
};

struct SatelliteNames {
    const char* group;
    const char* captions[kSatelliteFieldCount];
    const char* controls[kSatelliteFieldCount];
};
constexpr SatelliteNames kSatelliteNames[2] = {
    {"GroupBox19",
     {"Label141", "Label146", "Label145", "Label144", "Label143", "Label154", "Label153",
      "Label152", "Label151"},
     {"ComboBox52", "ComboBox53", "ComboBox54", "Edit60", "ComboBox55", "ComboBox56", "ComboBox57",
      "ComboBox58", "Edit61"}},
    {"GroupBox20",
     {"Label155", "Label156", "Label157", "Label158", "Label159", "Label160", "Label161",
      "Label162", "Label163"},
     {"ComboBox59", "ComboBox60", "ComboBox61", "Edit62", "ComboBox62", "ComboBox63", "ComboBox64",
      "ComboBox65", "Edit63"}},
};

template <typename W>
W* Named(QWidget* parent, const char* name) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The width a line edit needs to show `text` whole, by its style.
int WidthFor(const QLineEdit* box, const QString& text) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QMargins margins = box->textMargins() + box->contentsMargins();
    // QLineEdit keeps 2 pixels on each side of its text.
    const int inner =
        box->fontMetrics().horizontalAdvance(text) + 2 * 2 + margins.left() + margins.right();
    return box->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, box->fontMetrics().height()),
                           box)
        .width();
}

// A box at least wide enough for `digits` digits.
void FitDigits(QLineEdit* box, int digits) {
    box->setMinimumWidth(WidthFor(box, QString(digits, QLatin1Char('0'))));
}

QLineEdit* HexBox(QWidget* parent, const char* name, int width) {
    auto* box = Named<QLineEdit>(parent, name);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box->setMaxLength(width);
    box->setReadOnly(true);
    FitDigits(box, std::max(width, 6));
    return box;
}

// A caption takes a second line rather than push the controls off the page.
QLabel* Caption(QWidget* parent, const char* name) {
    auto* label = Named<QLabel>(parent, name);
    label->setWordWrap(true);
    return label;
}

// A list at least as wide as its longest entry, or (editable) as the text
// it may hold.
void FitEntries(QComboBox* list, const QString& longestText = QString()) {
    int widest = list->fontMetrics().horizontalAdvance(longestText) + (list->isEditable() ? 4 : 0);
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    list->setMinimumWidth(list->style()
                              ->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                 QSize(widest, list->fontMetrics().height()), list)
                              .width());
}

bool IsText(SatelliteField field) {
    return field == SatelliteField::Frequency || field == SatelliteField::Lnb;
}

}  // namespace

FieldsPage::FieldsPage(QWidget* page, InterpretedFields& fields) : QObject(page), fields_(fields) {
    auto* scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (int i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        grid->addWidget(Caption(area, kFieldNames[i].caption), i, 0);
        if (InterpretedFields::KindOf(field) == FieldKind::Choice) {
            BuildChoice(area, field, i);
        } else {
            BuildNumber(area, field, i);
        }
        QWidget* control = lists_[i] ? static_cast<QWidget*>(lists_[i]) : edits_[i];
        grid->addWidget(control, i, 1);
        grid->addWidget(lists_[i] ? edits_[i] : displays_[i], i, 2);
    }
    grid->setColumnStretch(0, 1);  // the captions take what the controls leave
    // The two records one under the other: side by side they would not fit
    // the smallest window.
    layout->addWidget(BuildSatellite(area, 0));
    layout->addWidget(BuildSatellite(area, 1));
    layout->addStretch(1);
    scroll->setWidget(area);
    // The page scrolls down, never sideways.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void FieldsPage::BuildChoice(QWidget* area, Field field, int row) {
    auto* list = Named<QComboBox>(area, kFieldNames[row].control);
    auto* raw = HexBox(area, kFieldNames[row].box, fields_.RawWidth(field));
    lists_[row] = list;
    edits_[row] = raw;
    connect(list, &QComboBox::activated, this, [this, field, raw](int entry) {
        ShowChoice(field, fields_.ChooseEntry(field, entry, raw->text()));
    });
    connect(raw, &QLineEdit::textEdited, this, [this, field, raw](const QString& text) {
        const QString filtered = fields_.FilterRaw(field, text);
        if (filtered != text) raw->setText(filtered);
    });
    connect(raw, &QLineEdit::editingFinished, this, [this, field, raw] {
        if (!raw->isReadOnly()) raw->setText(fields_.LeaveRaw(field, raw->text()));
    });
}

void FieldsPage::BuildNumber(QWidget* area, Field field, int row) {
    auto* box = Named<QLineEdit>(area, kFieldNames[row].control);
    auto* display = HexBox(area, kFieldNames[row].box, fields_.MaxLength(field) * 2);
    // A box's own length limit would cut a pasted or stored number to its
    // first digits; only the fixed-width fields of characters have one.
    if (InterpretedFields::HoldsCharacters(field)) box->setMaxLength(fields_.MaxLength(field));
    FitDigits(box, fields_.MaxLength(field));
    edits_[row] = box;
    displays_[row] = display;
    connect(box, &QLineEdit::textEdited, this, [this, field, box](const QString& text) {
        const QString filtered = fields_.FilterNumber(field, text);
        if (filtered != text) box->setText(filtered);
    });
    connect(box, &QLineEdit::editingFinished, this, [this, field, box, display] {
        const NumberView view = fields_.LeaveNumber(field, box->text());
        box->setText(view.value);
        display->setText(view.display);
    });
}

QWidget* FieldsPage::BuildSatellite(QWidget* parent, int record) {
    const SatelliteNames& names = kSatelliteNames[record];
    auto* group = Named<QGroupBox>(parent, names.group);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(4, 1);
    for (int i = 0; i < kSatelliteFieldCount; ++i) {
        const auto field = static_cast<SatelliteField>(i);
        // The name on a row of its own, the other fields two by two.
        const int gridRow = i == 0 ? 0 : 1 + (i - 1) / 2;
        const int gridColumn = i == 0 ? 0 : 2 * ((i - 1) % 2);
        grid->addWidget(Named<QLabel>(group, names.captions[i]), gridRow, gridColumn);
        QWidget* control = nullptr;
        if (IsText(field)) {
            auto* box = Named<QLineEdit>(group, names.controls[i]);
            FitDigits(box, 5);
            connect(box, &QLineEdit::textEdited, this,
                    [this, record, field, box](const QString& text) {
                        const QString filtered = fields_.FilterSatelliteText(record, field, text);
                        if (filtered != text) box->setText(filtered);
                    });
            connect(box, &QLineEdit::editingFinished, this, [this, record, field, box] {
                box->setText(fields_.LeaveSatelliteText(record, field, box->text()));
            });
            control = box;
        } else {
            auto* list = Named<QComboBox>(group, names.controls[i]);
            list->addItems(fields_.SatelliteEntries(record, field));
            if (field == SatelliteField::Name) {
                list->setEditable(true);
                list->setInsertPolicy(QComboBox::NoInsert);
                list->lineEdit()->setMaxLength(fields_.NameLength(record));
                // Room for a full-width name of the widest letter.
                FitEntries(list, QString(fields_.NameLength(record), QLatin1Char('W')));
                QLineEdit* edit = list->lineEdit();
                connect(edit, &QLineEdit::textEdited, this,
                        [this, record, edit](const QString& text) {
                            const QString filtered =
                                fields_.FilterSatelliteText(record, SatelliteField::Name, text);
                            if (filtered != text) edit->setText(filtered);
                        });
                connect(edit, &QLineEdit::editingFinished, this, [this, record, edit] {
                    edit->setText(
                        fields_.LeaveSatelliteText(record, SatelliteField::Name, edit->text()));
                });
            } else {
                connect(list, &QComboBox::activated, this, [this, record, field](int entry) {
                    fields_.ChooseSatelliteEntry(record, field, entry);
                });
            }
            if (field != SatelliteField::Name) FitEntries(list);
            control = list;
        }
        if (i == 0) {
            grid->addWidget(control, gridRow, 1, 1, 3, Qt::AlignLeft);
        } else {
            grid->addWidget(control, gridRow, gridColumn + 1);
        }
        satellites_[record][i] = control;
    }
    return group;
}

QComboBox* FieldsPage::SatelliteList(int record, SatelliteField field) const {
    return qobject_cast<QComboBox*>(satellites_[record][static_cast<int>(field)]);
}

QLineEdit* FieldsPage::SatelliteBox(int record, SatelliteField field) const {
    return qobject_cast<QLineEdit*>(satellites_[record][static_cast<int>(field)]);
}

void FieldsPage::ShowChoice(Field field, const ChoiceView& view) {
    QComboBox* list = lists_[static_cast<int>(field)];
    QLineEdit* raw = edits_[static_cast<int>(field)];
    const QSignalBlocker quietList(list), quietRaw(raw);
    list->setCurrentIndex(view.entry);
    raw->setText(view.raw);
    raw->setReadOnly(!view.rawEditable);
}

void FieldsPage::Refresh() {
    for (int i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        if (lists_[i]) {
            const QSignalBlocker quiet(lists_[i]);
            lists_[i]->clear();
            lists_[i]->addItems(fields_.Entries(field));
            FitEntries(lists_[i]);  // the entries may be of another language
            ShowChoice(field, fields_.Choice(field));
        } else {
            const NumberView view = fields_.Number(field);
            edits_[i]->setText(view.value);
            displays_[i]->setText(view.display);
        }
    }
    for (int record = 0; record < 2; ++record) {
        for (int i = 0; i < kSatelliteFieldCount; ++i) {
            const auto field = static_cast<SatelliteField>(i);
            if (auto* box = SatelliteBox(record, field)) {
                box->setText(fields_.Satellite(record, field));
            } else if (auto* list = SatelliteList(record, field)) {
                const QSignalBlocker quiet(list);
                if (field == SatelliteField::Name) {
                    list->setEditText(fields_.Satellite(record, field));
                } else {
                    list->setCurrentIndex(fields_.SatelliteEntry(record, field));
                }
            }
        }
    }
}

}  // namespace velarix::gui
