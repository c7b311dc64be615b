// The main window from the keyboard alone, against a simulated box in the
// test's network namespace: Enter in the box list connects, the focus ring
// outlasts the login dialog, arrows never carry the focus along the title
// strip, and a share opens from the folder grid with Enter. A screen reader
// hears the box list as "Select NAS" with the chosen box as its value.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/ui_text.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_combo_box.h"

using namespace corvesta;
using namespace corvesta::main_ids;
using nlohmann::json;

namespace {

constexpr double kTimeScale = 0.2;
constexpr int kWithinMs = 20000;

int FocusedId() {
  return GetDlgCtrlID(QApplication::focusWidget());
}

// Answers the login dialog from the keyboard: it opens with the user name
// "admin" filled in and the cursor in the password field, where the
// password is typed and Enter pressed.
void AnswerLoginByKeys(const QString &password) {
  test::WhenModalShown<CLoginDialog>([password](CLoginDialog *dialog) {
    // The dialog's own focus: where typing goes once the desktop activates it.
    if (dialog->focusWidget() != dialog->PasswordField() ||
        dialog->UserField()->text() != QStringLiteral("admin")) {
      qWarning("the login dialog did not open ready for the password: focus %d, user %s",
               GetDlgCtrlID(dialog->focusWidget()), qPrintable(dialog->UserField()->text()));
      dialog->reject(); // the test sees no login and fails
      return;
    }
    QTest::keyClicks(dialog->PasswordField(), password);
    QTest::keyClick(dialog->PasswordField(), Qt::Key_Return);
  });
}

} // namespace

class TestMainWindowKeyboard : public QObject, test::SimWindowFixture {
  Q_OBJECT
private Q_SLOTS:
  void init() {
    SetUp(kTimeScale);
    settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  }
  void cleanup() { TearDown(); }

  void enterInTheBoxListConnectsAndEscapeKeepsTheRing();
  void arrowsOnTheTitleStripStayPut();
  void aShareOpensFromTheFolderGridWithEnter();
  void theBoxListIsNamedByItsHeading_data();
  void theBoxListIsNamedByItsHeading();
};

void TestMainWindowKeyboard::enterInTheBoxListConnectsAndEscapeKeepsTheRing() {
  QVERIFY2(m_sim->Start(test::NasSimProcess::MakeState({test::SimBox("ALPHA", 2, "secret")})),
           m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kWithinMs);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  auto *list = window.GetDlgItemAs<CGdipComboBox>(kBoxList);
  list->setFocus(Qt::TabFocusReason);
  QCOMPARE(list->currentIndex(), 0);

  // Tab to Connect, Enter opens the login dialog, Escape closes it: Connect
  // keeps the focus and its ring.
  QTest::keyClick(list, Qt::Key_Tab);
  QCOMPARE(FocusedId(), kConnect);
  auto *connectButton = window.GetDlgItemAs<CGdipButton>(kConnect);
  QVERIFY(connectButton->HasKeyboardFocus());
  bool escaped = false;
  test::WhenModalShown<CLoginDialog>([&escaped](CLoginDialog *dialog) {
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
    escaped = !dialog->isVisible();
  });
  QTest::keyClick(connectButton, Qt::Key_Return); // pressed once its click has shown
  QTRY_VERIFY(escaped);
  QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
  window.activateWindow(); // as the desktop gives it back after the dialog
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QTRY_COMPARE(FocusedId(), kConnect);
  QVERIFY(connectButton->HasKeyboardFocus());
  QVERIFY(!window.LoggedIn());

  // Back in the box list, Enter connects to the chosen box.
  QTest::keyClick(connectButton, Qt::Key_Tab, Qt::ShiftModifier);
  QCOMPARE(FocusedId(), kBoxList);
  AnswerLoginByKeys(QStringLiteral("secret"));
  QTest::keyClick(list, Qt::Key_Return);
  QTRY_VERIFY_WITH_TIMEOUT(window.LoggedIn(), kWithinMs);
  QCOMPARE(boxes->Count(), std::size_t(0));
}

void TestMainWindowKeyboard::arrowsOnTheTitleStripStayPut() {
  CUtilityDlg window;
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  for (int tool : {kHelp, kSettings, kMinimise, kClose}) {
    QWidget *button = window.GetDlgItem(tool);
    button->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right}) {
      QTest::keyClick(button, key);
      QVERIFY2(
          FocusedId() == tool,
          qPrintable(
              QStringLiteral("%1 after key %2 on %3").arg(FocusedId()).arg(int(key)).arg(tool)));
    }
  }
  QVERIFY(!(window.windowState() & Qt::WindowMinimized));
  QVERIFY(window.isVisible());
}

void TestMainWindowKeyboard::aShareOpensFromTheFolderGridWithEnter() {
  json box = test::SimBox("ALPHA", 3, "secret");
  box["shares"] = json::array({{{"name", "Photos"}}, {{"name", "Music"}}, {{"name", "Backup"}}});
  QVERIFY2(m_sim->Start(test::NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedShellOpenRecorder opened;
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kWithinMs);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  window.GetDlgItem(kBoxList)->setFocus(Qt::TabFocusReason);
  AnswerLoginByKeys(QStringLiteral("secret"));
  QTest::keyClick(window.GetDlgItem(kBoxList), Qt::Key_Return);
  QTRY_VERIFY_WITH_TIMEOUT(window.LoggedIn(), kWithinMs);
  QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
  window.activateWindow(); // as the desktop gives it back after the dialog
  QVERIFY(QTest::qWaitForWindowActive(&window));

  // Space on Folder shows the grid; Tab reaches it; the arrows choose and
  // Enter opens.
  QWidget *folderButton = window.GetDlgItem(kFolder);
  folderButton->setFocus(Qt::TabFocusReason);
  QTest::keyClick(folderButton, Qt::Key_Space);
  CFolderListCtrl *grid = window.InfoPanel()->FolderList();
  QTRY_COMPARE_WITH_TIMEOUT(grid->FolderCount(), 3, kWithinMs);
  QWidget *at = folderButton;
  for (int i = 0; i < 12 && at != nullptr && at != grid; ++i) {
    QTest::keyClick(at, Qt::Key_Tab);
    at = QApplication::focusWidget();
  }
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(grid));
  QTest::keyClick(grid, Qt::Key_Right);
  QTest::keyClick(grid, Qt::Key_Return);
  QTRY_COMPARE_WITH_TIMEOUT(opened->Shares().size(), std::size_t(1), 5000);
  QCOMPARE(ToQString(opened->Shares()[0].path), QStringLiteral("Music"));

  // A screen reader sees the same shares and opens one by its action.
  QAccessibleInterface *list = QAccessible::queryAccessibleInterface(grid);
  QCOMPARE(list->childCount(), 3);
  QCOMPARE(list->child(2)->text(QAccessible::Name), QStringLiteral("Backup"));
  list->child(2)->actionInterface()->doAction(QStringLiteral("open"));
  QTRY_COMPARE_WITH_TIMEOUT(opened->Shares().size(), std::size_t(2), 5000);
  QCOMPARE(ToQString(opened->Shares()[1].path), QStringLiteral("Backup"));
  QCOMPARE(ToQString(opened->Shares()[1].host), QStringLiteral("127.0.0.3"));
  QCOMPARE(boxes->Count(), std::size_t(0));
}

void TestMainWindowKeyboard::theBoxListIsNamedByItsHeading_data() {
  QTest::addColumn<int>("language");
  QTest::newRow("English") << 0;
  QTest::newRow("German") << 2;
  QTest::newRow("Russian") << 4;
}

void TestMainWindowKeyboard::theBoxListIsNamedByItsHeading() {
  QFETCH(int, language);
  test::ScopedLanguage chosen(language);
  QVERIFY2(m_sim->Start(test::NasSimProcess::MakeState(
               {test::SimBox("ALPHA", 2, "secret"), test::SimBox("BETA", 3, "secret")})),
           m_sim->Error().c_str());
  CUtilityDlg window;
  test::StartListed(window, kWithinMs);
  auto *list = window.GetDlgItemAs<CGdipComboBox>(kBoxList);
  QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, kWithinMs);
  QAccessibleInterface *box = QAccessible::queryAccessibleInterface(list);
  QVERIFY(box != nullptr);
  QCOMPARE(box->role(), QAccessible::ComboBox);
  const QString heading = UiText(u"Select NAS");
  QVERIFY(!heading.isEmpty());
  if (language != 0) {
    QVERIFY(heading != QStringLiteral("Select NAS"));
  }
  for (int index : {0, 1}) {
    list->setCurrentIndex(index);
    QCOMPARE(box->text(QAccessible::Name), heading);
    QCOMPARE(box->text(QAccessible::Value), list->itemText(index));
  }
  // The list of entries is its child, and the action opens it.
  QCOMPARE(box->childCount(), 1);
  QCOMPARE(box->child(0)->object(), list->view());
  QAccessibleActionInterface *actions = box->actionInterface();
  QVERIFY(actions != nullptr);
  QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
  actions->doAction(QAccessibleActionInterface::showMenuAction());
  QTRY_VERIFY(list->view()->isVisible());
  QVERIFY(box->state().expanded);
  list->hidePopup();
}

QTEST_MAIN(TestMainWindowKeyboard)
#include "tst_main_window_keyboard.moc"
