#include "ui/skin/process_button.h"

#include <QPainter>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"

namespace corvesta {
namespace {

constexpr int kTextHeight = 13;
constexpr int kTextTop = 22;
constexpr int kNarrowWidth = 15;

} // namespace

CProcessButton::CProcessButton(QWidget *parent) : CSkinButton(parent) {
  setFont(skin::SkinFont(kTextHeight));
}

bool CProcessButton::LoadImages(int done, int current, int pending) {
  m_imagesGiven = true;
  const bool a = m_done.LoadFromResource(done);
  const bool b = m_current.LoadFromResource(current);
  const bool c = m_pending.LoadFromResource(pending);
  m_imagesLoaded = a && b && c;
  update();
  return m_imagesLoaded;
}

void CProcessButton::SetState(StepState state) {
  m_state = state;
  update();
}

void CProcessButton::SetNarrow(bool narrow) {
  m_narrow = narrow;
  update();
}

std::vector<skin::TextRoom> CProcessButton::TextRooms() const {
  if (!DrawsText()) {
    return {};
  }
  return {{text(), font(), QRect(0, kTextTop, width(), std::max(0, height() - kTextTop)),
           Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine}};
}

void CProcessButton::paintEvent(QPaintEvent *) {
  if (!m_imagesGiven) {
    LoadImages(skin::kStepDone, skin::kStepCurrent, skin::kStepPending);
  }
  QPainter painter(this);
  if (m_imagesLoaded) {
    const CGdiPlusBitmap &image = m_state == StepState::Current ? m_current
                                  : m_state == StepState::Done  ? m_done
                                                                : m_pending;
    const int drawnWidth = std::min(m_narrow ? kNarrowWidth : image.Width(), width());
    const qreal ratio = image.Pixmap().devicePixelRatio();
    const QRect source(0, 0, static_cast<int>(drawnWidth * ratio),
                       static_cast<int>(image.Height() * ratio));
    painter.drawPixmap(QRect(0, 0, drawnWidth, image.Height()), image.Pixmap(), source);
  }
  QRgb color = skin::kTextDisabled;
  if (isEnabled() && m_state == StepState::Current) {
    color = skin::kTextAccent;
  } else if (isEnabled() && m_state == StepState::Done) {
    color = skin::kTextNormal;
  }
  const QRect textArea(0, kTextTop, width(), std::max(0, height() - kTextTop));
  if (DrawsText()) {
    painter.setPen(skin::SkinColor(color));
    skin::DrawFittedText(painter, TextRooms().front());
  }
  QFontMetrics metrics(font());
  QRect textBox = metrics.boundingRect(textArea, Qt::AlignLeft | Qt::AlignTop, text());
  DrawFocusFrame(painter, textBox.adjusted(-2, -1, 2, 1).intersected(rect()));
}

} // namespace corvesta
