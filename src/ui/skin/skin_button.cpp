#include "ui/skin/skin_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "ui/platform/qt_message_target.h"
#include "ui/skin/dialog_group.h"
#include "ui/skin/skin_accessibility.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_tool_tip.h"
#include "worker/private_messages.h"

namespace corvesta {
namespace {

constexpr int kToolTipDelay = 1000;
constexpr qreal kFocusFrameRadius = 3.0;

// Orders the moments radio-style buttons become checked. UI thread only.
LPARAM NextCheckSequence() {
  static LPARAM sequence = 0;
  return ++sequence;
}

} // namespace

CSkinButton::CSkinButton(QWidget *parent)
    : QAbstractButton(parent),
      m_target(new QtMessageTarget(
          this, [this](UINT m, WPARAM w, LPARAM l) { return WindowProc(m, w, l); }, this)) {
  InstallSkinAccessibility();
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_Hover);
  setAutoFillBackground(false);
}

CSkinButton::~CSkinButton() {
  delete m_target;
}

WindowHandle CSkinButton::Handle() const {
  return m_target->Handle();
}

void CSkinButton::SetDrawText(bool draw) {
  m_drawText = draw;
  update();
}

void CSkinButton::SetToolTipText(const QString &text, bool activate) {
  if (text.isEmpty()) {
    return;
  }
  if (m_toolTip == nullptr) {
    m_toolTip = new CSkinToolTip(this);
    m_toolTip->SetTipTextColor(skin::SkinColor(skin::kToolTipText));
  }
  if (m_toolTip->Tool() == nullptr) {
    m_toolTip->AddTool(this);
  }
  m_toolTip->SetText(text);
  if (accessibleName().isEmpty() && QAbstractButton::text().isEmpty()) {
    setAccessibleName(text); // what an image-only button is called
  }
  m_toolTip->SetDelayTime(kToolTipDelay);
  m_toolTip->Activate(activate);
}

std::vector<WindowHandle> CSkinButton::UncheckGroup() {
  std::vector<WindowHandle> posted;
  for (QWidget *member : OtherGroupMembers(this)) {
    if (auto *button = qobject_cast<CSkinButton *>(member)) {
      // lParam carries when this button was checked, so that a message still
      // on its way cannot clear a button checked after it.
      if (PostMessage(button->Handle(), WM_SKIN_UNCHECK, 0, m_checkedAt)) {
        posted.push_back(button->Handle());
      }
    }
  }
  return posted;
}

LRESULT CSkinButton::WindowProc(UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_SKIN_UNCHECK && isCheckable() && isChecked()) {
    // 0: from anywhere else, always obeyed.
    const bool stale = lParam != 0 && lParam < m_checkedAt;
    if (!stale) {
      setChecked(false);
    }
  }
  return 0;
}

void CSkinButton::SetRadioStyle() {
  m_radioStyle = true;
  connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
    if (checked) {
      m_checkedAt = NextCheckSequence();
      UncheckGroup();
    }
  });
}

void CSkinButton::Choose() {
  if (!isChecked()) {
    setChecked(true); // the toggled handler tells the group
    return;
  }
  m_checkedAt = NextCheckSequence();
  UncheckGroup();
}

void CSkinButton::DrawFocusFrame(QPainter &painter, const QRect &area) const {
  if (!HasKeyboardFocus()) {
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QColor accent = skin::SkinColor(skin::kTextAccent);
  accent.setAlpha(200);
  painter.setPen(QPen(accent, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), kFocusFrameRadius,
                          kFocusFrameRadius);
  painter.restore();
}

void CSkinButton::enterEvent(QEnterEvent *event) {
  m_hovered = true;
  update();
  QAbstractButton::enterEvent(event);
}

void CSkinButton::leaveEvent(QEvent *event) {
  m_hovered = false;
  update();
  QAbstractButton::leaveEvent(event);
}

namespace {

// The focus leaves or comes back with its window (a dialog opened over it
// and closed, a menu): the way it got there still holds.
bool WithItsWindow(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

void CSkinButton::focusInEvent(QFocusEvent *event) {
  if (!WithItsWindow(event->reason())) {
    m_keyboardFocus = event->reason() == Qt::TabFocusReason ||
                      event->reason() == Qt::BacktabFocusReason ||
                      event->reason() == Qt::ShortcutFocusReason;
  }
  QAbstractButton::focusInEvent(event);
  update();
}

void CSkinButton::focusOutEvent(QFocusEvent *event) {
  if (!WithItsWindow(event->reason())) {
    m_keyboardFocus = false;
  }
  QAbstractButton::focusOutEvent(event);
  update();
}

void CSkinButton::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Space:
  case Qt::Key_Select:
    m_keyboardFocus = true;
    break;
  case Qt::Key_Up:
  case Qt::Key_Left:
  case Qt::Key_Down:
  case Qt::Key_Right:
    if (m_radioStyle) {
      MoveWithinGroup(event->key() == Qt::Key_Down || event->key() == Qt::Key_Right);
    }
    // Other buttons stay where they are: an arrow never carries the focus
    // to a neighbour that a following Enter would press.
    event->accept();
    return;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (isCheckable()) {
      // Space ticks and chooses; Enter is the dialog's, which presses its
      // default button.
      event->ignore();
      return;
    }
    m_keyboardFocus = true;
    if (!event->isAutoRepeat()) {
      animateClick();
    }
    event->accept();
    return;
  default:
    break;
  }
  QAbstractButton::keyPressEvent(event);
}

bool CSkinButton::MoveWithinGroup(bool forward) {
  QList<QWidget *> members = OtherGroupMembers(this);
  if (!forward) {
    std::reverse(members.begin(), members.end());
  }
  for (QWidget *member : members) {
    auto *button = qobject_cast<CSkinButton *>(member);
    if (button != nullptr && button->m_radioStyle && button->isEnabled() && button->isVisible()) {
      button->setFocus(Qt::ShortcutFocusReason);
      button->click();
      return true;
    }
  }
  return false;
}

void CSkinButton::keyReleaseEvent(QKeyEvent *event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !isCheckable()) {
    event->accept();
    return;
  }
  QAbstractButton::keyReleaseEvent(event);
}

void CSkinButton::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange) {
    if (!isEnabled()) {
      m_hovered = false;
    }
    update();
  }
  QAbstractButton::changeEvent(event);
}

} // namespace corvesta
