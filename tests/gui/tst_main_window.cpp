// The main window on the offscreen platform, without boxes: its controls by
// id, the enabling states, the texts in three languages, keyboard use, Help
// and the ways the window does and does not end. The tests with simulated
// boxes are in tst_main_window_boxes.

#include <QSignalSpy>
#include <QTest>
#include <set>

#include "app/program_info.h"
#include "i18n/copyright_footer.h"
#include "main_test_support.h"
#include "platform/message_box.h"
#include "ui/main/box_choice.h"
#include "ui/main/main_ids.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/skin_tool_tip.h"
#include "ui/skin/trans_static.h"

using namespace corvesta;
using namespace corvesta::main_ids;

namespace {

// Every control of the main window that the states switch, and those never
// switched.
const int kSwitched[] = {kVolumeView,     kAutoSorting,  kWizard,
                         kFolder,         kPlayCenter,   kManagementCenter,
                         kDownloadCenter, kBackupCenter, kSurveillanceCenter,
                         kNetwork,        kDriveMapping, kConnect,
                         kRefresh,        kLogout,       kBoxList};
const int kAlwaysEnabled[] = {kSettings, kHelp, kMinimise, kClose};

// What each state enables, written out from the window's description.
std::set<int> EnabledIn(UiState state) {
  switch (state) {
  case UiState::Searching:
    return {};
  case UiState::Listed:
    return {kConnect, kRefresh, kBoxList};
  case UiState::Administrator:
    return std::set<int>(std::begin(kSwitched), std::end(kSwitched));
  case UiState::UserNoRights:
    return {kVolumeView,   kAutoSorting, kWizard,  kFolder, kNetwork,
            kDriveMapping, kConnect,     kRefresh, kLogout, kBoxList};
  }
  return {};
}

} // namespace

Q_DECLARE_METATYPE(corvesta::UiState)

class TestMainWindow : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void statesEnableTheirControls_data();
  void statesEnableTheirControls();
  void startsSearchingWithItsHiddenControls();
  void texts_data();
  void texts();
  void everyControlIsNamedAndReachableByKeyboard();
  void helpShowsTitleAndFooter();
  void escapeAndEnterNeverEndTheWindow();
  void closeEndsTheWindowOnce_data();
  void closeEndsTheWindowOnce();
  void connectWithoutABoxAsksToSelectOne();
  void listSelectsTheBoxUsedLast_data();
  void listSelectsTheBoxUsedLast();
};

void TestMainWindow::statesEnableTheirControls_data() {
  QTest::addColumn<UiState>("state");
  QTest::newRow("searching") << UiState::Searching;
  QTest::newRow("listed") << UiState::Listed;
  QTest::newRow("administrator") << UiState::Administrator;
  QTest::newRow("user without rights") << UiState::UserNoRights;
}

void TestMainWindow::statesEnableTheirControls() {
  QFETCH(UiState, state);
  CUtilityDlg window;
  // From every other state, so that each control is seen switching.
  for (UiState before :
       {UiState::Searching, UiState::Listed, UiState::Administrator, UiState::UserNoRights}) {
    window.SetUiState(before);
    window.SetUiState(state);
    const std::set<int> enabled = EnabledIn(state);
    for (int id : kSwitched) {
      QWidget *control = window.GetDlgItem(id);
      QVERIFY2(control != nullptr, qPrintable(QString::number(id)));
      QVERIFY2(control->isEnabled() == (enabled.count(id) != 0),
               qPrintable(QStringLiteral("control %1").arg(id)));
    }
    for (int id : kAlwaysEnabled) {
      QVERIFY2(window.GetDlgItem(id)->isEnabled(), qPrintable(QString::number(id)));
    }
  }
}

void TestMainWindow::startsSearchingWithItsHiddenControls() {
  CUtilityDlg window;
  window.show();
  QCOMPARE(window.State(), UiState::Searching);
  QCOMPARE(window.windowTitle(), QStringLiteral("Corvesta"));
  QVERIFY(!window.windowIcon().isNull());
  QVERIFY(window.windowFlags().testFlag(Qt::Window));
  for (int id : {kAutoSorting, kPlayCenter, kSurveillanceCenter, kFileCenter, kVersionLine,
                 kNetwork, kDriveMapping, kInfoPanel}) {
    QVERIFY2(!window.GetDlgItem(id)->isVisible(), qPrintable(QString::number(id)));
  }
  for (int id : {kWizard, kFolder, kManagementCenter, kDownloadCenter, kBackupCenter, kConnect,
                 kRefresh, kLogout, kSettings, kHelp, kMinimise, kClose, kBoxList, kVolumeView,
                 kHeading, kFooter, kLogo, kWelcome}) {
    QVERIFY2(window.GetDlgItem(id)->isVisible(), qPrintable(QString::number(id)));
  }
  QVERIFY(window.GetDlgItemAs<CTransStatic>(kWelcome)->Text().isEmpty());
}

void TestMainWindow::texts_data() {
  QTest::addColumn<int>("language");
  QTest::addColumn<QString>("heading");
  QTest::addColumn<QString>("connect");
  QTest::addColumn<QString>("refresh");
  QTest::addColumn<QString>("management");
  QTest::addColumn<QString>("volumeView");
  QTest::addColumn<QString>("logoutTip");
  QTest::addColumn<QString>("footer");
  QTest::newRow("no language object") << -1 << "Select NAS"
                                      << "Connect"
                                      << "Refresh"
                                      << "Management Center"
                                      << "Select NAS/Short Cut"
                                      << "Logout" << ToQString(kCopyrightFooter);
  QTest::newRow("German") << 2 << QString::fromUtf8("NAS wählen") << "Verbinden"
                          << "Aktual."
                          << "Verwaltungscenter" << QString::fromUtf8("NAS wählen/Verknüpfung")
                          << "Abmeldung"
                          << QString::fromUtf8(
                                 "Copyright © 2026 Corvesta. Alle Rechte vorbehalten.");
}

void TestMainWindow::texts() {
  QFETCH(int, language);
  test::ScopedLanguage scoped(language);
  CUtilityDlg window;
  QTEST(window.GetDlgItemAs<CTransStatic>(kHeading)->Text(), "heading");
  QTEST(window.GetDlgItemAs<QAbstractButton>(kConnect)->text(), "connect");
  QTEST(window.GetDlgItemAs<QAbstractButton>(kRefresh)->text(), "refresh");
  QTEST(window.GetDlgItemAs<QAbstractButton>(kManagementCenter)->text(), "management");
  QTEST(window.GetDlgItemAs<QAbstractButton>(kVolumeView)->text(), "volumeView");
  QTEST(window.GetDlgItemAs<CGdipButton>(kLogout)->ToolTip()->Text(), "logoutTip");
  QTEST(window.GetDlgItemAs<CTransStatic>(kFooter)->Text(), "footer");
}

void TestMainWindow::everyControlIsNamedAndReachableByKeyboard() {
  CUtilityDlg window;
  window.SetUiState(UiState::Administrator);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QList<int> order = {kBoxList,          kConnect,        kRefresh,      kWizard,     kFolder,
                            kManagementCenter, kDownloadCenter, kBackupCenter, kVolumeView, kHelp,
                            kSettings,         kLogout,         kMinimise,     kClose};
  for (int id : order) {
    QWidget *control = window.GetDlgItem(id);
    QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(QString::number(id)));
    QVERIFY2(control->focusPolicy() & Qt::TabFocus, qPrintable(QString::number(id)));
  }
  window.GetDlgItem(kBoxList)->setFocus();
  QList<int> visited;
  for (qsizetype i = 0; i < order.size(); ++i) {
    visited << GetDlgCtrlID(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QCOMPARE(visited, order);
  QCOMPARE(GetDlgCtrlID(QApplication::focusWidget()), kBoxList);
}

void TestMainWindow::helpShowsTitleAndFooter() {
  test::ScopedLanguage german(2);
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  QTest::mouseClick(window.GetDlgItem(kHelp), Qt::LeftButton);
  const auto shown = boxes->Requests();
  QCOMPARE(shown.size(), std::size_t(1));
  QCOMPARE(ToQString(shown[0].text),
           QStringLiteral("Corvesta ( 0.1.0.0 )\n") +
               QString::fromUtf8("Copyright © 2026 Corvesta. Alle Rechte vorbehalten."));
  QCOMPARE(ToQString(shown[0].caption), QStringLiteral("Hilfe"));
  QVERIFY(shown[0].buttons == MessageBoxButtons::OkCancel);
  QVERIFY(shown[0].englishButtons);
  QVERIFY(shown[0].owner == window.Handle());
}

void TestMainWindow::escapeAndEnterNeverEndTheWindow() {
  CUtilityDlg window;
  QSignalSpy closing(&window, &CUtilityDlg::closing);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
    QTest::keyClick(&window, key);
    QTest::keyClick(window.GetDlgItem(kBoxList), key);
  }
  QVERIFY(window.isVisible());
  QCOMPARE(closing.count(), 0);
}

void TestMainWindow::closeEndsTheWindowOnce_data() {
  QTest::addColumn<int>("how"); // 0 close button, 1 window system close, 2 WM_CLOSE
  QTest::newRow("close button") << 0;
  QTest::newRow("Alt+F4 or the taskbar") << 1;
  QTest::newRow("WM_CLOSE") << 2;
}

void TestMainWindow::closeEndsTheWindowOnce() {
  QFETCH(int, how);
  CUtilityDlg window;
  QSignalSpy closing(&window, &CUtilityDlg::closing);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  switch (how) {
  case 0:
    QTest::mouseClick(window.GetDlgItem(kClose), Qt::LeftButton);
    break;
  case 1:
    window.close();
    break;
  default:
    QVERIFY(SendMessage(window.Handle(), WM_CLOSE, 0, 0) == 0);
    break;
  }
  QCOMPARE(closing.count(), 1);
  QVERIFY(!window.isVisible());
  window.OnClose();
  QCOMPARE(closing.count(), 1);
}

void TestMainWindow::connectWithoutABoxAsksToSelectOne() {
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  window.SetUiState(UiState::Listed);
  QTest::mouseClick(window.GetDlgItem(kConnect), Qt::LeftButton);
  const auto shown = boxes->Requests();
  QCOMPARE(shown.size(), std::size_t(1));
  QCOMPARE(ToQString(shown[0].text), QStringLiteral("Select NAS"));
  QCOMPARE(ToQString(shown[0].caption), ToQString(kProgramTitle));
  QCOMPARE(window.SelectedIndex(), -1);
}

void TestMainWindow::listSelectsTheBoxUsedLast_data() {
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QString>("lastBox");
  QTest::addColumn<int>("selected");
  const auto list = [](std::initializer_list<const char *> names) {
    QStringList out;
    for (const char *name : names) {
      out << QString::fromLatin1(name);
    }
    return out;
  };
  const QStringList three = list({"ALPHA", "BETA", "GAMMA"});
  QTest::newRow("no boxes") << QStringList() << QStringLiteral("ALPHA") << -1;
  QTest::newRow("nothing remembered") << three << QString() << 0;
  QTest::newRow("the box used last") << three << QStringLiteral("GAMMA") << 2;
  QTest::newRow("the box used last is gone") << three << QStringLiteral("DELTA") << 0;
  QTest::newRow("names differ in letter case") << three << QStringLiteral("beta") << 0;
  QTest::newRow("a trailing blank is another name") << three << QStringLiteral("BETA ") << 0;
  QTest::newRow("two boxes of one name: the later")
      << list({"TWIN", "OTHER", "TWIN", "LAST"}) << QStringLiteral("TWIN") << 2;
}

void TestMainWindow::listSelectsTheBoxUsedLast() {
  QFETCH(QStringList, names);
  QFETCH(QString, lastBox);
  QTEST(ChooseListedBox(names, lastBox), "selected");
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
