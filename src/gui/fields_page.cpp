#include "fields_page.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
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

QLineEdit* HexBox(QWidget* parent, const char* name, int width) {
    auto* box = Named<QLineEdit>(parent, name);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box->setMaxLength(width);
    box->setReadOnly(true);
    box->setMinimumWidth(
        box->fontMetrics().horizontalAdvance(QString(std::max(width, 6) + 2, QLatin1Char('0'))));
    return box;
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
        grid->addWidget(Named<QLabel>(area, kFieldNames[i].caption), i, 0);
        if (InterpretedFields::KindOf(field) == FieldKind::Choice) {
            BuildChoice(area, field, i);
        } else {
            BuildNumber(area, field, i);
        }
        QWidget* control = lists_[i] ? static_cast<QWidget*>(lists_[i]) : edits_[i];
        grid->addWidget(control, i, 1);
        grid->addWidget(lists_[i] ? edits_[i] : displays_[i], i, 2);
    }
    grid->setColumnStretch(3, 1);
    auto* records = new QHBoxLayout;
    records->addWidget(BuildSatellite(area, 0));
    records->addWidget(BuildSatellite(area, 1));
    records->addStretch(1);
    layout->addLayout(records);
    layout->addStretch(1);
    scroll->setWidget(area);
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
    for (int i = 0; i < kSatelliteFieldCount; ++i) {
        const auto field = static_cast<SatelliteField>(i);
        grid->addWidget(Named<QLabel>(group, names.captions[i]), i, 0);
        QWidget* control = nullptr;
        if (IsText(field)) {
            auto* box = Named<QLineEdit>(group, names.controls[i]);
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
            control = list;
        }
        grid->addWidget(control, i, 1);
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
