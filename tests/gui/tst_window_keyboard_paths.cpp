// The settings, set-IP and format dialogs from the keyboard alone: each row
// is a table of keys pressed from the dialog's opening, with the control
// that has the focus after each, and the dialog's end (its result, the idle
// time chosen, what the set-IP dialog sent to a simulated box in the test's
// network namespace, what the format dialog left of the chain).

#include <QTest>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "platform/message_box.h"
#include "ui/main/idle_logout.h"
#include "ui/main/main_ids.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/wizard/disk_ids.h"
#include "ui/wizard/process_dialog.h"
#include "ui/wizard/raid_page.h"
#include "ui/wizard/wizard_ids.h"
#include "wizard_sim_test.h"

using namespace corvesta;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr int kWithinMs = 20000;

// One key and what follows it: the control with the focus (its id; an
// address field counts as its control; 0 for none), and for a choice the
// option that is ticked then (0 when nothing is checked here).
struct KeyStep {
  Qt::Key key = Qt::Key_unknown; // Key_unknown: type `typed` instead
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  int focus = 0;
  int ticked = 0;
  const char *typed = nullptr;
};
using KeyPath = QList<KeyStep>;

KeyStep Key(Qt::Key key, int focus, int ticked = 0) {
  return {key, Qt::NoModifier, focus, ticked, nullptr};
}
KeyStep BackTab(int focus) {
  return {Qt::Key_Tab, Qt::ShiftModifier, focus, 0, nullptr};
}
KeyStep Type(const char *text, int focus) {
  return {Qt::Key_unknown, Qt::NoModifier, focus, 0, text};
}
// A key that ends the dialog: no focus to check afterwards.
KeyStep Ending(Qt::Key key) {
  return {key, Qt::NoModifier, -1, 0, nullptr};
}

// The id of the control with the focus: an address field's control for one
// of its four number fields.
int FocusedControl() {
  QWidget *focus = QApplication::focusWidget();
  if (focus == nullptr) {
    return 0;
  }
  if (qobject_cast<CGdipIpAddrCtl *>(focus->parentWidget()) != nullptr) {
    return GetDlgCtrlID(focus->parentWidget());
  }
  return GetDlgCtrlID(focus);
}

QString Describe(const KeyStep &step, int index) {
  return step.typed != nullptr
             ? QStringLiteral("step %1 (typing %2)").arg(index).arg(QLatin1String(step.typed))
             : QStringLiteral("step %1 (key %2%3)")
                   .arg(index)
                   .arg(QKeySequence(step.key).toString(), step.modifiers & Qt::ShiftModifier
                                                               ? QStringLiteral(" with Shift")
                                                               : QString());
}

// Presses the keys of `path` where the focus is (on `dialog` when nothing
// has it) and checks where each leaves the focus and the choice. Empty when
// every step went as expected, else what went wrong.
QString Walk(CGdipDialog &dialog, const KeyPath &path) {
  for (int i = 0; i < path.size(); ++i) {
    const KeyStep &step = path[i];
    QWidget *target = QApplication::focusWidget();
    if (target == nullptr || target->window() != &dialog) {
      target = &dialog;
    }
    if (step.typed != nullptr) {
      // Key by key to wherever the focus is: typing moves it on.
      for (const char c : std::string_view(step.typed)) {
        QTest::keyClick(QApplication::focusWidget(), c);
      }
    } else {
      QTest::keyClick(target, step.key, step.modifiers);
    }
    QCoreApplication::processEvents(); // a group learns its choice by a posted message
    if (step.focus >= 0 && FocusedControl() != step.focus) {
      return QStringLiteral("%1: the focus is on %2, not %3")
          .arg(Describe(step, i))
          .arg(FocusedControl())
          .arg(step.focus);
    }
    if (step.ticked != 0) {
      for (QWidget *other : dialog.findChildren<QWidget *>()) {
        auto *option = qobject_cast<CGdipButton *>(other);
        if (option == nullptr || !option->isCheckable() || !option->isVisible()) {
          continue;
        }
        if (option->GetCheck() != (GetDlgCtrlID(option) == step.ticked)) {
          return QStringLiteral("%1: #%2 is %3")
              .arg(Describe(step, i))
              .arg(GetDlgCtrlID(option))
              .arg(option->GetCheck() ? QStringLiteral("ticked") : QStringLiteral("not ticked"));
        }
      }
    }
  }
  return QString();
}

enum class Ended { Open, Accepted, Rejected };

// How a dialog ended, as its finished signal told (the format dialog goes
// as soon as it closes).
class EndWatch {
public:
  explicit EndWatch(QDialog *dialog) {
    QObject::connect(dialog, &QDialog::finished, &m_context,
                     [this](int result) { m_result = result; });
  }
  int State() const {
    if (m_result < 0) {
      return int(Ended::Open);
    }
    return int(m_result == QDialog::Accepted ? Ended::Accepted : Ended::Rejected);
  }

private:
  QObject m_context;
  int m_result = -1;
};

// ---------------------------------------------------------------- set IP

// FARBOX sits on a link-local address at the far end of a veth pair whose
// near end (10.77.0.1/24) is the PC's second network; the far end also holds
// the address the box is moved to.
constexpr char kFarMac[] = "02:aa:00:00:00:77";
constexpr std::size_t kBlockOffset = 60;
constexpr std::size_t kBlockSize = 120;
constexpr std::size_t kIpOffset = 10, kIpSize = 16, kDhcpOffset = 58;

struct SentChange {
  std::string ip;
  char dhcp = 0;
};

std::vector<SentChange> SentChanges(const NasSimProcess &sim) {
  std::vector<SentChange> sent;
  for (const test::SimRequest &r : sim.Requests()) {
    if (r.transport != "udp" || r.bytes.size() < kBlockOffset + kBlockSize ||
        r.bytes.compare(kBlockOffset, 4, "LAN1") != 0) {
      continue;
    }
    const char *ip = r.bytes.data() + kBlockOffset + kIpOffset;
    sent.push_back({std::string(ip, strnlen(ip, kIpSize)), r.bytes[kBlockOffset + kDhcpOffset]});
  }
  return sent;
}

json FarBox(bool dhcp) {
  json box = NasSimProcess::MakeBox("FARBOX", "169.254.37.12", kFarMac, "admin");
  box["netmask"] = "255.255.0.0";
  box["gateway"] = dhcp ? "" : "169.254.0.1";
  box["dhcp"] = dhcp;
  box["address_grace_ms"] = 0;
  return box;
}

// ---------------------------------------------------------------- format

constexpr std::size_t kRaidPage = 4;

// The steps of the formatting chain the box was asked, in order.
QStringList ChainSteps(const NasSimProcess &sim) {
  static const char *const kChain[] = {"cgi_AJAXPlorer_Stop", "cgi_FMT_Create_DiskMGR",
                                       "cgi_Disk_Remount", "cgi_Check_Disk_Remount_State",
                                       "cgi_FMT_Disk_Finish"};
  QStringList steps;
  for (const test::SimRequest &request : sim.Requests()) {
    for (const char *step : kChain) {
      if (request.transport == "tcp" &&
          request.bytes.find(std::string("cmd=") + step) != std::string::npos) {
        steps << QString::fromLatin1(step);
      }
    }
  }
  return steps;
}

} // namespace

Q_DECLARE_METATYPE(KeyPath)
Q_DECLARE_METATYPE(Ended)

class TestWindowKeyboardPaths : public test::WizardSimTest {
  Q_OBJECT
private Q_SLOTS:
  void initTestCase();
  void cleanupTestCase();
  void cleanup();
  void settingsDialog_data();
  void settingsDialog();
  void setIpDialog_data();
  void setIpDialog();
  void formatDialogWhileItRunsTakesNoKey();
  void formatDialogOnceEnded_data();
  void formatDialogOnceEnded();

private:
  // The main window's search has listed FARBOX; its index in the device list.
  std::int32_t StartFarBox(bool dhcp);
  // The wizard's disk mode page, Next and the question answered: the format
  // dialog, shown and running.
  CProcessDialog *StartFormat();

  bool m_lan = false;
  bool m_started = false;
  std::unique_ptr<CUtilityDlg> m_window;
};

void TestWindowKeyboardPaths::initTestCase() {
  std::system("ip link del corvkey0 2>/dev/null");
  m_lan = std::system("ip link add corvkey0 type veth peer name corvkey1 2>/dev/null && "
                      "ip link set corvkey0 up && ip link set corvkey1 multicast off up && "
                      "ip addr add 10.77.0.1/24 dev corvkey0 && "
                      "ip addr add 10.77.0.9/24 dev corvkey1 && "
                      "ip addr add 169.254.37.12/16 dev corvkey1 && "
                      "ip addr add 169.254.37.20/16 dev corvkey1 && "
                      "for f in all corvkey0 corvkey1; do "
                      "echo 1 > /proc/sys/net/ipv4/conf/$f/accept_local && "
                      "echo 0 > /proc/sys/net/ipv4/conf/$f/rp_filter; done") == 0;
  if (!m_lan) {
    std::system("ip link del corvkey0 2>/dev/null");
  }
}

void TestWindowKeyboardPaths::cleanupTestCase() {
  if (m_lan) {
    std::system("ip link del corvkey0 2>/dev/null");
  }
}

void TestWindowKeyboardPaths::cleanup() {
  m_window.reset();
  if (m_started) {
    EndFixture(kWithinMs);
    ReleaseFixture();
    m_started = false;
  }
  ClearCurrentCredentials();
}

// ---------------------------------------------------------------- settings

void TestWindowKeyboardPaths::settingsDialog_data() {
  using namespace main_ids;
  QTest::addColumn<uint>("idle");
  QTest::addColumn<int>("opensOn");
  QTest::addColumn<KeyPath>("keys");
  QTest::addColumn<Ended>("ended");
  QTest::addColumn<uint>("after");

  const int fifteen = kSettingsFifteenMinutes, thirty = kSettingsThirtyMinutes,
            sixty = kSettingsSixtyMinutes, five = kSettingsFiveMinutes, never = kSettingsNever;
  QTest::newRow("arrows choose among the times, Enter keeps the choice")
      << 900000u << fifteen
      << KeyPath{Key(Qt::Key_Down, thirty, thirty), Key(Qt::Key_Right, sixty, sixty),
                 Key(Qt::Key_Up, thirty, thirty), Ending(Qt::Key_Return)}
      << Ended::Accepted << 1800000u;
  QTest::newRow("Down from the last time comes round to the first, Space keeps it")
      << 0u << never
      << KeyPath{Key(Qt::Key_Down, five, five), Key(Qt::Key_Space, five, five),
                 Key(Qt::Key_Left, never, never), Key(Qt::Key_Right, five, five),
                 Ending(Qt::Key_Enter)}
      << Ended::Accepted << 300000u;
  QTest::newRow("Escape keeps the time after a choice")
      << 900000u << fifteen << KeyPath{Key(Qt::Key_Down, thirty, thirty), Ending(Qt::Key_Escape)}
      << Ended::Rejected << 900000u;
  QTest::newRow("Tab reaches every control and comes round")
      << 900000u << fifteen
      << KeyPath{Key(Qt::Key_Tab, thirty, fifteen),    Key(Qt::Key_Tab, sixty, fifteen),
                 Key(Qt::Key_Tab, never, fifteen),     Key(Qt::Key_Tab, kSettingsOk),
                 Key(Qt::Key_Tab, kSettingsCancel),    Key(Qt::Key_Tab, kSettingsClose),
                 Key(Qt::Key_Tab, kSettingsLogoutTab), Key(Qt::Key_Tab, five, fifteen),
                 Key(Qt::Key_Tab, fifteen, fifteen),   BackTab(five)}
      << Ended::Open << 900000u;
  QTest::newRow("Space on the tab leaves it the current page")
      << 900000u << fifteen
      << KeyPath{BackTab(five), BackTab(kSettingsLogoutTab),
                 Key(Qt::Key_Space, kSettingsLogoutTab, fifteen)}
      << Ended::Open << 900000u;
  QTest::newRow("Space on a time, then Space on OK")
      << 300000u << five
      << KeyPath{Key(Qt::Key_Tab, fifteen, five),
                 Key(Qt::Key_Space, fifteen, fifteen),
                 Key(Qt::Key_Tab, thirty, fifteen),
                 Key(Qt::Key_Tab, sixty, fifteen),
                 Key(Qt::Key_Tab, never, fifteen),
                 Key(Qt::Key_Tab, kSettingsOk),
                 Ending(Qt::Key_Space)}
      << Ended::Accepted << 900000u;
  QTest::newRow("Enter on Cancel cancels") << 900000u << fifteen
                                           << KeyPath{Key(Qt::Key_Down, thirty, thirty),
                                                      BackTab(fifteen),
                                                      BackTab(five),
                                                      BackTab(kSettingsLogoutTab),
                                                      BackTab(kSettingsClose),
                                                      BackTab(kSettingsCancel),
                                                      Ending(Qt::Key_Return)}
                                           << Ended::Rejected << 900000u;
  QTest::newRow("Space on Close cancels") << 3600000u << sixty
                                          << KeyPath{Key(Qt::Key_Up, thirty, thirty),
                                                     Key(Qt::Key_Tab, sixty, thirty),
                                                     Key(Qt::Key_Tab, never, thirty),
                                                     Key(Qt::Key_Tab, kSettingsOk),
                                                     Key(Qt::Key_Tab, kSettingsCancel),
                                                     Key(Qt::Key_Tab, kSettingsClose),
                                                     Ending(Qt::Key_Space)}
                                          << Ended::Rejected << 3600000u;
}

void TestWindowKeyboardPaths::settingsDialog() {
  QFETCH(uint, idle);
  QFETCH(int, opensOn);
  QFETCH(KeyPath, keys);
  QFETCH(Ended, ended);
  QFETCH(uint, after);
  const std::uint32_t before = IdleTime();
  SetIdleTime(idle);
  {
    CSettingsDialog dialog;
    EndWatch end(&dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(FocusedControl(), opensOn);
    const QString wrong = Walk(dialog, keys);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QTRY_COMPARE(end.State(), int(ended)); // a key presses a button by an animated click
    QCOMPARE(IdleTime(), static_cast<std::uint32_t>(after));
  }
  SetIdleTime(before);
}

// ---------------------------------------------------------------- set IP

std::int32_t TestWindowKeyboardPaths::StartFarBox(bool dhcp) {
  StartFixture(0.2);
  m_started = true;
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  if (!m_sim->Start(NasSimProcess::MakeState({FarBox(dhcp)}))) {
    qWarning("%s", m_sim->Error().c_str());
    return -1;
  }
  m_window = std::make_unique<CUtilityDlg>();
  m_window->show();
  m_window->Start();
  if (!QTest::qWaitFor([this] { return m_window->State() == UiState::Listed; }, kWithinMs)) {
    return -1;
  }
  const std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (std::string(devices[i].name) == "FARBOX") {
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

void TestWindowKeyboardPaths::setIpDialog_data() {
  using namespace main_ids;
  QTest::addColumn<bool>("dhcp"); // what the box uses
  QTest::addColumn<int>("opensOn");
  QTest::addColumn<KeyPath>("keys");
  QTest::addColumn<Ended>("ended");
  QTest::addColumn<QString>("sentIp"); // "" for nothing sent
  QTest::addColumn<char>("sentDhcp");

  const int dhcp = kSetIpDhcp, fixed = kSetIpStatic;
  QTest::newRow("a new address typed and Enter in the mask sends it")
      << false << fixed
      << KeyPath{Key(Qt::Key_Tab, kSetIpAddress), Type("169.254.37.20", kSetIpAddress),
                 Key(Qt::Key_Tab, kSetIpMask), Ending(Qt::Key_Return)}
      << Ended::Accepted << "169.254.37.20" << '0';
  QTest::newRow("arrows switch between DHCP and static, Enter sends DHCP")
      << false << fixed
      << KeyPath{Key(Qt::Key_Up, dhcp, dhcp), Key(Qt::Key_Down, fixed, fixed),
                 Key(Qt::Key_Left, dhcp, dhcp), Ending(Qt::Key_Enter)}
      << Ended::Accepted << "169.254.37.12" << '1';
  QTest::newRow("Space chooses static on a DHCP box, Enter on OK sends the address")
      << true << dhcp << KeyPath{Key(Qt::Key_Tab, fixed, dhcp),   Key(Qt::Key_Space, fixed, fixed),
                                 Key(Qt::Key_Tab, kSetIpAddress), Key(Qt::Key_Tab, kSetIpMask),
                                 Key(Qt::Key_Tab, kSetIpGateway), Key(Qt::Key_Tab, kSetIpOk),
                                 Ending(Qt::Key_Return)}
      << Ended::Accepted << "169.254.37.12" << '0';
  QTest::newRow("Enter on a DHCP box left as it is sends nothing")
      << true << dhcp << KeyPath{Ending(Qt::Key_Return)} << Ended::Accepted << "" << '\0';
  QTest::newRow("Tab reaches every control and comes round")
      << false << fixed << KeyPath{Key(Qt::Key_Tab, kSetIpAddress), Key(Qt::Key_Tab, kSetIpMask),
                                   Key(Qt::Key_Tab, kSetIpGateway), Key(Qt::Key_Tab, kSetIpOk),
                                   Key(Qt::Key_Tab, kSetIpCancel),  Key(Qt::Key_Tab, dhcp, fixed),
                                   Key(Qt::Key_Tab, fixed, fixed),  BackTab(dhcp),
                                   BackTab(kSetIpCancel),           BackTab(kSetIpOk),
                                   BackTab(kSetIpGateway)}
      << Ended::Open << "" << '\0';
  QTest::newRow("with DHCP chosen Tab skips the hidden fields")
      << true << dhcp
      << KeyPath{Key(Qt::Key_Tab, fixed, dhcp), Key(Qt::Key_Tab, kSetIpOk),
                 Key(Qt::Key_Tab, kSetIpCancel), Key(Qt::Key_Tab, dhcp, dhcp)}
      << Ended::Open << "" << '\0';
  QTest::newRow("Escape after a change sends nothing")
      << false << fixed << KeyPath{Key(Qt::Key_Up, dhcp, dhcp), Ending(Qt::Key_Escape)}
      << Ended::Rejected << "" << '\0';
  QTest::newRow("Escape in an address field cancels")
      << false << fixed
      << KeyPath{Key(Qt::Key_Tab, kSetIpAddress), Type("10", kSetIpAddress), Ending(Qt::Key_Escape)}
      << Ended::Rejected << "" << '\0';
  QTest::newRow("Enter on Cancel cancels")
      << false << fixed << KeyPath{BackTab(dhcp), BackTab(kSetIpCancel), Ending(Qt::Key_Return)}
      << Ended::Rejected << "" << '\0';
}

void TestWindowKeyboardPaths::setIpDialog() {
  QFETCH(bool, dhcp);
  QFETCH(int, opensOn);
  QFETCH(KeyPath, keys);
  QFETCH(Ended, ended);
  QFETCH(QString, sentIp);
  QFETCH(char, sentDhcp);
  if (!m_lan) {
    QSKIP("cannot make a veth pair in this namespace");
  }
  const std::int32_t index = StartFarBox(dhcp);
  QVERIFY(index >= 0);
  ScopedMessageBoxRecorder boxes;
  CSettingIpDialog dialog(index);
  EndWatch end(&dialog);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QCOMPARE(FocusedControl(), opensOn);
  const QString wrong = Walk(dialog, keys);
  QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
  QTRY_COMPARE_WITH_TIMEOUT(end.State(), int(ended), kWithinMs);
  QCOMPARE(boxes->Count(), std::size_t(0));
  QTest::qWait(100);
  const std::vector<SentChange> sent = SentChanges(*m_sim);
  if (sentIp.isEmpty()) {
    QCOMPARE(sent.size(), std::size_t(0));
    return;
  }
  QCOMPARE(sent.size(), std::size_t(1));
  QCOMPARE(QString::fromStdString(sent[0].ip), sentIp);
  QCOMPARE(sent[0].dhcp, sentDhcp);
}

// ---------------------------------------------------------------- format

CProcessDialog *TestWindowKeyboardPaths::StartFormat() {
  StartFixture(test::kTimeScale);
  m_started = true;
  json box = NasSimProcess::MakeBox("ALPHA", test::kBoxIp, "02:aa:00:00:00:02", test::kPassword);
  box["disks"] = json::array({json{{"device", "sda"}, {"size_gib", 1000}}});
  box["format_seconds"] = 1;
  if (!m_sim->Start(NasSimProcess::MakeState({box}))) {
    qWarning("%s", m_sim->Error().c_str());
    return nullptr;
  }
  SetCurrentCredentials(MakeCredentials("admin", test::kPassword));
  OpenFrame("ALPHA", test::kBoxIp);
  m_frame->OnStep(wizard_ids::kSteps[kRaidPage].button);
  auto *page = static_cast<CRaidPage *>(m_pages->Page(kRaidPage));
  if (!QTest::qWaitFor([page] { return page->ReportReceived(); }, test::kWaitMs)) {
    return nullptr;
  }
  ScopedMessageBoxRecorder boxes;
  boxes->QueueAnswer(MessageBoxResult::Ok); // the question before formatting
  m_frame->OnNext();
  CProcessDialog *dialog = page->Dialog();
  if (dialog == nullptr || !QTest::qWaitForWindowActive(dialog)) {
    return nullptr;
  }
  return dialog;
}

// While the chain runs nothing takes the focus and no key ends the dialog.
void TestWindowKeyboardPaths::formatDialogWhileItRunsTakesNoKey() {
  CProcessDialog *dialog = StartFormat();
  QVERIFY(dialog != nullptr);
  QVERIFY(dialog->Running());
  const QString wrong = Walk(*dialog, {Key(Qt::Key_Escape, 0), Key(Qt::Key_Return, 0),
                                       Key(Qt::Key_Tab, 0), Key(Qt::Key_Space, 0)});
  QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
  QVERIFY(dialog->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(dialog->Outcome().has_value(), test::kWaitMs);
  QVERIFY(dialog->isVisible());
  dialog->accept();
}

void TestWindowKeyboardPaths::formatDialogOnceEnded_data() {
  using namespace disk_ids;
  QTest::addColumn<KeyPath>("keys");
  QTest::addColumn<Ended>("ended");
  QTest::newRow("Enter presses OK") << KeyPath{Ending(Qt::Key_Return)} << Ended::Accepted;
  QTest::newRow("Escape closes") << KeyPath{Ending(Qt::Key_Escape)} << Ended::Rejected;
  QTest::newRow("Tab reaches every button and comes round, Space on Cancel")
      << KeyPath{Key(Qt::Key_Tab, kCancel), Key(Qt::Key_Tab, kClose), Key(Qt::Key_Tab, kOk),
                 BackTab(kClose),           BackTab(kCancel),         Ending(Qt::Key_Space)}
      << Ended::Rejected;
  QTest::newRow("Space on OK") << KeyPath{Ending(Qt::Key_Space)} << Ended::Accepted;
}

// Once the chain has ended OK has the focus: Enter and Space confirm.
void TestWindowKeyboardPaths::formatDialogOnceEnded() {
  QFETCH(KeyPath, keys);
  QFETCH(Ended, ended);
  CProcessDialog *dialog = StartFormat();
  QVERIFY(dialog != nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(dialog->Outcome().has_value(), test::kWaitMs);
  QVERIFY(dialog->Outcome()->Succeeded());
  const QStringList chain = ChainSteps(*m_sim);
  QCOMPARE(chain.size(), 5);
  QCOMPARE(FocusedControl(), disk_ids::kOk);
  EndWatch end(dialog);
  const QString wrong = Walk(*dialog, keys);
  QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
  QTRY_COMPARE(end.State(), int(ended));
  QTest::qWait(100);
  QCOMPARE(ChainSteps(*m_sim), chain); // the keys sent nothing more
}

QTEST_MAIN(TestWindowKeyboardPaths)
#include "tst_window_keyboard_paths.moc"
