#include "number_field.h"

#include <limits>

#include "widgets.h"

namespace velarix::gui {

namespace {

class RuleValidator : public QValidator {
public:
    RuleValidator(QLineEdit* edit, std::function<FieldRule()> rule, std::function<void()> left)
        : QValidator(edit), rule_(std::move(rule)), left_(std::move(left)), before_(edit->text()) {
        setObjectName(QStringLiteral("NumberFieldRule"));
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { before_ = text; });
    }

    State validate(QString& input, int& position) const override {
        const FieldRule rule = rule_();
        const auto edited = EditedText(rule, before_, input);
        if (!edited) return Invalid;
        if (*edited == input) return Acceptable;
        // The cursor stays after the characters kept before it.
        FieldRule plain = rule;
        plain.maxLength = std::numeric_limits<int>::max();
        plain.whenEmpty.clear();
        const QString kept = EditedText(plain, QString(), input.left(position)).value_or(QString());
        const bool emptied = EditedText(plain, QString(), input).value_or(QString()).isEmpty();
        input = *edited;
        position = static_cast<int>(emptied ? input.size() : std::min(kept.size(), input.size()));
        return Acceptable;
    }

    void Leave(QLineEdit* edit) const {
        const QString corrected = LeftText(rule_(), edit->text());
        if (corrected != edit->text()) edit->setText(corrected);
        if (left_) left_();
    }

private:
    std::function<FieldRule()> rule_;
    std::function<void()> left_;
    QString before_;
};

}  // namespace

void MakeNumberField(QLineEdit* edit, std::function<FieldRule()> rule, std::function<void()> left) {
    auto* validator = new RuleValidator(edit, std::move(rule), std::move(left));
    edit->setValidator(validator);
    OnFocusOut(edit, [edit, validator] { validator->Leave(edit); });
}

void CorrectNumberField(QLineEdit* edit) {
    if (const auto* validator = dynamic_cast<const RuleValidator*>(edit->validator()))
        validator->Leave(edit);
}

}  // namespace velarix::gui
