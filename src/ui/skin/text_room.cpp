#include "ui/skin/text_room.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>

#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_header_ctrl.h"
#include "ui/skin/skin_button.h"
#include "ui/skin/trans_static.h"

namespace corvesta::skin {

namespace {

QFontMetrics MetricsOf(const TextRoom &room, const QPaintDevice *device) {
  return device != nullptr ? QFontMetrics(room.font, device) : QFontMetrics(room.font);
}

// The lines of a word-wrapped text as its room's width breaks them.
QStringList WrappedLines(const TextRoom &room, const QPaintDevice *device) {
  QStringList lines;
  for (const QString &paragraph : room.text.split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, room.font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(room.room.width());
      lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (paragraph.isEmpty()) {
      lines << QString();
    }
  }
  return lines;
}

} // namespace

bool TextFits(const TextRoom &room, const QPaintDevice *device) {
  if (room.text.isEmpty()) {
    return true;
  }
  const QFontMetrics metrics = MetricsOf(room, device);
  const QRect needed = metrics.boundingRect(room.room, room.flags, room.text);
  return needed.width() <= room.room.width() && needed.height() <= room.room.height();
}

QString FittedText(const TextRoom &room, const QPaintDevice *device) {
  if (TextFits(room, device)) {
    return room.text;
  }
  const QFontMetrics metrics = MetricsOf(room, device);
  const int width = room.room.width();
  if ((room.flags & Qt::TextWordWrap) == 0 || (room.flags & Qt::TextSingleLine) != 0) {
    QString oneLine = room.text;
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return metrics.elidedText(oneLine, Qt::ElideRight, width);
  }
  // As many lines as the room holds (one at least); the last takes the rest
  // and ends in an ellipsis. Lines too wide for a word are shortened too.
  const QStringList lines = WrappedLines(room, device);
  const int fitting = std::max(1, room.room.height() / std::max(1, metrics.lineSpacing()));
  QStringList kept;
  for (int i = 0; i < lines.size() && i < fitting; ++i) {
    if (i == fitting - 1 && i + 1 < lines.size()) {
      const QString rest = lines.mid(i).join(QLatin1Char(' '));
      kept << metrics.elidedText(rest, Qt::ElideRight, width);
    } else {
      kept << metrics.elidedText(lines[i], Qt::ElideRight, width);
    }
  }
  return kept.join(QLatin1Char('\n'));
}

void DrawFittedText(QPainter &painter, const TextRoom &room) {
  const QFont previous = painter.font();
  painter.setFont(room.font);
  const QString fitted = FittedText(room, painter.device());
  int flags = room.flags;
  if (fitted != room.text) {
    // The shortened lines are laid out already: no further wrapping.
    flags &= ~(Qt::TextWordWrap | Qt::TextSingleLine);
  }
  painter.drawText(room.room, flags, fitted);
  painter.setFont(previous);
}

std::vector<TextRoom> TextRoomsOf(const QWidget &widget) {
  std::vector<TextRoom> rooms;
  if (const auto *button = qobject_cast<const CSkinButton *>(&widget)) {
    rooms = button->TextRooms();
  } else if (const auto *label = qobject_cast<const CTransStatic *>(&widget)) {
    rooms = label->TextRooms();
  } else if (const auto *header = qobject_cast<const CGdipHeaderCtrl *>(&widget)) {
    rooms = header->TextRooms();
  } else if (const auto *combo = qobject_cast<const CGdipComboBox *>(&widget)) {
    rooms = combo->TextRooms();
  }
  std::erase_if(rooms, [](const TextRoom &room) { return room.text.isEmpty(); });
  return rooms;
}

} // namespace corvesta::skin
