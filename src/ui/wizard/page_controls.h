#pragma once
// The pieces the wizard pages are made of: a label in the label column and a
// skinned text field in the field column, on rows of the page.

#include <QRect>
#include <string_view>

class QLineEdit;
class QWidget;

namespace corvesta {

class CTransStatic;

// The label and field rectangles of row `row` (0 first).
QRect LabelRect(int row);
QRect FieldRect(int row);

// A label with the translated `text`, by id.
CTransStatic *MakeLabel(QWidget *page, int id, std::u16string_view text, QRect where);

// A text field on the skin's field image, by id; `masked` shows dots. Its
// accessible name is `label`.
QLineEdit *MakeEdit(QWidget *page, int id, QRect where, const QString &label, bool masked = false);

} // namespace corvesta
