#pragma once

#include <QLineEdit>
#include <QValidator>
#include <functional>

#include "tuning/edit_dialogs.h"

namespace velarix::gui {

// Makes a line edit follow a number field's rule: characters the field does
// not take are removed at once, typed or pasted; an emptied field shows its
// text for empty; typing past the field's length is refused (a longer text
// put there from a row is shown whole). When the focus leaves the field its
// value is corrected, and `left` runs after.
void MakeNumberField(QLineEdit* edit, std::function<FieldRule()> rule,
                     std::function<void()> left = {});

// The correction the field makes on leaving, made now (a dialog's "Ok"
// pressed with Enter while the field has the focus).
void CorrectNumberField(QLineEdit* edit);

}  // namespace velarix::gui
