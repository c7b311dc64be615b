#pragma once
// A label drawn straight onto the dialog's background: white "Decker" text,
// left and top aligned and word-wrapped unless told otherwise. Assistive
// technology reads it as static text named by its text, or by an accessible
// name of its own; a name set to the text follows the text when it changes.

#include <QColor>
#include <QWidget>
#include <vector>

#include "ui/skin/text_room.h"

namespace corvesta {

class CTransStatic : public QWidget {
  Q_OBJECT
public:
  explicit CTransStatic(QWidget *parent = nullptr);
  CTransStatic(const QString &text, QWidget *parent);

  void SetText(const QString &text);
  QString Text() const { return m_text; }
  // Qt alignment and text flags (Qt::TextWordWrap, Qt::TextSingleLine ...).
  void SetFormat(int flags);
  int Format() const { return m_flags; }
  void SetTextHeight(int height);
  int TextHeight() const { return m_height; }
  void SetTextWeight(int weight);
  int TextWeight() const { return m_weight; }
  void SetTextColor(QColor color);
  QColor TextColor() const { return m_color; }

  QSize sizeHint() const override;
  // The text's room: the whole label.
  std::vector<skin::TextRoom> TextRooms() const;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  void UpdateFont();

  QString m_text;
  int m_flags;
  int m_height;
  int m_weight;
  QColor m_color;
};

} // namespace corvesta
