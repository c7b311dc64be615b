#include "ui/main/search_status.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "i18n/own_texts.h"
#include "nas/box_protocol.h"
#include "ui/main/main_ids.h"
#include "ui/main/ui_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/trans_static.h"

namespace corvesta {

namespace {

constexpr int kMessageHeight = 20;
constexpr int kHintHeight = 15;
constexpr int kLineHeight = 28;
// The three dots of the pulse, left of the message.
constexpr int kDots = 3;
constexpr int kDotSize = 8;
constexpr int kDotPitch = 13;
constexpr int kPulseWidth = kDots * kDotPitch + 6;
constexpr int kPulseStepMs = 220;
constexpr int kDimAlpha = 70;
constexpr int kHintGap = 6;
const QColor kHintColor(190, 190, 190);

} // namespace

CSearchStatus::CSearchStatus(QWidget *parent)
    : QWidget(parent), m_message(new CTransStatic(this)), m_hint(new CTransStatic(this)),
      m_pulse(new QTimer(this)) {
  SetDlgCtrlID(this, main_ids::kSearchStatus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  SetDlgCtrlID(m_message, main_ids::kSearchMessage);
  m_message->SetTextHeight(kMessageHeight);
  m_message->SetTextWeight(skin::kWeightBold);
  m_message->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  SetDlgCtrlID(m_hint, main_ids::kSearchHint);
  m_hint->SetTextHeight(kHintHeight);
  m_hint->SetTextColor(kHintColor);
  m_hint->SetFormat(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  m_pulse->setInterval(kPulseStepMs);
  connect(m_pulse, &QTimer::timeout, this, [this] {
    m_step = (m_step + 1) % kDots;
    update(0, 0, kPulseWidth, kLineHeight);
  });
  SetMode(Mode::Idle);
}

void CSearchStatus::ShowSearching() {
  SetMode(Mode::Searching);
}

void CSearchStatus::ShowNoBox() {
  SetMode(Mode::NoBox);
}

void CSearchStatus::ShowIdle() {
  SetMode(Mode::Idle);
}

bool CSearchStatus::Pulsing() const {
  return m_pulse->isActive();
}

void CSearchStatus::SetMode(Mode mode) {
  m_mode = mode;
  switch (mode) {
  case Mode::Searching:
    m_message->SetText(UiText(kSearchingText));
    m_hint->SetText(QString());
    break;
  case Mode::NoBox:
    m_message->SetText(UiText(kNoBoxAnsweredText));
    m_hint->SetText(UiText(kNoBoxHintText, QString::number(box::kUdpPort), UiText(u"Refresh")));
    break;
  case Mode::Idle:
    m_message->SetText(QString());
    m_hint->SetText(QString());
    break;
  }
  m_message->setAccessibleName(m_message->Text());
  m_hint->setAccessibleName(m_hint->Text());
  m_message->setVisible(mode != Mode::Idle);
  m_hint->setVisible(mode == Mode::NoBox);
  setVisible(mode != Mode::Idle);
  m_step = 0;
  UpdatePulse();
  update();
}

void CSearchStatus::UpdatePulse() {
  if (m_mode == Mode::Searching && isVisible()) {
    m_pulse->start();
  } else {
    m_pulse->stop();
  }
}

void CSearchStatus::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  // The message starts where the pulse ends in every mode, so that it stays
  // in place when the search ends; the hint goes under it.
  const int textWidth = std::max(0, width() - kPulseWidth);
  m_message->setGeometry(kPulseWidth, 0, textWidth, kLineHeight);
  m_hint->setGeometry(kPulseWidth, kLineHeight + kHintGap, textWidth,
                      std::max(0, height() - kLineHeight - kHintGap));
}

void CSearchStatus::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  UpdatePulse();
}

void CSearchStatus::hideEvent(QHideEvent *event) {
  QWidget::hideEvent(event);
  UpdatePulse();
}

void CSearchStatus::paintEvent(QPaintEvent *) {
  if (m_mode != Mode::Searching) {
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  QColor accent = skin::SkinColor(skin::kTextAccent);
  const int top = (kLineHeight - kDotSize) / 2;
  for (int i = 0; i < kDots; ++i) {
    accent.setAlpha(i == m_step ? 255 : kDimAlpha);
    painter.setBrush(accent);
    painter.drawEllipse(QRectF(i * kDotPitch, top, kDotSize, kDotSize));
  }
}

} // namespace corvesta
