#include "ui/skin/trans_static.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QPainter>

#include "ui/skin/skin_accessibility.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"

namespace corvesta {
namespace {

constexpr int kDefaultHeight = 17;
constexpr int kDefaultFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

CTransStatic::CTransStatic(QWidget *parent)
    : QWidget(parent), m_flags(kDefaultFlags), m_height(kDefaultHeight),
      m_weight(skin::kWeightRegular), m_color(skin::SkinColor(skin::kTextNormal)) {
  InstallSkinAccessibility();
  setAttribute(Qt::WA_TransparentForMouseEvents);
  UpdateFont();
}

CTransStatic::CTransStatic(const QString &text, QWidget *parent) : CTransStatic(parent) {
  m_text = text;
}

void CTransStatic::SetText(const QString &text) {
  if (text != m_text) {
    // A name that followed the text follows it on; a name of its own stays.
    if (!accessibleName().isEmpty() && accessibleName() == m_text) {
      setAccessibleName(text);
    }
    m_text = text;
    update();
    if (QAccessible::isActive()) {
      QAccessibleEvent event(this, QAccessible::NameChanged);
      QAccessible::updateAccessibility(&event);
    }
  }
}

void CTransStatic::SetFormat(int flags) {
  m_flags = flags;
  update();
}

void CTransStatic::SetTextHeight(int height) {
  m_height = height;
  UpdateFont();
}

void CTransStatic::SetTextWeight(int weight) {
  m_weight = weight;
  UpdateFont();
}

void CTransStatic::SetTextColor(QColor color) {
  m_color = color;
  update();
}

void CTransStatic::UpdateFont() {
  setFont(skin::SkinFont(m_height, m_weight));
  update();
}

QSize CTransStatic::sizeHint() const {
  QFontMetrics metrics(font());
  return metrics.size(m_flags & ~Qt::TextWordWrap, m_text);
}

std::vector<skin::TextRoom> CTransStatic::TextRooms() const {
  return {{m_text, font(), rect(), m_flags}};
}

void CTransStatic::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setPen(isEnabled() ? m_color : skin::SkinColor(skin::kTextDisabled));
  skin::DrawFittedText(painter, {m_text, font(), rect(), m_flags});
}

} // namespace corvesta
