#pragma once
// The skinned IPv4 address field: four number fields over the field image
// with painted dots between them. Typing moves from field to field ("." and
// space move on, three digits move on after the field's range check, the
// arrows cross the field edges), Tab leaves the control, Enter presses the
// dialog's default button. GetAddress checks the whole address for its kind
// and tells the person what is wrong in a message box owned by the control.
// A whole address pasted into a field is spread over the four fields.

#include <QLineEdit>
#include <QPainter>
#include <QValidator>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "platform/window_message.h"
#include "setup/address_entry.h"
#include "ui/skin/gdiplus_bitmap.h"

namespace corvesta {

class CGdipIpAddrCtl;
class QtMessageTarget;

// One of the four number fields: at most three digits, centred.
class CIPAddrEdit : public QLineEdit {
  Q_OBJECT
public:
  CIPAddrEdit(CGdipIpAddrCtl *owner, int index);
  int Index() const { return m_index; }

protected:
  void keyPressEvent(QKeyEvent *event) override;
  bool focusNextPrevChild(bool next) override;
  void contextMenuEvent(QContextMenuEvent *event) override;

private:
  CGdipIpAddrCtl *m_owner;
  int m_index;
};

class CGdipIpAddrCtl : public QWidget {
  Q_OBJECT
public:
  explicit CGdipIpAddrCtl(QWidget *parent = nullptr);
  ~CGdipIpAddrCtl() override;

  // Owner of the control's message boxes.
  WindowHandle Handle() const;

  void SetAddress(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d);
  // The four bytes of a packed address, the top byte first.
  void SetAddressValue(std::uint32_t value);
  void ClearAddress();
  // True when all four fields are empty.
  bool IsBlank() const;

  // 4, with the outputs set, when the address is complete and valid for the
  // kind. Otherwise the problem is shown in a message box, the focus goes to
  // the field to correct, the outputs are 0 and the result is the number of
  // fields read before the empty or out-of-range one (0 when the address as
  // a whole is not valid for its kind).
  int GetAddress(AddressKind kind, std::uint8_t &a, std::uint8_t &b, std::uint8_t &c,
                 std::uint8_t &d);
  // The same with the bytes packed, the first field in the top byte.
  int GetAddressValue(AddressKind kind, std::uint32_t &value);
  // The four fields as they stand, read without a check or a message.
  AddressFieldTexts FieldTexts() const;

  // Names the control and each of its four fields for assistive technology;
  // fieldName(i) names the field i (0 to 3).
  void SetAccessibleNames(const QString &name, const std::function<QString(int)> &fieldName);

  // The field 0 to 3 (control ids 1 to 4).
  CIPAddrEdit *Field(int index) const;
  QRect FieldRect(int index) const;
  QRect DotRect(int index) const;
  bool ImageLoaded() const { return !m_image.IsNull(); }

  QSize sizeHint() const override;

Q_SIGNALS:
  // A character the fields do not take was typed or pasted (after the beep).
  void InputRefused();

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  friend class CIPAddrEdit;

  enum class Entry { SelectAll, CaretAtStart, CaretAtEnd };

  void Layout();
  void DrawFieldImage(QPainter &painter) const;
  void FocusField(int index, Entry entry);
  // After the person changed a field: the range check once it holds three
  // characters, then on to the next field.
  void OnFieldEdited(int index);
  // False, with the field emptied and focused, when its number is out of
  // range.
  bool CheckField(int index);
  void Paste(int index, const QString &text);
  void Refuse();
  // Tab and Shift+Tab: the next or previous control of the dialog outside
  // this one.
  void LeaveControl(bool forward);
  // Escape on a page of an outer dialog cancels the outer dialog; false
  // when the control does not sit on such a page.
  bool CancelOuterDialog();
  void ShowProblem(const AddressProblem &problem);

  CGdiPlusBitmapResource m_image;
  std::array<CIPAddrEdit *, kAddressFieldCount> m_fields{};
  QValidator *m_fieldValidator = nullptr;
  std::array<QRect, kAddressFieldCount> m_fieldRects{};
  std::array<QRect, kAddressFieldCount - 1> m_dotRects{};
  QtMessageTarget *m_target;
  // The field that three typed digits just moved the focus into, -1 once
  // another key was pressed.
  int m_advancedInto = -1;
};

} // namespace corvesta
