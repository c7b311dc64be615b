// The main window when a box answers badly or late: requests that end
// unanswered, the access texts of a user, an account in use elsewhere, a user
// outside the subnet, the first-run offer, and a login still running when the
// list is refreshed.

#include <QSignalSpy>
#include <QTest>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/protocol_timing.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/login_sequence.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/trans_static.h"

using namespace corvesta;
using namespace corvesta::main_ids;
using corvesta::test::ConnectAs;
using corvesta::test::NasSimProcess;
using corvesta::test::SimBox;
using nlohmann::json;

namespace {

constexpr double kTimeScale = 0.2;
constexpr int kListedWithinMs = 20000;
constexpr int kAnsweredWithinMs = 20000;

bool Sent(const NasSimProcess &sim, std::string_view command) {
  for (const auto &request : sim.Requests()) {
    if (request.transport == "tcp" && request.bytes.find(command) != std::string::npos) {
      return true;
    }
  }
  return false;
}

QStringList Texts(const MessageBoxRecorder &boxes) {
  QStringList texts;
  for (const MessageBoxRequest &request : boxes.Requests()) {
    texts << ToQString(request.text);
  }
  return texts;
}

QString WelcomeLine(CUtilityDlg &window) {
  return window.GetDlgItemAs<CTransStatic>(kWelcome)->Text();
}

} // namespace

class TestMainWindowFaults : public QObject, public test::SimWindowFixture {
  Q_OBJECT
private Q_SLOTS:
  void init();
  void cleanup();
  void requestsThatEndUnansweredAreTold_data();
  void requestsThatEndUnansweredAreTold();
  void accessTextsEnableTheirCenters_data();
  void accessTextsEnableTheirCenters();
  void anAccountInUseElsewhereIsToldAndLoggedOut();
  void aUserOutsideTheSubnetIsToldAndLoggedOut();
  void theFirstRunOfferIsMadeOnce();
  void aLoginStillRunningAtRefreshIsDropped();
};

void TestMainWindowFaults::init() {
  SetUp(kTimeScale);
  // The offer to run the wizard is made once per profile: here it has been.
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
}

void TestMainWindowFaults::cleanup() {
  TearDown();
}

void TestMainWindowFaults::requestsThatEndUnansweredAreTold_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QByteArray>("command");
  QTest::addColumn<QByteArray>("fault");
  QTest::addColumn<QString>("message");   // shown; empty for none
  QTest::addColumn<bool>("loggedIn");     // afterwards
  QTest::addColumn<int>("state");         // afterwards
  QTest::addColumn<bool>("volumesAsked"); // the volume list was asked for

  const int listed = static_cast<int>(UiState::Listed);
  const QString loginFailed = ToQString(kLoginFailedText);
  for (const auto &[name, fault] : {std::pair{"status 500", R"({"status":500})"},
                                    std::pair{"broken XML", R"({"broken_xml":true})"},
                                    std::pair{"dropped", R"({"drop":true})"}}) {
    if (std::string_view(name) != "broken XML") {
      QTest::addRow("login, %s", name) << "admin" << QByteArray("login") << QByteArray(fault)
                                       << loginFailed << false << listed << false;
    }
    QTest::addRow("volumes, %s", name) << "admin" << QByteArray("cgi_Status_Volume_Info")
                                       << QByteArray(fault) << ToQString(kVolumeInfoFailedText)
                                       << true << static_cast<int>(UiState::Administrator) << true;
    // A user's rights that cannot be read count as none; the volumes follow.
    QTest::addRow("access rights, %s", name)
        << "anna" << QByteArray("cgi_get_user_access") << QByteArray(fault) << QString() << true
        << static_cast<int>(UiState::UserNoRights) << true;
  }
  // The login's answer is read as text: a document cut after "success" still
  // says that the box opened the session.
  QTest::newRow("login, broken XML")
      << "admin" << QByteArray("login") << QByteArray(R"({"broken_xml":true})") << QString() << true
      << static_cast<int>(UiState::Administrator) << true;
}

void TestMainWindowFaults::requestsThatEndUnansweredAreTold() {
  QFETCH(QString, user);
  QFETCH(QByteArray, command);
  QFETCH(QByteArray, fault);
  QFETCH(QString, message);
  QFETCH(bool, loggedIn);
  QFETCH(int, state);
  QFETCH(bool, volumesAsked);
  json box = test::AlphaWithAnna("1,1,1,1,1,1");
  box["faults"] = {{"http", {{command.toStdString(), json::parse(fault.toStdString())}}}};
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  const QString password =
      user == QStringLiteral("admin") ? QStringLiteral("secret") : QStringLiteral("anna2024");
  ConnectAs(window, QStringLiteral("ALPHA"), user, password);

  // The command with the fault was sent and has ended one way or the other.
  QTRY_VERIFY_WITH_TIMEOUT(Sent(*m_sim, "cmd=" + command.toStdString()), kAnsweredWithinMs);
  if (message.isEmpty()) {
    QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kAnsweredWithinMs);
    QCOMPARE(Texts(*boxes), QStringList());
  } else {
    QTRY_COMPARE_WITH_TIMEOUT(Texts(*boxes), QStringList{message}, kAnsweredWithinMs);
    QVERIFY(!window.InfoPanel()->isVisible());
  }
  QCOMPARE(window.LoggedIn(), loggedIn);
  QCOMPARE(static_cast<int>(window.State()), state);
  QCOMPARE(Sent(*m_sim, "cmd=cgi_Status_Volume_Info"), volumesAsked);
  if (!loggedIn) {
    // The box may have opened the session before its reply went wrong.
    QTRY_VERIFY_WITH_TIMEOUT(Sent(*m_sim, "cmd=logout"), kAnsweredWithinMs);
    QVERIFY(WelcomeLine(window).isEmpty());
  }
}

void TestMainWindowFaults::accessTextsEnableTheirCenters_data() {
  QTest::addColumn<QString>("access");
  QTest::addColumn<bool>("download");
  QTest::addColumn<bool>("backup");
  QTest::addColumn<bool>("management");
  QTest::addColumn<bool>("surveillance");
  QTest::newRow("everything") << "1,1,1,1,1,1" << true << true << true << true;
  QTest::newRow("nothing") << "0,0,0,0,0,0" << false << false << false << false;
  QTest::newRow("download only") << "1,1,0,0,0,0" << true << false << false << false;
  QTest::newRow("all but download") << "1,0,0,1,1,1" << false << true << true << true;
  // Missing positions count as '0'.
  QTest::newRow("short text") << "0,1,0,1" << true << true << false << false;
}

void TestMainWindowFaults::accessTextsEnableTheirCenters() {
  QFETCH(QString, access);
  QFETCH(bool, download);
  QFETCH(bool, backup);
  QFETCH(bool, management);
  QFETCH(bool, surveillance);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({test::AlphaWithAnna(access.toStdString())})),
           m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("anna"), QStringLiteral("anna2024"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kAnsweredWithinMs);

  QVERIFY(window.LoggedIn());
  QCOMPARE(WelcomeLine(window), QStringLiteral("Welcome anna"));
  QCOMPARE(window.GetDlgItem(kDownloadCenter)->isEnabled(), download);
  QCOMPARE(window.GetDlgItem(kBackupCenter)->isEnabled(), backup);
  QCOMPARE(window.GetDlgItem(kManagementCenter)->isEnabled(), management);
  QCOMPARE(window.GetDlgItem(kSurveillanceCenter)->isEnabled(), surveillance);
  for (int id : {kWizard, kFolder, kPlayCenter, kLogout, kSettings}) {
    QVERIFY2(window.GetDlgItem(id)->isEnabled(), qPrintable(QString::number(id)));
  }
  QCOMPARE(Texts(*boxes), QStringList());
}

void TestMainWindowFaults::anAccountInUseElsewhereIsToldAndLoggedOut() {
  json box = test::AlphaWithAnna("1,1,1,1,1,1");
  box["sessions"] = json::array({{{"user", "admin"}, {"peer", "127.0.0.77"}}});
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"), QStringLiteral("secret"));

  QTRY_COMPARE_WITH_TIMEOUT(Texts(*boxes), QStringList{ToQString(kAccountInUseText)},
                            kAnsweredWithinMs);
  QVERIFY(!window.LoggedIn());
  QCOMPARE(window.State(), UiState::Listed);
  QVERIFY(WelcomeLine(window).isEmpty());
  // The other PC's session is the box's to keep.
  const std::optional<json> state = m_sim->Box("ALPHA");
  QVERIFY(state.has_value());
  QCOMPARE(state->at("sessions").size(), std::size_t(1));
  QCOMPARE(state->at("sessions")[0].at("peer").get<std::string>(), std::string("127.0.0.77"));
}

void TestMainWindowFaults::aUserOutsideTheSubnetIsToldAndLoggedOut() {
  // 127.1.0.2/16 is reachable in the namespace but not in the subnet of the
  // adapter it answers through (127.0.0.1/8).
  json box = test::AlphaWithAnna("1,1,1,1,1,1");
  box["ip"] = "127.1.0.2";
  box["netmask"] = "255.255.0.0";
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("anna"), QStringLiteral("anna2024"));

  QTRY_COMPARE_WITH_TIMEOUT(Texts(*boxes), QStringList{ToQString(kAdministratorNeededText)},
                            kAnsweredWithinMs);
  QVERIFY(!window.LoggedIn());
  QCOMPARE(window.State(), UiState::Listed);
  QVERIFY(!window.InfoPanel()->isVisible());
  // No question about a new address for a user, and no web request at all.
  for (const auto &request : m_sim->Requests()) {
    QVERIFY2(request.transport != "tcp", request.bytes.c_str());
  }
}

void TestMainWindowFaults::theFirstRunOfferIsMadeOnce() {
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"");
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({test::AlphaWithAnna("1,1,1,1,1,1")})),
           m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::Cancel);
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("anna"), QStringLiteral("anna2024"));
  QTRY_COMPARE_WITH_TIMEOUT(boxes->Count(), std::size_t(1), kAnsweredWithinMs);
  const MessageBoxRequest offer = boxes->Requests()[0];
  QCOMPARE(ToQString(offer.text),
           QStringLiteral("Welcome anna, do you want to go to wizard to setup your KS-310?"));
  QCOMPARE(ToQString(offer.caption), QStringLiteral("Corvesta"));
  QCOMPARE(offer.buttons, MessageBoxButtons::OkCancel);
  std::u16string mark;
  settings::Read(settings::kSectionUsed, settings::kKeyFirstOpen, mark);
  QCOMPARE(ToQString(mark), QStringLiteral("FALSE"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kAnsweredWithinMs);

  // The next login, of another user, is not asked again.
  QTest::mouseClick(window.GetDlgItem(kLogout), Qt::LeftButton);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"), QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->isVisible(), kAnsweredWithinMs);
  QVERIFY(window.LoggedIn());
  QCOMPARE(boxes->Count(), std::size_t(1));
}

void TestMainWindowFaults::aLoginStillRunningAtRefreshIsDropped() {
  json box = test::AlphaWithAnna("1,1,1,1,1,1");
  box["faults"] = {{"http", {{"login", {{"delay_ms", 1500}}}}}};
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"), QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(Sent(*m_sim, "cmd=login"), kAnsweredWithinMs);

  QTest::mouseClick(window.GetDlgItem(kRefresh), Qt::LeftButton);
  QCOMPARE(window.State(), UiState::Searching);
  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kListedWithinMs);
  // The login's late answer came meanwhile (the list takes longer than the
  // delay); the window stays as Refresh left it, and the session the box
  // opened is ended.
  QTRY_VERIFY_WITH_TIMEOUT(Sent(*m_sim, "cmd=logout"), kAnsweredWithinMs);
  QVERIFY(!window.LoggedIn());
  QCOMPARE(window.State(), UiState::Listed);
  QVERIFY(!window.InfoPanel()->isVisible());
  QVERIFY(WelcomeLine(window).isEmpty());
  QVERIFY(!Sent(*m_sim, "cmd=cgi_Status_Volume_Info"));
  QCOMPARE(Texts(*boxes), QStringList());
}

QTEST_MAIN(TestMainWindowFaults)
#include "tst_main_window_faults.moc"
