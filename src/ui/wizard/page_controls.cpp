#include "ui/wizard/page_controls.h"

#include <QLineEdit>

#include "ui/main/ui_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/wizard_layout.h"

namespace corvesta {

namespace lay = wizard_layout;

namespace {
constexpr int kLabelHeight = 16;
constexpr int kEditTextHeight = 18;
constexpr QMargins kEditInset{8, 3, 8, 3};
} // namespace

QRect LabelRect(int row) {
  return QRect(lay::kLabelLeft, lay::kFirstRowTop + row * lay::kRowPitch, lay::kLabelWidth,
               lay::kRowHeight);
}

QRect FieldRect(int row) {
  return QRect(lay::kFieldLeft, lay::kFirstRowTop + row * lay::kRowPitch, lay::kFieldWidth,
               lay::kRowHeight);
}

CTransStatic *MakeLabel(QWidget *page, int id, std::u16string_view text, QRect where) {
  auto *label = new CTransStatic(UiText(text), page);
  SetDlgCtrlID(label, id);
  label->setGeometry(where);
  label->SetTextHeight(kLabelHeight);
  label->SetTextWeight(skin::kWeightRegular);
  label->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  return label;
}

QLineEdit *MakeEdit(QWidget *page, int id, QRect where, const QString &label, bool masked) {
  auto *frame = new CGdipIconStatic(page);
  frame->SetImage(skin::kEditField);
  frame->setGeometry(where);
  auto *edit = new QLineEdit(page);
  SetDlgCtrlID(edit, id);
  edit->setFrame(false);
  edit->setGeometry(where.marginsRemoved(kEditInset));
  edit->setFont(skin::SkinFont(kEditTextHeight));
  edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: #323232; }"
                                     "QLineEdit:disabled { color: #8c8c8c; }"));
  edit->setAccessibleName(label);
  if (masked) {
    edit->setEchoMode(QLineEdit::Password);
  }
  return edit;
}

} // namespace corvesta
