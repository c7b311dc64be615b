// The idle logout's activity on the offscreen platform: Qt keys as
// virtual-key codes, and which keys and clicks the application-wide filter
// reports, once per action.

#include <QLineEdit>
#include <QTest>

#include "ui/main/idle_logout.h"
#include "ui/platform/virtual_keys.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_dialog.h"
#include "worker/private_messages.h"

using namespace corvesta;

namespace {

// A skinned window that counts the activity it is sent.
class CountingDialog : public CGdipDialog {
public:
  CountingDialog() {
    resize(300, 200);
    button = new CGdipButton(ButtonKind::PushButton, this);
    button->setGeometry(10, 10, 80, 30);
    field = new QLineEdit(this);
    field->setGeometry(10, 60, 120, 24);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER_ACTIVITY) {
      ++activity;
      return 0;
    }
    return CGdipDialog::WindowProc(message, wParam, lParam);
  }
  int activity = 0;
  CGdipButton *button;
  QLineEdit *field;
};

// How the person acts, sent as the window system would deliver it.
enum class Action {
  KeyRelease,
  KeyPress,
  KeyRepeat,
  LeftClickOnButton,
  LeftPressOnSurface,
  RightClickOnButton,
  MiddleClickOnButton,
  Move,
  Wheel,
};

} // namespace

Q_DECLARE_METATYPE(Action)

class TestIdleActivity : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void virtualKeys_data();
  void virtualKeys();
  void filterReportsActivity_data();
  void filterReportsActivity();
  void anEventPassedToTheParentsCountsOnce();
  void removedFilterReportsNothing();
};

void TestIdleActivity::virtualKeys_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("keypad");
  QTest::addColumn<int>("code");
  QTest::addColumn<bool>("activity");
  // The rows follow the keyboard, with the codes of a US keyboard.
  QTest::newRow("Enter") << int(Qt::Key_Return) << false << 0x0D << true;
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << 0x0D << true;
  QTest::newRow("space") << int(Qt::Key_Space) << false << 0x20 << true;
  QTest::newRow("Tab") << int(Qt::Key_Tab) << false << 0x09 << false;
  QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false << 0x08 << false;
  QTest::newRow("Escape") << int(Qt::Key_Escape) << false << 0x1B << false;
  QTest::newRow("Shift") << int(Qt::Key_Shift) << false << 0x10 << false;
  QTest::newRow("Control") << int(Qt::Key_Control) << false << 0x11 << false;
  QTest::newRow("Alt") << int(Qt::Key_Alt) << false << 0x12 << false;
  QTest::newRow("left arrow") << int(Qt::Key_Left) << false << 0x25 << false;
  QTest::newRow("down arrow") << int(Qt::Key_Down) << false << 0x28 << false;
  QTest::newRow("Page Up") << int(Qt::Key_PageUp) << false << 0x21 << false;
  QTest::newRow("Delete") << int(Qt::Key_Delete) << false << 0x2E << false;
  QTest::newRow("Help, the first that counts") << int(Qt::Key_Help) << false << 0x2F << true;
  QTest::newRow("0") << int(Qt::Key_0) << false << 0x30 << true;
  QTest::newRow("9") << int(Qt::Key_9) << false << 0x39 << true;
  QTest::newRow("! is the key 1") << int(Qt::Key_Exclam) << false << 0x31 << true;
  QTest::newRow(") is the key 0") << int(Qt::Key_ParenRight) << false << 0x30 << true;
  QTest::newRow("A") << int(Qt::Key_A) << false << 0x41 << true;
  QTest::newRow("Z") << int(Qt::Key_Z) << false << 0x5A << true;
  QTest::newRow("keypad 0") << int(Qt::Key_0) << true << 0x60 << true;
  QTest::newRow("keypad 9") << int(Qt::Key_9) << true << 0x69 << true;
  QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << true << 0x6A << true;
  QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 0x6B << true;
  QTest::newRow("keypad -") << int(Qt::Key_Minus) << true << 0x6D << true;
  QTest::newRow("keypad .") << int(Qt::Key_Period) << true << 0x6E << true;
  QTest::newRow("keypad /") << int(Qt::Key_Slash) << true << 0x6F << true;
  QTest::newRow("F1") << int(Qt::Key_F1) << false << 0x70 << true;
  QTest::newRow("F24") << int(Qt::Key_F24) << false << 0x87 << true;
  QTest::newRow(";") << int(Qt::Key_Semicolon) << false << 0xBA << true;
  QTest::newRow("=") << int(Qt::Key_Equal) << false << 0xBB << true;
  QTest::newRow(",") << int(Qt::Key_Comma) << false << 0xBC << true;
  QTest::newRow("-") << int(Qt::Key_Minus) << false << 0xBD << true;
  QTest::newRow(".") << int(Qt::Key_Period) << false << 0xBE << true;
  QTest::newRow("/") << int(Qt::Key_Slash) << false << 0xBF << true;
  QTest::newRow("?") << int(Qt::Key_Question) << false << 0xBF << true;
  QTest::newRow("`") << int(Qt::Key_QuoteLeft) << false << 0xC0 << true;
  QTest::newRow("[") << int(Qt::Key_BracketLeft) << false << 0xDB << true;
  QTest::newRow("\\") << int(Qt::Key_Backslash) << false << 0xDC << true;
  QTest::newRow("]") << int(Qt::Key_BracketRight) << false << 0xDD << true;
  QTest::newRow("'") << int(Qt::Key_Apostrophe) << false << 0xDE << true;
  QTest::newRow("a German umlaut") << int(Qt::Key_Adiaeresis) << false << 0xE2 << true;
  QTest::newRow("a Cyrillic letter") << 0x0436 << false << 0xE2 << true;
  QTest::newRow("unknown key") << int(Qt::Key_unknown) << false << 0 << false;
  QTest::newRow("volume up") << int(Qt::Key_VolumeUp) << false << 0 << false;
}

void TestIdleActivity::virtualKeys() {
  QFETCH(int, key);
  QFETCH(bool, keypad);
  QFETCH(int, code);
  QFETCH(bool, activity);
  QCOMPARE(VirtualKeyOf(key, keypad), code);
  QCOMPARE(IsActivityKey(code), activity);
}

void TestIdleActivity::filterReportsActivity_data() {
  QTest::addColumn<Action>("action");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("expected");
  QTest::newRow("letter released") << Action::KeyRelease << int(Qt::Key_K) << 1;
  QTest::newRow("letter pressed") << Action::KeyPress << int(Qt::Key_K) << 0;
  QTest::newRow("letter repeating") << Action::KeyRepeat << int(Qt::Key_K) << 1;
  QTest::newRow("Enter released") << Action::KeyRelease << int(Qt::Key_Return) << 1;
  QTest::newRow("space released") << Action::KeyRelease << int(Qt::Key_Space) << 1;
  QTest::newRow("F5 released") << Action::KeyRelease << int(Qt::Key_F5) << 1;
  QTest::newRow("Tab released") << Action::KeyRelease << int(Qt::Key_Tab) << 0;
  QTest::newRow("Escape released") << Action::KeyRelease << int(Qt::Key_Escape) << 0;
  QTest::newRow("arrow released") << Action::KeyRelease << int(Qt::Key_Up) << 0;
  QTest::newRow("Shift released") << Action::KeyRelease << int(Qt::Key_Shift) << 0;
  QTest::newRow("left click on a button") << Action::LeftClickOnButton << 0 << 1;
  QTest::newRow("left press on the window's surface") << Action::LeftPressOnSurface << 0 << 1;
  QTest::newRow("right click") << Action::RightClickOnButton << 0 << 0;
  QTest::newRow("middle click") << Action::MiddleClickOnButton << 0 << 0;
  QTest::newRow("motion") << Action::Move << 0 << 0;
  QTest::newRow("wheel") << Action::Wheel << 0 << 0;
}

void TestIdleActivity::filterReportsActivity() {
  QFETCH(Action, action);
  QFETCH(int, key);
  QFETCH(int, expected);
  CountingDialog dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  dialog.field->setFocus();
  ActivityFilter filter(&dialog);
  filter.Install();
  QVERIFY(filter.Installed());

  const auto k = static_cast<Qt::Key>(key);
  switch (action) {
  case Action::KeyRelease:
    QTest::keyRelease(dialog.field, k);
    break;
  case Action::KeyPress:
    QTest::keyPress(dialog.field, k);
    break;
  case Action::KeyRepeat: {
    QKeyEvent repeat(QEvent::KeyPress, k, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(dialog.field, &repeat);
    QKeyEvent between(QEvent::KeyRelease, k, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(dialog.field, &between);
    break;
  }
  case Action::LeftClickOnButton:
    QTest::mouseClick(dialog.button, Qt::LeftButton);
    break;
  case Action::LeftPressOnSurface:
    QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(250, 150));
    break;
  case Action::RightClickOnButton:
    QTest::mouseClick(dialog.button, Qt::RightButton);
    break;
  case Action::MiddleClickOnButton:
    QTest::mouseClick(dialog.button, Qt::MiddleButton);
    break;
  case Action::Move:
    QTest::mouseMove(dialog.button, QPoint(5, 5));
    QTest::mouseMove(&dialog, QPoint(200, 120));
    break;
  case Action::Wheel: {
    QWheelEvent wheel(QPointF(5, 5), dialog.button->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(dialog.button, &wheel);
    break;
  }
  }
  QCOMPARE(dialog.activity, expected);
}

void TestIdleActivity::anEventPassedToTheParentsCountsOnce() {
  CountingDialog dialog;
  auto *inner = new QWidget(&dialog);
  inner->setGeometry(150, 10, 140, 100);
  auto *deepest = new QWidget(inner);
  deepest->setGeometry(10, 10, 50, 50);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  ActivityFilter filter(&dialog);
  filter.Install();

  // Plain widgets ignore the key and the click: both travel up to the
  // dialog, each seen by the filter on every widget on the way.
  QTest::keyRelease(deepest, Qt::Key_M);
  QCOMPARE(dialog.activity, 1);
  QTest::mouseRelease(deepest, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(dialog.activity, 2);
  // The same keys again are new actions.
  QTest::keyRelease(deepest, Qt::Key_M);
  QTest::keyRelease(deepest, Qt::Key_M);
  QCOMPARE(dialog.activity, 4);
}

void TestIdleActivity::removedFilterReportsNothing() {
  CountingDialog dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  ActivityFilter filter(&dialog);
  filter.Install();
  filter.Install(); // installing again does not count twice
  QTest::mouseClick(dialog.button, Qt::LeftButton);
  QCOMPARE(dialog.activity, 1);
  filter.Remove();
  QVERIFY(!filter.Installed());
  QTest::mouseClick(dialog.button, Qt::LeftButton);
  QTest::keyRelease(dialog.field, Qt::Key_A);
  QCOMPARE(dialog.activity, 1);
}

QTEST_MAIN(TestIdleActivity)
#include "tst_idle_activity.moc"
