#include "ui/skin/gdip_ip_addr_ctl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <utility>

#include "i18n/format_pattern.h"
#include "i18n/translate.h"
#include "platform/message_box.h"
#include "ui/platform/qt_message_target.h"
#include "ui/qt_text.h"
#include "ui/skin/control_colors.h"
#include "ui/skin/control_id.h"
#include "ui/skin/skin_accessibility.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"

namespace corvesta {
namespace {

constexpr int kFieldTextHeight = 18;
constexpr int kFieldTop = 4;
constexpr int kFieldInset = 2;
constexpr int kDotFillInset = 2;
constexpr QSize kDefaultSize(180, 26);
// Pixels at each end of the field image that hold its rounded border.
constexpr int kFieldImageEnd = 6;

bool IsDigitText(const QString &text) {
  return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

} // namespace

// ------------------------------------------------------------ CIPAddrEdit

CIPAddrEdit::CIPAddrEdit(CGdipIpAddrCtl *owner, int index)
    : QLineEdit(owner), m_owner(owner), m_index(index) {
  SetDlgCtrlID(this, index + 1);
  setFrame(false);
  setAlignment(Qt::AlignCenter);
  setMaxLength(kAddressFieldDigits);
  setValidator(owner->m_fieldValidator);
  // The control itself is the tab stop; the fields take the focus from it.
  setFocusPolicy(Qt::ClickFocus); // the font is the control's, inherited
  connect(this, &QLineEdit::textEdited, this, [this] { m_owner->OnFieldEdited(m_index); });
}

void CIPAddrEdit::keyPressEvent(QKeyEvent *event) {
  const int advancedInto = std::exchange(m_owner->m_advancedInto, -1);
  if (event->matches(QKeySequence::Paste)) {
    m_owner->Paste(m_index, QApplication::clipboard()->text());
    event->accept();
    return;
  }
  const Qt::KeyboardModifiers arrowModifiers = event->modifiers() & ~Qt::KeypadModifier;
  const Qt::KeyboardModifiers modifiers = arrowModifiers & ~Qt::ShiftModifier;
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    // The dialog presses its default button.
    event->ignore();
    return;
  case Qt::Key_Escape:
    if (m_owner->CancelOuterDialog()) {
      event->accept();
      return;
    }
    QLineEdit::keyPressEvent(event); // passed on to the dialog
    return;
  case Qt::Key_Left:
    if (arrowModifiers == Qt::NoModifier && cursorPosition() == 0 && !hasSelectedText() &&
        m_index > 0) {
      m_owner->FocusField(m_index - 1, CGdipIpAddrCtl::Entry::CaretAtEnd);
      event->accept();
      return;
    }
    break;
  case Qt::Key_Right:
    if (arrowModifiers == Qt::NoModifier && cursorPosition() == text().size() &&
        !hasSelectedText() && m_index < kAddressFieldCount - 1) {
      m_owner->FocusField(m_index + 1, CGdipIpAddrCtl::Entry::CaretAtStart);
      event->accept();
      return;
    }
    break;
  default:
    break;
  }

  const QString typed = event->text();
  if (typed.size() == 1 && typed.at(0).isPrint() && modifiers == Qt::NoModifier) {
    if (typed == QLatin1String(".") || typed == QLatin1String(" ")) {
      // Right after three digits moved the focus here, the separator the
      // person types next belongs to the field just left.
      if (advancedInto != m_index && m_index < kAddressFieldCount - 1) {
        m_owner->FocusField(m_index + 1, CGdipIpAddrCtl::Entry::SelectAll);
      }
      event->accept();
      return;
    }
    if (!IsDigitText(typed)) {
      m_owner->Refuse();
      event->accept();
      return;
    }
    // A digit typed at the end of a full field goes on into the next one.
    if (text().size() == kAddressFieldDigits && !hasSelectedText() &&
        cursorPosition() == text().size() && m_index < kAddressFieldCount - 1) {
      m_owner->FocusField(m_index + 1, CGdipIpAddrCtl::Entry::SelectAll);
      QCoreApplication::sendEvent(m_owner->Field(m_index + 1), event);
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

bool CIPAddrEdit::focusNextPrevChild(bool next) {
  m_owner->LeaveControl(next);
  return true;
}

void CIPAddrEdit::contextMenuEvent(QContextMenuEvent *event) {
  QMenu *menu = createStandardContextMenu();
  // Paste goes through the control, so a whole address is spread over the
  // fields as with the keyboard.
  if (QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
    disconnect(paste, &QAction::triggered, nullptr, nullptr);
    connect(paste, &QAction::triggered, this,
            [this] { m_owner->Paste(m_index, QApplication::clipboard()->text()); });
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

// --------------------------------------------------------- CGdipIpAddrCtl

CGdipIpAddrCtl::CGdipIpAddrCtl(QWidget *parent)
    : QWidget(parent), m_target(new QtMessageTarget(this, nullptr, this)) {
  InstallSkinAccessibility();
  m_image.LoadFromResource(skin::kIpAddressField);
  setFont(skin::SkinFont(kFieldTextHeight));
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::IBeamCursor);
  // One validator serves the four fields.
  m_fieldValidator = new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kAddressFieldDigits)), this);
  for (int i = 0; i < kAddressFieldCount; ++i) {
    m_fields[static_cast<std::size_t>(i)] = new CIPAddrEdit(this, i);
  }
  resize(kDefaultSize);
  Layout();
}

CGdipIpAddrCtl::~CGdipIpAddrCtl() {
  delete m_target;
}

WindowHandle CGdipIpAddrCtl::Handle() const {
  return m_target->Handle();
}

void CGdipIpAddrCtl::SetAccessibleNames(const QString &name,
                                        const std::function<QString(int)> &fieldName) {
  setAccessibleName(name);
  for (int i = 0; i < kAddressFieldCount; ++i) {
    m_fields[static_cast<std::size_t>(i)]->setAccessibleName(fieldName(i));
  }
}

CIPAddrEdit *CGdipIpAddrCtl::Field(int index) const {
  return index >= 0 && index < kAddressFieldCount ? m_fields[static_cast<std::size_t>(index)]
                                                  : nullptr;
}

QRect CGdipIpAddrCtl::FieldRect(int index) const {
  return m_fieldRects.at(static_cast<std::size_t>(index));
}

QRect CGdipIpAddrCtl::DotRect(int index) const {
  return m_dotRects.at(static_cast<std::size_t>(index));
}

QSize CGdipIpAddrCtl::sizeHint() const {
  return m_image.IsNull() ? kDefaultSize : m_image.Size();
}

void CGdipIpAddrCtl::SetAddress(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  const std::uint8_t bytes[] = {a, b, c, d};
  for (int i = 0; i < kAddressFieldCount; ++i) {
    Field(i)->setText(QString::number(bytes[i]));
  }
}

void CGdipIpAddrCtl::SetAddressValue(std::uint32_t value) {
  SetAddress(static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
             static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value));
}

void CGdipIpAddrCtl::ClearAddress() {
  for (CIPAddrEdit *field : m_fields) {
    field->clear();
  }
}

bool CGdipIpAddrCtl::IsBlank() const {
  for (const CIPAddrEdit *field : m_fields) {
    if (!field->text().isEmpty()) {
      return false;
    }
  }
  return true;
}

AddressFieldTexts CGdipIpAddrCtl::FieldTexts() const {
  AddressFieldTexts texts;
  for (int i = 0; i < kAddressFieldCount; ++i) {
    texts[static_cast<std::size_t>(i)] = FromQString(Field(i)->text());
  }
  return texts;
}

int CGdipIpAddrCtl::GetAddress(AddressKind kind, std::uint8_t &a, std::uint8_t &b, std::uint8_t &c,
                               std::uint8_t &d) {
  const AddressReading reading = ReadAddress(kind, FieldTexts());
  if (!reading.problem.IsNone()) {
    ShowProblem(reading.problem);
  }
  a = reading.bytes[0];
  b = reading.bytes[1];
  c = reading.bytes[2];
  d = reading.bytes[3];
  return reading.count;
}

int CGdipIpAddrCtl::GetAddressValue(AddressKind kind, std::uint32_t &value) {
  AddressBytes bytes{};
  const int count = GetAddress(kind, bytes[0], bytes[1], bytes[2], bytes[3]);
  value = PackAddress(bytes);
  return count;
}

void CGdipIpAddrCtl::ShowProblem(const AddressProblem &problem) {
  ShowMessageBox(Handle(), FormatPattern(Translate(problem.pattern), problem.numbers),
                 Translate(kAddressErrorCaption), MessageBoxButtons::Ok, MessageBoxIcon::Warning);
  FocusField(problem.field, Entry::SelectAll);
}

void CGdipIpAddrCtl::Layout() {
  const int dotWidth = QFontMetrics(font()).horizontalAdvance(QLatin1Char('.'));
  const int fieldWidth = (width() - (kAddressFieldCount - 1) * dotWidth) / kAddressFieldCount;
  const int step = fieldWidth + dotWidth;
  if (m_fields.back() == nullptr) {
    return; // still being made
  }
  for (int i = 0; i < kAddressFieldCount; ++i) {
    // Left and top inclusive, right and bottom exclusive.
    const int left = kFieldInset + i * step;
    const int right = fieldWidth - kFieldInset + i * step;
    QRect &area = m_fieldRects[static_cast<std::size_t>(i)];
    area = QRect(left, kFieldTop, std::max(0, right - left),
                 std::max(0, height() - kFieldInset - kFieldTop));
    Field(i)->setGeometry(area);
  }
  for (int i = 0; i < kAddressFieldCount - 1; ++i) {
    m_dotRects[static_cast<std::size_t>(i)] = QRect(fieldWidth + i * step, 0, dotWidth, height());
  }
  update();
}

void CGdipIpAddrCtl::DrawFieldImage(QPainter &painter) const {
  // The field's ends are drawn as they are and the plain middle is
  // stretched or cut to the control's width, so a control narrower or
  // wider than the image keeps both of its ends.
  const QPixmap &pixmap = m_image.Pixmap();
  const QSize natural = m_image.Size();
  const qreal ratio = pixmap.devicePixelRatio();
  const int end = std::min({kFieldImageEnd, natural.width() / 2, width() / 2});
  const int h = natural.height();
  const auto source = [ratio, h](int x, int w) {
    return QRectF(x * ratio, 0, w * ratio, h * ratio);
  };
  painter.drawPixmap(QRectF(0, 0, end, h), pixmap, source(0, end));
  painter.drawPixmap(QRectF(end, 0, width() - 2 * end, h), pixmap,
                     source(end, natural.width() - 2 * end));
  painter.drawPixmap(QRectF(width() - end, 0, end, h), pixmap, source(natural.width() - end, end));
}

void CGdipIpAddrCtl::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  if (!m_image.IsNull()) {
    DrawFieldImage(painter);
  }
  painter.setFont(font());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
  for (const QRect &dot : m_dotRects) {
    const QRect fill(QPoint(dot.left() - kDotFillInset, dot.top() + kFieldTop),
                     QPoint(dot.right() + kDotFillInset, dot.bottom() - kFieldInset));
    painter.fillRect(
        fill, palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base));
    painter.drawText(dot, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("."));
  }
}

void CGdipIpAddrCtl::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  Layout();
}

void CGdipIpAddrCtl::focusInEvent(QFocusEvent *event) {
  QWidget::focusInEvent(event);
  FocusField(0, Entry::SelectAll);
}

void CGdipIpAddrCtl::changeEvent(QEvent *event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    for (CIPAddrEdit *field : m_fields) {
      if (field != nullptr) {
        field->setFont(font());
      }
    }
    Layout();
  } else if (event->type() == QEvent::EnabledChange) {
    update();
  }
}

void CGdipIpAddrCtl::FocusField(int index, Entry entry) {
  CIPAddrEdit *field = Field(index);
  if (field == nullptr) {
    return;
  }
  field->setFocus(Qt::OtherFocusReason);
  switch (entry) {
  case Entry::SelectAll:
    field->selectAll();
    break;
  case Entry::CaretAtStart:
    field->setCursorPosition(0);
    break;
  case Entry::CaretAtEnd:
    field->setCursorPosition(static_cast<int>(field->text().size()));
    break;
  }
}

bool CGdipIpAddrCtl::CheckField(int index) {
  const std::optional<int> value = FieldNumber(FromQString(Field(index)->text()));
  if (!value) {
    return true;
  }
  const AddressProblem problem = CheckFieldValue(*value, index);
  if (problem.IsNone()) {
    return true;
  }
  Field(index)->clear();
  ShowProblem(problem);
  return false;
}

void CGdipIpAddrCtl::OnFieldEdited(int index) {
  if (Field(index)->text().size() < kAddressFieldDigits) {
    return;
  }
  if (CheckField(index) && index < kAddressFieldCount - 1) {
    FocusField(index + 1, Entry::SelectAll);
    m_advancedInto = index + 1;
  }
}

void CGdipIpAddrCtl::Paste(int index, const QString &text) {
  const std::optional<std::vector<std::u16string>> groups = SplitPastedAddress(FromQString(text));
  if (!groups) {
    Refuse();
    return;
  }
  const int count = static_cast<int>(groups->size());
  if (count == 1) {
    // Into the field at the caret, as typed.
    CIPAddrEdit *field = Field(index);
    QString changed = field->text();
    const int from = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    const int length = field->hasSelectedText() ? field->selectedText().size() : 0;
    changed.replace(from, length, ToQString(groups->front()));
    if (changed.size() > kAddressFieldDigits) {
      Refuse();
      return;
    }
    field->setText(changed);
    field->setCursorPosition(from + static_cast<int>(groups->front().size()));
    OnFieldEdited(index);
    return;
  }
  // A whole address fills all four fields; a part of one fills the fields
  // from this one on.
  const int first = count == kAddressFieldCount ? 0 : index;
  if (first + count > kAddressFieldCount) {
    Refuse();
    return;
  }
  for (int i = 0; i < count; ++i) {
    Field(first + i)->setText(ToQString((*groups)[static_cast<std::size_t>(i)]));
  }
  for (int i = 0; i < count; ++i) {
    if (!CheckField(first + i)) {
      return;
    }
  }
  const int last = first + count - 1;
  if (last < kAddressFieldCount - 1) {
    FocusField(last + 1, Entry::SelectAll);
  } else {
    FocusField(last, Entry::CaretAtEnd);
  }
}

void CGdipIpAddrCtl::Refuse() {
  QApplication::beep();
  Q_EMIT InputRefused();
}

void CGdipIpAddrCtl::LeaveControl(bool forward) {
  // Walk the dialog's tab chain from this control, past its own fields.
  QWidget *w = this;
  do {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    const bool inside = w == this || isAncestorOf(w);
    if (!inside && w->window() == window() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
        w->isEnabled()) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  } while (w != this);
}

bool CGdipIpAddrCtl::CancelOuterDialog() {
  QDialog *page = nullptr;
  for (QWidget *w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto *dialog = qobject_cast<QDialog *>(w)) {
      if (page == nullptr) {
        page = dialog;
      } else {
        dialog->reject();
        return true;
      }
    }
  }
  return false;
}

} // namespace corvesta
