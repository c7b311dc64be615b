#pragma once
// The skin's tool tip: a small box in the tool tip's colours with a light
// grey frame and one centred line of text. It watches its tool widget and
// shows after the delay once the mouse rests on it, and hides when the mouse
// leaves or presses.

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace corvesta {

class CSkinToolTip : public QWidget {
  Q_OBJECT
public:
  // The tool tip is a top-level window; `owner` only ties its lifetime.
  explicit CSkinToolTip(QWidget *owner);
  ~CSkinToolTip() override;

  // Watches `tool`; one tool per tip. False when a tool is already set.
  bool AddTool(QWidget *tool);
  QWidget *Tool() const { return m_tool; }

  void SetText(const QString &text);
  QString Text() const { return m_text; }
  void SetDelayTime(int milliseconds);
  int DelayTime() const { return m_timer.interval(); }
  void Activate(bool active);
  bool IsActive() const { return m_active; }

  void SetTipBkColor(QColor color);
  void SetTipTextColor(QColor color);
  QColor TipBkColor() const { return m_background; }
  QColor TipTextColor() const { return m_textColor; }

  // Shows the tip now with its top-left corner at a screen position.
  void Popup(QPoint globalPosition);
  void Pop();
  QSize sizeHint() const override;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

private:
  QWidget *m_tool = nullptr;
  QString m_text;
  QColor m_background;
  QColor m_textColor;
  QTimer m_timer;
  bool m_active = true;
};

} // namespace corvesta
