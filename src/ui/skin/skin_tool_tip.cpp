#include "ui/skin/skin_tool_tip.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"

namespace corvesta {
namespace {

constexpr int kFontHeight = 13;
constexpr int kPaddingX = 8;
constexpr int kPaddingY = 4;
constexpr int kCursorGap = 20;
constexpr int kDefaultDelay = 1000;

} // namespace

CSkinToolTip::CSkinToolTip(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_background(skin::SkinColor(skin::kToolTipBackground)),
      m_textColor(skin::SkinColor(skin::kToolTipText)) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFont(skin::SkinFont(kFontHeight));
  m_timer.setSingleShot(true);
  m_timer.setInterval(kDefaultDelay);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    if (m_active && m_tool != nullptr && m_tool->underMouse() && !m_text.isEmpty()) {
      Popup(QCursor::pos() + QPoint(0, kCursorGap));
    }
  });
}

CSkinToolTip::~CSkinToolTip() {
  if (m_tool != nullptr) {
    m_tool->removeEventFilter(this);
  }
}

bool CSkinToolTip::AddTool(QWidget *tool) {
  if (m_tool != nullptr || tool == nullptr) {
    return false;
  }
  m_tool = tool;
  tool->installEventFilter(this);
  connect(tool, &QObject::destroyed, this, [this] { m_tool = nullptr; });
  return true;
}

void CSkinToolTip::SetText(const QString &text) {
  m_text = text;
  if (isVisible()) {
    resize(sizeHint());
    update();
  }
}

void CSkinToolTip::SetDelayTime(int milliseconds) {
  m_timer.setInterval(milliseconds);
}

void CSkinToolTip::Activate(bool active) {
  m_active = active;
  if (!active) {
    Pop();
  }
}

void CSkinToolTip::SetTipBkColor(QColor color) {
  m_background = color;
  update();
}

void CSkinToolTip::SetTipTextColor(QColor color) {
  m_textColor = color;
  update();
}

void CSkinToolTip::Popup(QPoint globalPosition) {
  resize(sizeHint());
  move(globalPosition);
  show();
}

void CSkinToolTip::Pop() {
  m_timer.stop();
  hide();
}

QSize CSkinToolTip::sizeHint() const {
  QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(m_text) + 2 * kPaddingX, metrics.height() + 2 * kPaddingY};
}

bool CSkinToolTip::eventFilter(QObject *watched, QEvent *event) {
  if (watched == m_tool) {
    switch (event->type()) {
    case QEvent::Enter:
      if (m_active && !m_text.isEmpty()) {
        m_timer.start();
      }
      break;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Hide:
    case QEvent::Wheel:
      Pop();
      break;
    default:
      break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CSkinToolTip::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.fillRect(rect(), m_background);
  painter.setPen(skin::SkinColor(skin::kToolTipFrame));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(m_textColor);
  painter.setFont(font());
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

} // namespace corvesta
