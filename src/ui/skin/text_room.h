#pragma once
// Where a skinned control draws a text: the text, its font, the rectangle it
// has and Qt's alignment and text flags. A text that fits is drawn as it is;
// one that does not is shortened, never cut: a word-wrapped text keeps the
// lines its room holds and ends the last in "…", a one-line text ends in "…".
// The controls paint from their rooms, and the text-fit check of the window
// galleries measures the same rooms.

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;
class QPaintDevice;
class QWidget;

namespace corvesta::skin {

struct TextRoom {
  QString text;
  QFont font;
  QRect room; // in the control's coordinates
  int flags = 0;
  // The control shortens this text by design (a name the box chose, a list
  // title); elsewhere a shortened text means the layout gives too little room.
  bool shortens = false;
};

// Whether the text shows whole in its room, measured at `device` (the
// control: its pixel ratio) or the screen's when null.
bool TextFits(const TextRoom &room, const QPaintDevice *device = nullptr);

// The text as drawn in its room: itself when it fits, else shortened.
QString FittedText(const TextRoom &room, const QPaintDevice *device = nullptr);

// Draws the fitted text in its room with the painter's pen.
void DrawFittedText(QPainter &painter, const TextRoom &room);

// The rooms of a skinned text control's texts, in the state that leaves the
// least room (hovered, bold); none for other widgets or texts not drawn.
std::vector<TextRoom> TextRoomsOf(const QWidget &widget);

} // namespace corvesta::skin
