// The main window's other buttons against simulated boxes in the test's
// network namespace: the settings dialog and the idle logout while logged in,
// the web centers, the folder view with its shares, and the set-IP dialog for
// a box outside the subnet, reached over a second network (a veth pair).

#include <QSignalSpy>
#include <QTest>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/protocol_timing.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/idle_hold.h"
#include "ui/main/idle_logout.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/open_dialog_slot.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/shortcut_button.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace corvesta::main_ids;
using corvesta::test::ConnectAs;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr double kTimeScale = 0.2;
constexpr int kWithinMs = 20000;
// The idle timer's 5 minutes become 150 ms.
constexpr double kIdleScale = 0.0005;

json Box(const std::string &name, int host, const std::string &password = "secret") {
  char mac[32];
  std::snprintf(mac, sizeof mac, "02:aa:00:00:02:%02x", host);
  json box = NasSimProcess::MakeBox(name, "127.0.0." + std::to_string(host), mac, password);
  box["accounts"].push_back(
      {{"user", "anna"}, {"password", "anna2024"}, {"access", "1,1,1,1,1,1"}});
  box["accounts"].push_back({{"user", "an na"}, {"password", "pw"}, {"access", "1,1,1,1,1,1"}});
  test::GiveOneVolume(box, 1000, 1048576000, 104857600);
  return box;
}

QString StoredIdleTime() {
  std::u16string value;
  settings::Read(settings::kSectionCurrent, settings::kKeyLoginOutTime, value);
  return ToQString(value);
}

QStringList Messages(const MessageBoxRecorder &recorder) {
  QStringList texts;
  for (const MessageBoxRequest &request : recorder.Requests()) {
    texts << ToQString(request.text);
  }
  return texts;
}

// Chooses the idle time in the settings dialog opened by the main window.
void ChooseIdleTime(CUtilityDlg &window, int radio) {
  test::WhenModalShown<CSettingsDialog>([radio](CSettingsDialog *dialog) {
    QTest::mouseClick(dialog->GetDlgItem(radio), Qt::LeftButton);
    QCoreApplication::processEvents(); // the other radios learn it from a posted message
    QTest::mouseClick(dialog->GetDlgItem(kSettingsOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(kSettings), Qt::LeftButton);
}

int Period(std::uint32_t idle) {
  return static_cast<int>(IdlePeriod(idle).count());
}

} // namespace

class TestMainWindowDialogs : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void init();
  void cleanup();
  void settingsWhileLoggedInRestartsAndStopsTheTimer();
  void neverChangedToATimeWhileLoggedInArmsTheTimer();
  void idleTimeoutLogsOutAndClosesTheOpenDialog_data();
  void idleTimeoutLogsOutAndClosesTheOpenDialog();
  void idleTimeoutWaitsForAHoldAndFiresAfterIt();
  void centersOpenTheirLinks_data();
  void centersOpenTheirLinks();
  void folderShowsTheSharesAndOpensOne();
  void folderShowsOnlyTheUsersShares();
  void unansweredShareListIsReported_data();
  void unansweredShareListIsReported();

private:
  void StartListed(CUtilityDlg &window);
  void LogIn(CUtilityDlg &window, const QString &user, const QString &password);
  // Lists the box and logs in as admin; the window's idle time does not run
  // out while the login goes on.
  void LogInWithIdleTime(CUtilityDlg &window);

  std::unique_ptr<test::ScopedAppDataFolder> m_settings;
  std::unique_ptr<timing::ScopedTimeScale> m_timeScale;
  std::unique_ptr<ScopedIdleTimeScale> m_idleScale;
  std::unique_ptr<NasSimProcess> m_sim;
};

void TestMainWindowDialogs::LogInWithIdleTime(CUtilityDlg &window) {
  StartListed(window);
  ScopedIdleTimeScale slow(0.01); // no timeout while logging in
  LogIn(window, QStringLiteral("admin"), QStringLiteral("secret"));
}

void TestMainWindowDialogs::init() {
  m_settings = std::make_unique<test::ScopedAppDataFolder>();
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  m_timeScale = std::make_unique<timing::ScopedTimeScale>(kTimeScale);
  m_idleScale = std::make_unique<ScopedIdleTimeScale>(kIdleScale);
  m_sim = std::make_unique<NasSimProcess>();
}

void TestMainWindowDialogs::cleanup() {
  m_sim.reset();
  m_idleScale.reset();
  m_timeScale.reset();
  m_settings.reset();
}

void TestMainWindowDialogs::StartListed(CUtilityDlg &window) {
  window.show();
  window.Start();
  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kWithinMs);
}

void TestMainWindowDialogs::LogIn(CUtilityDlg &window, const QString &user,
                                  const QString &password) {
  ConnectAs(window, QStringLiteral("ALPHA"), user, password);
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kWithinMs);
  QVERIFY(window.LoggedIn());
}

void TestMainWindowDialogs::settingsWhileLoggedInRestartsAndStopsTheTimer() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2)})), m_sim->Error().c_str());
  settings::Write(settings::kSectionCurrent, settings::kKeyLoginOutTime, u"3600000:");
  CUtilityDlg window;
  StartListed(window);
  QVERIFY(!window.ActivityWatched());
  QVERIFY(!window.IdleTimerRunning());
  // A period long enough not to fire during the test.
  ScopedIdleTimeScale slow(0.01);
  LogIn(window, QStringLiteral("admin"), QStringLiteral("secret"));
  QVERIFY(window.ActivityWatched());
  QVERIFY(window.IdleTimerRunning());
  QVERIFY(window.TimerArmed());
  QCOMPARE(window.IdleTimerInterval(), Period(3600000));

  ChooseIdleTime(window, kSettingsFiveMinutes);
  QCOMPARE(StoredIdleTime(), QStringLiteral("300000:"));
  QVERIFY(window.IdleTimerRunning());
  QCOMPARE(window.IdleTimerInterval(), Period(300000));

  ChooseIdleTime(window, kSettingsNever);
  QCOMPARE(StoredIdleTime(), QStringLiteral("0:"));
  QVERIFY(!window.IdleTimerRunning());
  QVERIFY(!window.TimerArmed());
  QVERIFY(window.ActivityWatched());

  // Logout takes the watch away; a time chosen now is only stored.
  QTest::mouseClick(window.GetDlgItem(kLogout), Qt::LeftButton);
  QVERIFY(!window.ActivityWatched());
  ChooseIdleTime(window, kSettingsThirtyMinutes);
  QCOMPARE(StoredIdleTime(), QStringLiteral("1800000:"));
  QVERIFY(!window.IdleTimerRunning());
  // The next login uses it.
  LogIn(window, QStringLiteral("admin"), QStringLiteral("secret"));
  QVERIFY(window.IdleTimerRunning());
  QCOMPARE(window.IdleTimerInterval(), Period(1800000));
}

void TestMainWindowDialogs::neverChangedToATimeWhileLoggedInArmsTheTimer() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2)})), m_sim->Error().c_str());
  settings::Write(settings::kSectionCurrent, settings::kKeyLoginOutTime, u"0:");
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  LogIn(window, QStringLiteral("admin"), QStringLiteral("secret"));
  QVERIFY(!window.IdleTimerRunning());
  QVERIFY(!window.TimerArmed());

  // Nothing is touched after OK: the new time must run by itself.
  ChooseIdleTime(window, kSettingsFiveMinutes);
  QVERIFY(window.IdleTimerRunning());
  QVERIFY(window.TimerArmed());
  QTRY_VERIFY_WITH_TIMEOUT(!window.LoggedIn(), 5000);
  QVERIFY(Messages(*boxes).contains(QStringLiteral("Time out, please login again.")));
}

void TestMainWindowDialogs::idleTimeoutLogsOutAndClosesTheOpenDialog_data() {
  QTest::addColumn<bool>("settingsDialog"); // else a stand-in wizard
  QTest::newRow("settings dialog") << true;
  QTest::newRow("wizard") << false;
}

void TestMainWindowDialogs::idleTimeoutLogsOutAndClosesTheOpenDialog() {
  QFETCH(bool, settingsDialog);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2)})), m_sim->Error().c_str());
  settings::Write(settings::kSectionCurrent, settings::kKeyLoginOutTime, u"300000:");
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window; // reads the idle time of five minutes
  LogInWithIdleTime(window);
  const std::size_t before = boxes->Count();

  int result = -1;
  std::size_t messagesWhenClosed = 0;
  if (settingsDialog) {
    test::WhenModalShown<CSettingsDialog>([&](CSettingsDialog *dialog) {
      QObject::connect(dialog, &QDialog::finished, [&](int code) {
        result = code;
        messagesWhenClosed = boxes->Count();
      });
      QTest::mouseClick(dialog->GetDlgItem(kSettingsNever), Qt::LeftButton);
    });
    window.OnCommand(kSettings); // returns once the timeout closed it
  } else {
    QDialog wizard(&window);
    QObject::connect(&wizard, &QDialog::finished, [&](int code) {
      result = code;
      messagesWhenClosed = boxes->Count();
    });
    ScopedOpenDialog slot(&wizard);
    wizard.exec();
  }
  QCOMPARE(result, int(QDialog::Rejected));
  // The message comes first, then the dialog closes.
  QCOMPARE(messagesWhenClosed, before + 1);
  QCOMPARE(ToQString(boxes->Requests().at(before).text),
           QStringLiteral("Time out, please login again."));
  QVERIFY(!window.LoggedIn());
  QCOMPARE(window.State(), UiState::Listed);
  QVERIFY(!window.ActivityWatched());
  QVERIFY(!window.IdleTimerRunning());
  // The cancelled settings dialog changed nothing.
  QCOMPARE(IdleTime(), 300000u);
  QVERIFY(m_sim->WaitForRequest(
      [](const test::SimRequest &r) { return r.bytes.find("cmd=logout") != std::string::npos; },
      std::chrono::seconds(10)));
}

void TestMainWindowDialogs::idleTimeoutWaitsForAHoldAndFiresAfterIt() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2)})), m_sim->Error().c_str());
  settings::Write(settings::kSectionCurrent, settings::kKeyLoginOutTime, u"300000:");
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window; // reads the idle time of five minutes
  LogInWithIdleTime(window);
  window.WindowProc(WM_USER_ACTIVITY, 0, 0); // the idle timer at its short period
  QCOMPARE(window.IdleTimerInterval(), Period(300000));
  const std::size_t before = boxes->Count();
  auto hold = std::make_unique<IdleLogoutHold>(); // a formatting runs
  QTest::qWait(4 * Period(300000));
  QVERIFY(window.LoggedIn());
  QCOMPARE(boxes->Count(), before);
  hold.reset(); // still idle: the logout follows at once
  QTRY_VERIFY_WITH_TIMEOUT(!window.LoggedIn(), Period(300000) / 2);
  QCOMPARE(boxes->Count(), before + 1);
  QCOMPARE(ToQString(boxes->Requests().at(before).text),
           QStringLiteral("Time out, please login again."));
}

void TestMainWindowDialogs::centersOpenTheirLinks_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QString>("password");
  QTest::addColumn<int>("center");
  QTest::addColumn<QString>("link");
  const auto row = [](const char *name, const char *user, const char *password, int center,
                      const char *query) {
    QTest::newRow(name) << QString::fromUtf8(user) << QString::fromUtf8(password) << center
                        << QStringLiteral("http://127.0.0.2/web/utility_redirect.html?") +
                               QString::fromUtf8(query);
  };
  row("Download Center", "admin", "secret", kDownloadCenter, "m=3&u=admin&p=c2VjcmV0");
  row("Management Center", "admin", "secret", kManagementCenter, "m=2&u=admin&p=c2VjcmV0&d=status");
  row("Backup Center", "admin", "secret", kBackupCenter, "m=4&u=admin&p=c2VjcmV0");
  row("File Center: the password itself", "admin", "secret", kFileCenter, "m=1&u=admin&p=secret");
  row("Surveillance Center: the password itself", "admin", "secret", kSurveillanceCenter,
      "m=5&u=admin&p=secret");
  row("a user", "anna", "anna2024", kDownloadCenter, "m=3&u=anna&p=YW5uYTIwMjQ=");
  row("Base64 with + / =", "admin", "!\xc2\xbe\xc2\xaf\xc2\xa1", kBackupCenter,
      "m=4&u=admin&p=IcK+wq/CoQ==");
  row("empty password, Base64", "admin", "", kManagementCenter, "m=2&u=admin&p=&d=status");
  row("empty password, plain", "admin", "", kFileCenter, "m=1&u=admin&p=");
  row("a user name with a space", "an na", "pw", kDownloadCenter, "m=3&u=an%20na&p=cHc=");
}

void TestMainWindowDialogs::centersOpenTheirLinks() {
  QFETCH(QString, user);
  QFETCH(QString, password);
  QFETCH(int, center);
  QFETCH(QString, link);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2, password.toStdString())})),
           m_sim->Error().c_str());
  ScopedShellOpenRecorder opened;
  CUtilityDlg window;
  StartListed(window);
  LogIn(window, user, password);
  auto *wizard = window.GetDlgItemAs<CShortCutButton>(kWizard);
  wizard->SetSelected(true);

  window.OnCommand(center); // hidden buttons too
  const std::vector<std::u16string> links = opened->Links();
  QCOMPARE(links.size(), std::size_t(1));
  QCOMPARE(ToQString(links[0]), link);
  // The pressed center is the only one selected; File Center leaves none.
  for (int id : {kWizard, kFolder, kManagementCenter, kDownloadCenter, kBackupCenter,
                 kSurveillanceCenter, kFileCenter}) {
    QCOMPARE(window.GetDlgItemAs<CShortCutButton>(id)->IsSelected(),
             id == center && center != kFileCenter);
  }
}

void TestMainWindowDialogs::folderShowsTheSharesAndOpensOne() {
  // Fewer shares than half the grid holds, so that a doubled list would show.
  json box = Box("ALPHA", 3);
  json shares = json::array({{{"name", "Photos"}}});
  for (int i = 2; i <= 5; ++i) {
    shares.push_back({{"name", "Share" + std::to_string(i)}});
  }
  box["shares"] = shares;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedShellOpenRecorder opened;
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  LogIn(window, QStringLiteral("admin"), QStringLiteral("secret"));

  CFolderListCtrl *folders = window.InfoPanel()->FolderList();
  const QStringList names{QStringLiteral("Photos"), QStringLiteral("Share2"),
                          QStringLiteral("Share3"), QStringLiteral("Share4"),
                          QStringLiteral("Share5")};
  for (int round = 0; round < 2; ++round) { // Folder twice: no doubles
    QTest::mouseClick(window.GetDlgItem(kFolder), Qt::LeftButton);
    QVERIFY(window.InfoPanel()->InFolderView());
    QVERIFY(window.GetDlgItemAs<CShortCutButton>(kFolder)->IsSelected());
    QTRY_COMPARE_WITH_TIMEOUT(folders->FolderCount(), 5, kWithinMs);
    QTest::qWait(200); // nothing more arrives
    QStringList shown;
    for (int i = 0; i < folders->FolderCount(); ++i) {
      shown << folders->DisplayName(i);
    }
    QCOMPARE(shown, names);
  }
  QCOMPARE(boxes->Count(), std::size_t(0));

  QVERIFY(folders->isVisible());
  const QPoint first = folders->CellRect(0).center();
  QTest::mouseDClick(folders, Qt::LeftButton, Qt::NoModifier, first);
  QTRY_COMPARE_WITH_TIMEOUT(opened->Shares().size(), std::size_t(1), 5000);
  QCOMPARE(ToQString(opened->Shares()[0].host), QStringLiteral("127.0.0.3"));
  QCOMPARE(ToQString(opened->Shares()[0].path), QStringLiteral("Photos"));

  // More shares than the grid holds: it shows what fits, and the 27th share
  // is in the list all the same; an index past the list opens nothing.
  for (int i = 6; i <= 27; ++i) {
    shares.push_back({{"name", "Share" + std::to_string(i)}});
  }
  QVERIFY(m_sim->Patch("ALPHA", {{"shares", shares}}));
  QTest::mouseClick(window.GetDlgItem(kFolder), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(folders->FolderCount(), CFolderListCtrl::kMaxFolders, kWithinMs);
  QCOMPARE(folders->DisplayName(CFolderListCtrl::kMaxFolders - 1), QStringLiteral("Share26"));
  QVERIFY(PostMessage(window.Handle(), WM_SKIN_ITEM_OPEN, 26, 0));
  QVERIFY(PostMessage(window.Handle(), WM_SKIN_ITEM_OPEN, 27, 0));
  QVERIFY(PostMessage(window.Handle(), WM_SKIN_ITEM_OPEN, 99, 0));
  QTest::qWait(100);
  QCOMPARE(opened->Shares().size(), std::size_t(2));
  QCOMPARE(ToQString(opened->Shares()[1].path), QStringLiteral("Share27"));

  // Logout empties the list: nothing left to open.
  QTest::mouseClick(window.GetDlgItem(kLogout), Qt::LeftButton);
  QCOMPARE(folders->FolderCount(), 0);
  QVERIFY(PostMessage(window.Handle(), WM_SKIN_ITEM_OPEN, 0, 0));
  QTest::qWait(100);
  QCOMPARE(opened->Shares().size(), std::size_t(2));
}

void TestMainWindowDialogs::folderShowsOnlyTheUsersShares() {
  json box = Box("ALPHA", 2);
  box["shares"] = json::array({{{"name", "Public"}},
                               {{"name", "Admins"}, {"users", json::array({"admin"})}},
                               {{"name", "Annas"}, {"users", json::array({"anna"})}}});
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  CUtilityDlg window;
  StartListed(window);
  LogIn(window, QStringLiteral("anna"), QStringLiteral("anna2024"));
  QTest::mouseClick(window.GetDlgItem(kFolder), Qt::LeftButton);
  CFolderListCtrl *folders = window.InfoPanel()->FolderList();
  QTRY_COMPARE_WITH_TIMEOUT(folders->FolderCount(), 2, kWithinMs);
  QCOMPARE(folders->DisplayName(0), QStringLiteral("Public"));
  QCOMPARE(folders->DisplayName(1), QStringLiteral("Annas"));
}

void TestMainWindowDialogs::unansweredShareListIsReported_data() {
  QTest::addColumn<QByteArray>("fault");
  QTest::newRow("refused") << QByteArray(R"({"refuse_connections": true})");
  QTest::newRow("dropped") << QByteArray(R"({"http": {"cgi_get_share_info2": {"drop": true}}})");
  QTest::newRow("broken XML") << QByteArray(
      R"({"http": {"cgi_get_share_info2": {"broken_xml": true}}})");
  QTest::newRow("status 500") << QByteArray(
      R"({"http": {"cgi_get_share_info2": {"status": 500}}})");
}

void TestMainWindowDialogs::unansweredShareListIsReported() {
  QFETCH(QByteArray, fault);
  json box = Box("ALPHA", 2);
  box["shares"] = json::array({{{"name", "Public"}}});
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  LogIn(window, QStringLiteral("admin"), QStringLiteral("secret"));
  QVERIFY(m_sim->SetFaults("ALPHA", json::parse(fault.toStdString())));
  QTest::mouseClick(window.GetDlgItem(kFolder), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(Messages(*boxes), QStringList{QStringLiteral("GetUSBInfo failed.")},
                            kWithinMs);
  QVERIFY(window.InfoPanel()->InFolderView());
  QCOMPARE(window.InfoPanel()->FolderList()->FolderCount(), 0);
  QVERIFY(window.LoggedIn());
}

QTEST_MAIN(TestMainWindowDialogs)
#include "tst_main_window_dialogs.moc"
