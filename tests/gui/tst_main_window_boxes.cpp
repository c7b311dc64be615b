// The main window against simulated boxes in the test's network namespace:
// the box list that discovery fills, the box used last, Connect up to the
// login dialog and what it writes, a box that left the subnet, and a second
// copy of the program.

#include <QLineEdit>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "i18n/own_texts.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "platform/base64.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/open_dialog_slot.h"
#include "ui/main/single_instance.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/shortcut_button.h"
#include "ui/skin/trans_static.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace corvesta::main_ids;
using corvesta::test::ConnectAs;
using corvesta::test::ListedNames;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

// Discovery's waits, shortened: the simulated boxes answer at once.
constexpr double kTimeScale = 0.2;
constexpr int kListedWithinMs = 20000;

json Box(const std::string &name, int host, const std::string &password = "admin") {
  return test::SimBox(name, host, password);
}

QString ReadSetting(std::u16string_view section, std::u16string_view key) {
  std::u16string value;
  settings::Read(section, key, value);
  return ToQString(value);
}

// Whether a running copy listens for the settings file (asking it to show
// itself, which does no harm).
bool Answers(const QString &settingsFile) {
  QLocalSocket probe;
  probe.connectToServer(SingleInstance::ServerName(settingsFile));
  const bool connected = probe.waitForConnected(100);
  probe.abort();
  return connected;
}

} // namespace

class TestMainWindowBoxes : public QObject, public test::SimWindowFixture {
  Q_OBJECT
private Q_SLOTS:
  void init();
  void cleanup();
  void discoveryFillsTheBoxList_data();
  void discoveryFillsTheBoxList();
  void connectShowsTheRememberedLoginAndCancelChangesNothing();
  void connectOkWritesWhatTheDialogReturned_data();
  void connectOkWritesWhatTheDialogReturned();
  void aRefusedLoginKeepsTheLoginThatWorked_data();
  void aRefusedLoginKeepsTheLoginThatWorked();
  void connectWhileLoggedInLogsOutOfTheBoxLoggedInTo();
  void leavingTheSubnetClosesTheOpenDialogAndSearchesAgain();
  void administratorLoginShowsThePanelWithItsGauges();
  void wrongPasswordSendsNoWebRequest();
  void anAmbiguousBoxGetsNoCredentials();
  void aSecondCopyRaisesTheFirstAndEnds();

private:
  void StartListed(CUtilityDlg &window);
};

void TestMainWindowBoxes::init() {
  SetUp(kTimeScale);
}

void TestMainWindowBoxes::cleanup() {
  TearDown();
}

void TestMainWindowBoxes::StartListed(CUtilityDlg &window) {
  window.show();
  window.Start();
  QVERIFY(window.CurrentTicket() != 0);
  QCOMPARE(window.State(), UiState::Searching);
  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kListedWithinMs);
}

void TestMainWindowBoxes::discoveryFillsTheBoxList_data() {
  QTest::addColumn<QByteArray>("state");
  QTest::addColumn<QString>("lastBox");
  QTest::addColumn<QString>("selectedName");
  QTest::addColumn<QString>("selectedAddress");
  const auto state = [](std::vector<json> boxes) {
    return QByteArray::fromStdString(NasSimProcess::MakeState(boxes).dump());
  };
  QTest::newRow("no box answers") << state({}) << ""
                                  << ""
                                  << "";
  QTest::newRow("nothing remembered: the first box")
      << state({Box("ALPHA", 2), Box("BETA", 3)}) << ""
      << "*"
      << "";
  QTest::newRow("the box used last") << state({Box("ALPHA", 2), Box("BETA", 3)}) << "BETA"
                                     << "BETA"
                                     << "127.0.0.3";
  QTest::newRow("the box used last no longer answers")
      << state({Box("ALPHA", 2), Box("BETA", 3)}) << "GAMMA"
      << "*"
      << "";
  QTest::newRow("letter case tells names apart")
      << state({Box("ALPHA", 2), Box("beta", 3)}) << "BETA"
      << "*"
      << "";
}

void TestMainWindowBoxes::discoveryFillsTheBoxList() {
  QFETCH(QByteArray, state);
  QFETCH(QString, lastBox);
  QFETCH(QString, selectedName);
  QFETCH(QString, selectedAddress);
  if (state.contains("\"name\"")) {
    QVERIFY2(m_sim->Start(json::parse(state.toStdString())), m_sim->Error().c_str());
  }
  if (!lastBox.isEmpty()) {
    settings::Write(settings::kSectionCurrent, settings::kKeyServName, FromQString(lastBox));
  }
  CUtilityDlg window;
  StartListed(window);

  // The list shows the boxes in the order discovery heard them.
  const std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
  QStringList expected;
  for (const NasDevice &device : devices) {
    expected << QString::fromUtf8(device.name);
  }
  QCOMPARE(ListedNames(window), expected);
  auto *list = window.GetDlgItemAs<CGdipComboBox>(kBoxList);
  QVERIFY(list->isEnabled());
  QVERIFY(!window.InfoPanel()->isVisible());

  if (selectedName.isEmpty()) {
    QCOMPARE(list->count(), 0);
    QCOMPARE(list->currentIndex(), -1);
    ScopedMessageBoxRecorder boxes;
    QTest::mouseClick(window.GetDlgItem(kConnect), Qt::LeftButton);
    QCOMPARE(boxes->Count(), std::size_t(1));
    QCOMPARE(ToQString(boxes->Requests()[0].text), QStringLiteral("Select NAS"));
    return;
  }
  QCOMPARE(static_cast<int>(devices.size()), state.count("\"name\""));
  if (selectedName == QStringLiteral("*")) {
    QCOMPARE(list->currentIndex(), 0);
    return;
  }
  const int selected = list->currentIndex();
  QCOMPARE(list->itemText(selected), selectedName);
  QCOMPARE(QString::fromUtf8(devices.at(selected).ip), selectedAddress);
}

void TestMainWindowBoxes::connectShowsTheRememberedLoginAndCancelChangesNothing() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2), Box("BETA", 3)})),
           m_sim->Error().c_str());
  settings::Write(settings::kSectionCurrent, settings::kKeyServName, u"ALPHA");
  settings::Write(u"BETA", settings::kKeyUserName, u"anna");
  settings::Write(u"BETA", settings::kKeyPassWord, Utf8ToUtf16(Base64Encode("p\xc3\xa4ss")));
  CUtilityDlg window;
  StartListed(window);
  auto *list = window.GetDlgItemAs<CGdipComboBox>(kBoxList);
  list->setCurrentIndex(list->findText(QStringLiteral("BETA")));

  QString shownUser, shownPassword;
  bool ticked = false;
  test::WhenModalShown<CLoginDialog>([&](CLoginDialog *dialog) {
    shownUser = dialog->UserField()->text();
    shownPassword = dialog->PasswordField()->text();
    ticked = dialog->GetDlgItemAs<CGdipButton>(kLoginRemember)->GetCheck();
    dialog->UserField()->setText(QStringLiteral("someone"));
    QTest::mouseClick(dialog->GetDlgItem(kLoginCancel), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(kConnect), Qt::LeftButton);

  QCOMPARE(shownUser, QStringLiteral("anna"));
  QCOMPARE(shownPassword, QString::fromUtf8("p\xc3\xa4ss"));
  QVERIFY(ticked);
  // Nothing moved: the box used last, the remembered login, the selection.
  QCOMPARE(ReadSetting(settings::kSectionCurrent, settings::kKeyServName), QStringLiteral("ALPHA"));
  QCOMPARE(ReadSetting(u"BETA", settings::kKeyUserName), QStringLiteral("anna"));
  QCOMPARE(window.SelectedIndex(), -1);
  QCOMPARE(window.State(), UiState::Listed);
  QVERIFY(!window.InfoPanel()->isVisible());
  for (const auto &request : m_sim->Requests()) {
    QVERIFY2(request.transport != "tcp", request.bytes.c_str());
  }
}

void TestMainWindowBoxes::connectOkWritesWhatTheDialogReturned_data() {
  QTest::addColumn<bool>("remember");
  QTest::newRow("Remember Me ticked") << true;
  QTest::newRow("Remember Me not ticked") << false;
}

void TestMainWindowBoxes::connectOkWritesWhatTheDialogReturned() {
  QFETCH(bool, remember);
  // The password the dialog gets is the right one: it is remembered once the
  // box has accepted it.
  json beta = Box("BETA", 3, "\xd0\xb6pw");
  beta["netmask"] = "255.255.0.0";
  beta["gateway"] = "127.0.0.9";
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2), beta})), m_sim->Error().c_str());
  settings::Write(u"BETA", settings::kKeyUserName, u"old");
  settings::Write(u"BETA", settings::kKeyPassWord, Utf8ToUtf16(Base64Encode("oldpw")));
  CUtilityDlg window;
  StartListed(window);
  auto *list = window.GetDlgItemAs<CGdipComboBox>(kBoxList);
  const int beta_index = list->findText(QStringLiteral("BETA"));
  list->setCurrentIndex(beta_index);

  test::WhenModalShown<CLoginDialog>([&](CLoginDialog *dialog) {
    dialog->UserField()->setText(QStringLiteral("admin"));
    dialog->PasswordField()->setText(QString::fromUtf8("\xd0\xb6pw"));
    auto *box = dialog->GetDlgItemAs<CGdipButton>(kLoginRemember);
    if (box->GetCheck() != remember) {
      QTest::mouseClick(box, Qt::LeftButton);
    }
    QTest::mouseClick(dialog->GetDlgItem(kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(kConnect), Qt::LeftButton);

  QCOMPARE(window.SelectedIndex(), beta_index);
  QCOMPARE(ReadSetting(settings::kSectionCurrent, settings::kKeyServName), QStringLiteral("BETA"));
  if (remember) {
    QTRY_COMPARE_WITH_TIMEOUT(ReadSetting(u"BETA", settings::kKeyUserName), QStringLiteral("admin"),
                              kListedWithinMs);
    const auto decoded =
        Base64Decode(Utf16ToUtf8(FromQString(ReadSetting(u"BETA", settings::kKeyPassWord))));
    QVERIFY(decoded.has_value());
    QCOMPARE(QString::fromStdString(*decoded), QString::fromUtf8("\xd0\xb6pw"));
  } else {
    QVERIFY(ReadSetting(u"BETA", settings::kKeyUserName).isEmpty());
    QVERIFY(ReadSetting(u"BETA", settings::kKeyPassWord).isEmpty());
  }
  // The panel holds the box's lines, ready for when the volumes arrive.
  CNASInfoDialog *panel = window.InfoPanel();
  QCOMPARE(panel->LineText(0), QStringLiteral("BETA"));
  QCOMPARE(panel->LineText(1), QStringLiteral("IP:127.0.0.3"));
  QCOMPARE(panel->LineText(2), QStringLiteral("Mask:255.255.0.0"));
  QCOMPARE(panel->LineText(3), QStringLiteral("Gateway:127.0.0.9"));
}

void TestMainWindowBoxes::aRefusedLoginKeepsTheLoginThatWorked_data() {
  QTest::addColumn<QString>("remembered"); // admin's password remembered for ALPHA
  QTest::addColumn<QString>("typed");      // the password field at OK
  QTest::addColumn<bool>("ticked");        // Remember Me at OK
  QTest::addColumn<bool>("refused");
  QTest::addColumn<QString>("storedUser"); // remembered afterwards
  QTest::addColumn<QString>("storedPassword");
  // ALPHA's administrator password is "secret".
  QTest::newRow("mistyped: the login that worked stays") << "secret"
                                                         << "wrong" << true << true << "admin"
                                                         << "secret";
  QTest::newRow("the remembered login itself refused: forgotten") << "old"
                                                                  << "old" << true << true << ""
                                                                  << "";
  QTest::newRow("a new password accepted: remembered") << "old"
                                                       << "secret" << true << false << "admin"
                                                       << "secret";
  QTest::newRow("Remember Me unticked: forgotten at once") << "secret"
                                                           << "wrong" << false << true << ""
                                                           << "";
}

// A prefilled login dialog whose password is mistyped: what was remembered
// is replaced only by credentials the box has accepted.
void TestMainWindowBoxes::aRefusedLoginKeepsTheLoginThatWorked() {
  QFETCH(QString, remembered);
  QFETCH(QString, typed);
  QFETCH(bool, ticked);
  QFETCH(bool, refused);
  QFETCH(QString, storedUser);
  QFETCH(QString, storedPassword);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2, "secret")})),
           m_sim->Error().c_str());
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  settings::Write(u"ALPHA", settings::kKeyUserName, u"admin");
  settings::Write(u"ALPHA", settings::kKeyPassWord,
                  Utf8ToUtf16(Base64Encode(remembered.toStdString())));
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  QString shownPassword;
  test::WhenModalShown<CLoginDialog>([&](CLoginDialog *dialog) {
    shownPassword = dialog->PasswordField()->text();
    dialog->PasswordField()->setText(typed);
    auto *box = dialog->GetDlgItemAs<CGdipButton>(kLoginRemember);
    if (box->GetCheck() != ticked) {
      QTest::mouseClick(box, Qt::LeftButton);
    }
    QTest::mouseClick(dialog->GetDlgItem(kLoginOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(kConnect), Qt::LeftButton);
  QCOMPARE(shownPassword, remembered);
  if (refused) {
    QVERIFY(boxes->WaitForCount(1, std::chrono::seconds(20)));
    QCOMPARE(ToQString(boxes->Requests()[0].text), QStringLiteral("Username or password error."));
    QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kListedWithinMs);
  } else {
    QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kListedWithinMs);
    QCOMPARE(boxes->Count(), std::size_t(0));
  }
  QCOMPARE(ReadSetting(u"ALPHA", settings::kKeyUserName), storedUser);
  const auto decoded =
      Base64Decode(Utf16ToUtf8(FromQString(ReadSetting(u"ALPHA", settings::kKeyPassWord))));
  QVERIFY(decoded.has_value());
  QCOMPARE(QString::fromStdString(*decoded), storedPassword);
  QCOMPARE(ReadSetting(settings::kSectionCurrent, settings::kKeyServName), QStringLiteral("ALPHA"));
}

// Connect while a session is open: Cancel keeps it; OK logs out of the box
// logged in to, not of the box selected now, before the new login.
void TestMainWindowBoxes::connectWhileLoggedInLogsOutOfTheBoxLoggedInTo() {
  QVERIFY2(
      m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2, "secret"), Box("BETA", 3, "beta")})),
      m_sim->Error().c_str());
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"), QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kListedWithinMs);
  const int alpha = window.SelectedIndex();
  auto *list = window.GetDlgItemAs<CGdipComboBox>(kBoxList);
  QCOMPARE(list->itemText(alpha), QStringLiteral("ALPHA"));
  const auto logouts = [this](const char *box) {
    int count = 0;
    for (const auto &request : m_sim->Requests()) {
      count += request.box == box && request.bytes.find("cmd=logout") != std::string::npos ? 1 : 0;
    }
    return count;
  };

  list->setCurrentIndex(list->findText(QStringLiteral("BETA")));
  test::WhenModalShown<CLoginDialog>([](CLoginDialog *dialog) {
    dialog->PasswordField()->setText(QStringLiteral("beta"));
    QTest::mouseClick(dialog->GetDlgItem(kLoginCancel), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(kConnect), Qt::LeftButton);
  QTest::qWait(300); // a logout would have arrived by now
  QVERIFY(window.LoggedIn());
  QCOMPARE(window.SelectedIndex(), alpha);
  QCOMPARE(window.State(), UiState::Administrator);
  QVERIFY(window.InfoPanel()->isVisible());
  QCOMPARE(window.InfoPanel()->LineText(0), QStringLiteral("ALPHA"));
  QCOMPARE(logouts("ALPHA") + logouts("BETA"), 0);

  ConnectAs(window, QStringLiteral("BETA"), QStringLiteral("admin"), QStringLiteral("beta"));
  QVERIFY(m_sim->WaitForRequest(
      [](const test::SimRequest &r) {
        return r.box == "ALPHA" && r.bytes.find("cmd=logout") != std::string::npos;
      },
      std::chrono::seconds(10)));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kListedWithinMs);
  QCOMPARE(window.InfoPanel()->LineText(0), QStringLiteral("BETA"));
  QVERIFY(window.LoggedIn());
  QCOMPARE(logouts("BETA"), 0);
  QCOMPARE(boxes->Count(), std::size_t(0));
}

void TestMainWindowBoxes::leavingTheSubnetClosesTheOpenDialogAndSearchesAgain() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2)})), m_sim->Error().c_str());
  CUtilityDlg window;
  StartListed(window);
  const Ticket listedWith = window.CurrentTicket();

  QDialog settingsLike(&window);
  bool closedWhileOpen = false;
  QTimer::singleShot(0, &settingsLike,
                     [&] { QVERIFY(PostMessage(window.Handle(), WM_NAS_LEFT_SUBNET, 0, 0)); });
  {
    ScopedOpenDialog slot(&settingsLike);
    settingsLike.exec(); // ends only when the window closes it
    closedWhileOpen = OpenDialog() == &settingsLike;
  }
  QVERIFY(closedWhileOpen);
  QCOMPARE(window.State(), UiState::Searching);
  QVERIFY(window.CurrentTicket() != listedWith);
  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kListedWithinMs);
  QCOMPARE(ListedNames(window), QStringList{QStringLiteral("ALPHA")});
}

namespace {
json BoxWithVolumes(const std::string &name, int host, int count) {
  json box = Box(name, host, "secret");
  json volumes = json::array();
  for (int i = 1; i <= count; ++i) {
    volumes.push_back({{"volume", i},
                       {"mode", "standard"},
                       {"file_system", "ext4"},
                       {"disks", "sda"},
                       {"total_kib", 1048576000},
                       {"used_kib", 104857600 * i}});
  }
  box["disks"] = json::array({{{"device", "sda"}, {"size_gib", 1000}}});
  box["volumes"] = volumes;
  return box;
}
} // namespace

void TestMainWindowBoxes::administratorLoginShowsThePanelWithItsGauges() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({BoxWithVolumes("ALPHA", 2, 5)})),
           m_sim->Error().c_str());
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"), QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), 20000);
  QVERIFY(window.LoggedIn());
  QCOMPARE(window.State(), UiState::Administrator);
  // Five volumes show four.
  QCOMPARE(window.InfoPanel()->VolumeCount(), 4);
  QCOMPARE(window.GetDlgItemAs<CTransStatic>(kWelcome)->Text(), QStringLiteral("Welcome admin"));
  QCOMPARE(boxes->Count(), std::size_t(0));
  auto *folder = window.GetDlgItemAs<CShortCutButton>(kFolder);
  QTest::mouseClick(folder, Qt::LeftButton);
  QVERIFY(folder->IsSelected());
  // Logout returns to the list and ends the session on the box; the sidebar
  // keeps no entry of the session lit.
  QTest::mouseClick(window.GetDlgItem(kLogout), Qt::LeftButton);
  QCOMPARE(window.State(), UiState::Listed);
  QVERIFY(!window.InfoPanel()->isVisible());
  QVERIFY(!folder->IsSelected());
  QVERIFY(m_sim->WaitForRequest(
      [](const test::SimRequest &r) { return r.bytes.find("cmd=logout") != std::string::npos; },
      std::chrono::seconds(10)));
  // The next login starts on the volume view with nothing lit.
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"), QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), 20000);
  QVERIFY(!window.InfoPanel()->InFolderView());
  QVERIFY(!folder->IsSelected());
}

void TestMainWindowBoxes::wrongPasswordSendsNoWebRequest() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box("ALPHA", 2, "secret")})),
           m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"), QStringLiteral("wrong"));
  QVERIFY(boxes->WaitForCount(1, std::chrono::seconds(20)));
  QCOMPARE(ToQString(boxes->Requests()[0].text), QStringLiteral("Username or password error."));
  QTRY_VERIFY_WITH_TIMEOUT(!window.LoggedIn(), 5000);
  QCOMPARE(window.State(), UiState::Listed);
  for (const auto &request : m_sim->Requests()) {
    QVERIFY2(request.transport != "tcp", request.bytes.c_str());
  }
}

void TestMainWindowBoxes::aSecondCopyRaisesTheFirstAndEnds() {
  test::TempFolder config;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.Path()));
  const QString settingsFile =
      QString::fromStdString((config.Path() / "Utility" / "Utility.ini").string());

  QProcess first;
  first.setProcessEnvironment(environment);
  first.start(QStringLiteral(CORVESTA_PROGRAM_PATH), {});
  QVERIFY(first.waitForStarted(10000));
  QTRY_VERIFY_WITH_TIMEOUT(Answers(settingsFile), 15000);

  QProcess second;
  second.setProcessEnvironment(environment);
  second.start(QStringLiteral(CORVESTA_PROGRAM_PATH), {});
  QVERIFY(second.waitForFinished(15000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
  QCOMPARE(first.state(), QProcess::Running);

  // A copy with settings of its own runs beside it.
  test::TempFolder otherConfig;
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(otherConfig.Path()));
  QProcess other;
  other.setProcessEnvironment(environment);
  other.start(QStringLiteral(CORVESTA_PROGRAM_PATH), {});
  QVERIFY(other.waitForStarted(10000));
  const QString otherFile =
      QString::fromStdString((otherConfig.Path() / "Utility" / "Utility.ini").string());
  QTRY_VERIFY_WITH_TIMEOUT(Answers(otherFile), 15000);
  QCOMPARE(other.state(), QProcess::Running);
  QCOMPARE(first.state(), QProcess::Running);

  for (QProcess *process : {&first, &other}) {
    process->kill();
    process->waitForFinished(10000);
  }
}

// Two devices answer with one hardware address from different addresses
// (one simulator each): listed once, and Connect refuses to send either of
// them a password.
void TestMainWindowBoxes::anAmbiguousBoxGetsNoCredentials() {
  json impostor = NasSimProcess::MakeBox("HOME", "127.0.0.71", "02:aa:00:00:00:70", "x");
  json real = NasSimProcess::MakeBox("HOME", "127.0.0.72", "02:aa:00:00:00:70", "secret");
  real["faults"] = {{"udp", {{"probe", {{"delay_ms", 100}}}}}};
  NasSimProcess realSim;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({impostor})), m_sim->Error().c_str());
  QVERIFY2(realSim.Start(NasSimProcess::MakeState({real})), realSim.Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  StartListed(window);
  QCOMPARE(ListedNames(window), QStringList{QStringLiteral("HOME")});
  QTest::mouseClick(window.GetDlgItem(kConnect), Qt::LeftButton);
  QCOMPARE(boxes->Count(), std::size_t(1));
  QCOMPARE(ToQString(boxes->Requests()[0].text), ToQString(kAmbiguousBoxText));
  QCOMPARE(window.State(), UiState::Listed);
  for (const NasSimProcess *sim : {m_sim.get(), &realSim}) {
    for (const auto &request : sim->Requests()) {
      QVERIFY2(request.bytes.empty() || request.bytes[0] != 0x03, "a credential check was sent");
    }
  }
}

QTEST_MAIN(TestMainWindowBoxes)
#include "tst_main_window_boxes.moc"
