#pragma once
// The main window's word on its search, where the box's panel goes while
// nobody is logged in: "Searching for NAS..." beside three dots pulsing in
// the accent colour while a discovery runs, and, when one ended with no box,
// that no box answered with what to check next. Each text is static text for
// assistive technology, named by what it says. The pulse is painted from a
// timer of the window's thread and never waits for the search.

#include <QWidget>

class QTimer;

namespace corvesta {

class CTransStatic;

class CSearchStatus : public QWidget {
  Q_OBJECT
public:
  enum class Mode { Idle, Searching, NoBox };

  explicit CSearchStatus(QWidget *parent);

  // The search's word shown, the pulse running.
  void ShowSearching();
  // No box answered: the word and the hint shown, the pulse stopped.
  void ShowNoBox();
  // Nothing shown.
  void ShowIdle();

  Mode CurrentMode() const { return m_mode; }
  bool Pulsing() const;
  // The pulse's step, 0 to 2: the dot drawn brightest.
  int PulseStep() const { return m_step; }
  CTransStatic *Message() const { return m_message; }
  CTransStatic *Hint() const { return m_hint; }

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

private:
  void SetMode(Mode mode);
  void UpdatePulse();

  CTransStatic *m_message;
  CTransStatic *m_hint;
  QTimer *m_pulse;
  Mode m_mode = Mode::Idle;
  int m_step = 0;
};

} // namespace corvesta
