#pragma once
// Helpers for the tests of the main window and its dialogs: a language in
// use for one test, and answering a modal dialog once it is shown.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "i18n/current_language.h"

namespace corvesta::test {

// Makes the language of `index` (0 English ... 4 Russian) current for the
// object's lifetime; -1 for no language object.
class ScopedLanguage {
public:
  explicit ScopedLanguage(int index) {
    if (index >= 0) {
      SelectLanguage(index);
    } else {
      ClearCurrentLanguage();
    }
  }
  ~ScopedLanguage() { ClearCurrentLanguage(); }
  ScopedLanguage(const ScopedLanguage &) = delete;
  ScopedLanguage &operator=(const ScopedLanguage &) = delete;
};

// Calls `answer` with the modal dialog of class `Dialog` once it is shown
// (polled from the event loop, bounded): the test fills it and ends it. A
// dialog that never shows is left alone; the test notices by what follows.
template <class Dialog>
void WhenModalShown(std::function<void(Dialog *)> answer, int limitMs = 5000) {
  auto *timer = new QTimer(qApp);
  auto *clock = new QElapsedTimer();
  clock->start();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, clock, answer, limitMs] {
    auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
    if (dialog != nullptr && dialog->isVisible()) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      answer(dialog);
    } else if (clock->elapsed() > limitMs) {
      timer->stop();
      timer->deleteLater();
      delete clock;
    }
  });
  timer->start();
}

} // namespace corvesta::test
