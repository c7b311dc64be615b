// Every window as a screen reader finds it, in each of the five languages:
// the main window before and after a login (volume and folder views), the
// login, settings and set-IP dialogs, the wizard on each of its pages with
// the drive list filled, and the format dialog as it starts and as it ends.
// The audit (accessibility_audit.h) must find nothing; in German the names of
// a few controls per window are the German texts the window shows.

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTest>

#include "accessibility_audit.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "platform/message_box.h"
#include "platform/network_drives.h"
#include "platform/text_codec.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/skin/skin_button.h"
#include "ui/skin/skin_tool_tip.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/disk_ids.h"
#include "ui/wizard/drive_mapping_page.h"
#include "ui/wizard/process_dialog.h"
#include "ui/wizard/raid_page.h"
#include "ui/wizard/time_zone_page.h"
#include "ui/wizard/wizard_ids.h"
#include "wizard_sim_test.h"

using namespace corvesta;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr int kGerman = 2;
constexpr double kMainTimeScale = 0.2;
constexpr int kWithinMs = 20000;
constexpr std::size_t kRaidPage = 4;
constexpr std::size_t kDriveMappingPage = 5;

QString AsText(const char *text) {
  return QString::fromUtf8(text);
}
QString AsText(const QString &text) {
  return text;
}

// The audit of `window` must come back empty; the failure lists what to fix.
#define VERIFY_ACCESSIBLE(window, where)                                                           \
  do {                                                                                             \
    const QStringList problems = test::AccessibilityProblems(window);                              \
    QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("%1:\n").arg(AsText(where)) +           \
                                            problems.join(QLatin1Char('\n'))));                    \
  } while (false)

// A control whose German name is checked: `english` is what it is called in
// English; its name must be the text the window shows for it (its own text,
// its label's for a field, its tool tip's for a picture button).
struct NamedControl {
  int id;
  const char *english;
  int label = 0; // the label whose text names a field
};

QString AccessibleName(QWidget *control) {
  QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
  return face == nullptr ? QString() : face->text(QAccessible::Name);
}

// What the window shows for a control.
QString ShownText(QWidget *control) {
  if (const auto *label = qobject_cast<CTransStatic *>(control)) {
    return label->Text();
  }
  if (const auto *button = qobject_cast<CSkinButton *>(control)) {
    if (button->text().isEmpty() && button->ToolTip() != nullptr) {
      return button->ToolTip()->Text();
    }
    return button->text();
  }
  return QString();
}

// In German each control is named by the German text shown, not the English.
QString GermanNameProblems(const CGdipDialog &window,
                           std::initializer_list<NamedControl> controls) {
  QStringList problems;
  for (const NamedControl &c : controls) {
    QWidget *control = window.GetDlgItem(c.id);
    if (control == nullptr) {
      problems << QStringLiteral("#%1 is missing").arg(c.id);
      continue;
    }
    const QString name = AccessibleName(control);
    const QString shown = c.label != 0 ? ShownText(window.GetDlgItem(c.label)) : ShownText(control);
    if (name == QString::fromUtf8(c.english) || name != shown || shown.isEmpty()) {
      problems << QStringLiteral("#%1 is called '%2', shows '%3' (English '%4')")
                      .arg(c.id)
                      .arg(name, shown, QString::fromUtf8(c.english));
    }
  }
  return problems.join(QLatin1Char('\n'));
}

#define VERIFY_GERMAN_NAMES(language, window, ...)                                                 \
  do {                                                                                             \
    if ((language) == kGerman) {                                                                   \
      const QString wrong = GermanNameProblems(window, __VA_ARGS__);                               \
      QVERIFY2(wrong.isEmpty(), qPrintable(wrong));                                                \
    }                                                                                              \
  } while (false)

void AddLanguageRows() {
  QTest::addColumn<int>("language");
  const char *names[] = {"English", "French", "German", "Spanish", "Russian"};
  for (int i = 0; i < 5; ++i) {
    QTest::newRow(names[i]) << i;
  }
}

// A box of the device list at a link-local address with a fixed address, so
// the set-IP dialog opens with its address fields shown. Nothing is sent.
void ListStaticBox() {
  const std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [](std::vector<NasDevice> &devices) {
    NasDevice box;
    CopyToField(box.name, sizeof box.name, "FARBOX");
    CopyToField(box.ip, sizeof box.ip, "169.254.37.12");
    CopyToField(box.netmask, sizeof box.netmask, "255.255.0.0");
    CopyToField(box.gateway, sizeof box.gateway, "169.254.0.1");
    devices.push_back(box);
  });
}

json WizardBox() {
  json box = NasSimProcess::MakeBox("ALPHA", test::kBoxIp, "02:aa:00:00:00:02", test::kPassword);
  box["disks"] = json::array(
      {json{{"device", "sda"}, {"size_gib", 1000}}, json{{"device", "sdb"}, {"size_gib", 1000}}});
  box["format_seconds"] = 1;
  box["shares"] = json::array({{{"name", "Public"}}, {{"name", "Photos"}}});
  return box;
}

} // namespace

class TestWindowAccessibility : public test::WizardSimTest {
  Q_OBJECT
private Q_SLOTS:
  void cleanup();
  void theAuditNamesWhatToFix();
  void mainWindowBeforeAndAfterALogin_data() { AddLanguageRows(); }
  void mainWindowBeforeAndAfterALogin();
  void loginDialog_data() { AddLanguageRows(); }
  void loginDialog();
  void settingsDialog_data() { AddLanguageRows(); }
  void settingsDialog();
  void setIpDialogInBothModes_data() { AddLanguageRows(); }
  void setIpDialogInBothModes();
  void wizardOnEachPage_data() { AddLanguageRows(); }
  void wizardOnEachPage();
  void formatDialogAtItsStartAndItsEnd_data() { AddLanguageRows(); }
  void formatDialogAtItsStartAndItsEnd();
  void aTimeZoneIsChosenByItsListItem();

private:
  bool m_started = false;
  void Start(double timeScale) {
    StartFixture(timeScale);
    m_started = true;
  }
};

void TestWindowAccessibility::cleanup() {
  if (m_started) {
    EndFixture(kWithinMs);
    ReleaseFixture();
    m_started = false;
  }
  ClearCurrentCredentials();
}

// A dialog with one fault of each kind the audit can see here, beside
// controls it must leave alone.
void TestWindowAccessibility::theAuditNamesWhatToFix() {
  CGdipDialog dialog; // no title
  auto *unnamed = new CGdipButton(ButtonKind::PushButton, &dialog);
  SetDlgCtrlID(unnamed, 7001);
  auto *plain = new QWidget(&dialog); // takes the focus, reads as nothing
  SetDlgCtrlID(plain, 7002);
  plain->setFocusPolicy(Qt::StrongFocus);
  auto *off = new CGdipButton(ButtonKind::CheckBox, &dialog);
  SetDlgCtrlID(off, 7003);
  off->setEnabled(false); // still needs its name
  auto *named = MakeTextButton(&dialog, 7004, QRect(0, 0, 80, 30), QStringLiteral("OK"));
  auto *hidden = new CGdipButton(ButtonKind::PushButton, &dialog);
  SetDlgCtrlID(hidden, 7005);
  hidden->hide();
  auto *picture = new CGdipIconStatic(&dialog); // decoration
  SetDlgCtrlID(picture, 7006);
  dialog.show();
  QVERIFY(named->isVisible());

  const QStringList problems = test::AccessibilityProblems(&dialog);
  const QString all = problems.join(QLatin1Char('\n'));
  QCOMPARE(problems.size(), 5);
  QVERIFY2(problems[0].contains(QStringLiteral("the window has no name")), qPrintable(all));
  QVERIFY2(problems.filter(QStringLiteral("#7001")).size() == 1 &&
               problems.filter(QStringLiteral("#7001"))[0].endsWith(QStringLiteral("no name")),
           qPrintable(all));
  const QStringList plainLines = problems.filter(QStringLiteral("QWidget #7002"));
  QCOMPARE(plainLines.size(), 2); // a generic role and no name
  QVERIFY2(plainLines.filter(QStringLiteral("generic")).size() == 1, qPrintable(all));
  QVERIFY2(problems.filter(QStringLiteral("#7003")).size() == 1, qPrintable(all));
  for (const char *quiet : {"#7004", "#7005", "#7006"}) {
    QVERIFY2(problems.filter(QString::fromLatin1(quiet)).isEmpty(), qPrintable(all));
  }

  // Named, the same dialog passes but for the plain widget's role.
  dialog.setWindowTitle(QStringLiteral("Faults"));
  unnamed->setAccessibleName(QStringLiteral("Help"));
  off->setText(QStringLiteral("Remember Me"));
  plain->setAccessibleName(QStringLiteral("Pad"));
  QCOMPARE(test::AccessibilityProblems(&dialog).size(), 1);
  plain->setFocusPolicy(Qt::NoFocus);
  QCOMPARE(test::AccessibilityProblems(&dialog), QStringList());
}

void TestWindowAccessibility::mainWindowBeforeAndAfterALogin() {
  QFETCH(int, language);
  test::ScopedLanguage scoped(language);
  Start(kMainTimeScale);
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  json box = test::AlphaWithAnna("rw");
  box["shares"] = json::array({{{"name", "Photos"}}, {{"name", "Music"}}});
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  ScopedMessageBoxRecorder boxes;
  CUtilityDlg window;
  test::StartListed(window, kWithinMs);
  VERIFY_ACCESSIBLE(&window, "listed, nobody logged in");
  using namespace main_ids;
  VERIFY_GERMAN_NAMES(language, window,
                      {{kConnect, "Connect"}, {kRefresh, "Refresh"}, {kSettings, "Settings"}});

  test::ConnectAs(window, QStringLiteral("ALPHA"), QStringLiteral("admin"),
                  QStringLiteral("secret"));
  QTRY_VERIFY_WITH_TIMEOUT(window.LoggedIn(), kWithinMs);
  QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(window.InfoPanel()->VolumeCount() == 1, kWithinMs);
  VERIFY_ACCESSIBLE(&window, "logged in, the volumes");
  VERIFY_GERMAN_NAMES(language, window, {{kLogout, "Logout"}, {kWizard, "Wizard"}});

  QTest::mouseClick(window.GetDlgItem(kFolder), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(window.InfoPanel()->FolderList()->FolderCount(), 2, kWithinMs);
  VERIFY_ACCESSIBLE(&window, "logged in, the folders");
  QCOMPARE(boxes->Count(), std::size_t(0));
}

void TestWindowAccessibility::loginDialog() {
  QFETCH(int, language);
  test::ScopedLanguage scoped(language);
  CLoginDialog dialog;
  dialog.Prepare(QString(), QString());
  dialog.show();
  VERIFY_ACCESSIBLE(&dialog, "login");
  using namespace main_ids;
  VERIFY_GERMAN_NAMES(language, dialog,
                      {{kLoginCancel, "Cancel"},
                       {kLoginRemember, "Remember Me"},
                       {kLoginPassword, "Password", kLoginPasswordLabel},
                       {kLoginUser, "User Name", kLoginUserLabel}});
}

void TestWindowAccessibility::settingsDialog() {
  QFETCH(int, language);
  test::ScopedLanguage scoped(language);
  CSettingsDialog dialog;
  dialog.show();
  // Its one page, the logout time, is its only tab.
  VERIFY_ACCESSIBLE(&dialog, "settings, logout time");
  using namespace main_ids;
  QAccessibleInterface *tab =
      QAccessible::queryAccessibleInterface(dialog.GetDlgItem(kSettingsLogoutTab));
  QCOMPARE(tab->role(), QAccessible::PageTab);
  QVERIFY(tab->state().selected);
  VERIFY_GERMAN_NAMES(language, dialog,
                      {{kSettingsLogoutTab, "Logout Time"},
                       {kSettingsNever, "Never Logout"},
                       {kSettingsCancel, "Cancel"},
                       {kSettingsClose, "Close"}});
}

void TestWindowAccessibility::setIpDialogInBothModes() {
  QFETCH(int, language);
  test::ScopedLanguage scoped(language);
  ListStaticBox();
  CSettingIpDialog dialog(0);
  dialog.show();
  using namespace main_ids;
  QVERIFY(dialog.GetDlgItem(kSetIpAddress)->isVisible());
  VERIFY_ACCESSIBLE(&dialog, "set IP, static");
  // An address reads as one field holding the whole address.
  QAccessibleInterface *mask = QAccessible::queryAccessibleInterface(dialog.GetDlgItem(kSetIpMask));
  QCOMPARE(mask->role(), QAccessible::EditableText);
  QCOMPARE(mask->text(QAccessible::Value), QStringLiteral("255.255.0.0"));
  QCOMPARE(mask->childCount(), 4);
  QCOMPARE(mask->child(3)->text(QAccessible::Value), QStringLiteral("0"));
  VERIFY_GERMAN_NAMES(language, dialog,
                      {{kSetIpStatic, "Static"},
                       {kSetIpCancel, "Cancel"},
                       {kSetIpMask, "Subnet Mask", kSetIpMaskLabel}});
  QTest::mouseClick(dialog.GetDlgItem(kSetIpDhcp), Qt::LeftButton);
  QVERIFY(!dialog.GetDlgItem(kSetIpAddress)->isVisible());
  VERIFY_ACCESSIBLE(&dialog, "set IP, DHCP");
  dialog.reject();
}

void TestWindowAccessibility::wizardOnEachPage() {
  QFETCH(int, language);
  test::ScopedLanguage scoped(language);
  Start(test::kTimeScale);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({WizardBox()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", test::kPassword));
  ScopedNetworkDrivesRecorder drives;
  ScopedMessageBoxRecorder boxes;
  OpenFrame("ALPHA", test::kBoxIp);
  using namespace wizard_ids;
  for (std::size_t page = 0; page < kSteps.size(); ++page) {
    m_frame->OnStep(kSteps[page].button);
    QCOMPARE(m_frame->ActivePage(), m_pages->Page(page));
    // What the page read from the box has arrived.
    QTRY_COMPARE_WITH_TIMEOUT(CQuery::LiveCount(), m_liveBefore, test::kWaitMs);
    if (page == kDriveMappingPage) {
      auto *drivePage = static_cast<CDriveMappingPage *>(m_pages->Page(page));
      QTRY_COMPARE_WITH_TIMEOUT(drivePage->List()->GetItemCount(), 2, test::kWaitMs);
    }
    QCoreApplication::processEvents();
    VERIFY_ACCESSIBLE(m_frame.get(), ToQString(kSteps[page].key));
  }
  VERIFY_GERMAN_NAMES(language, *m_frame,
                      {{kPrevious, "Previous"}, {kExit, "Exit"}, {kSteps[2].button, "TimeZone"}});
  QCOMPARE(boxes->Count(), std::size_t(0));
}

void TestWindowAccessibility::formatDialogAtItsStartAndItsEnd() {
  QFETCH(int, language);
  test::ScopedLanguage scoped(language);
  Start(test::kTimeScale);
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({WizardBox()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", test::kPassword));
  ScopedMessageBoxRecorder boxes;
  OpenFrame("ALPHA", test::kBoxIp);
  m_frame->OnStep(wizard_ids::kSteps[kRaidPage].button);
  auto *page = static_cast<CRaidPage *>(m_pages->Page(kRaidPage));
  QTRY_VERIFY_WITH_TIMEOUT(page->ReportReceived(), test::kWaitMs);
  boxes->QueueAnswer(MessageBoxResult::Ok); // the question before formatting
  m_frame->OnNext();
  CProcessDialog *dialog = page->Dialog();
  QVERIFY(dialog != nullptr && dialog->isVisible());
  using namespace disk_ids;
  VERIFY_ACCESSIBLE(dialog, "format, starting");
  VERIFY_GERMAN_NAMES(language, *dialog, {{kTitle, "Format Hard Drives"}, {kCancel, "Cancel"}});

  QTRY_VERIFY_WITH_TIMEOUT(dialog->Outcome().has_value(), test::kWaitMs);
  QVERIFY(dialog->Outcome()->Succeeded());
  VERIFY_ACCESSIBLE(dialog, "format, ended");
  VERIFY_GERMAN_NAMES(language, *dialog, {{kTitle, "Complete"}, {kCancel, "Cancel"}});
  dialog->accept();
}

// The time zones read as a list of rows; a row's press action chooses it as
// a click does, and Next sends that zone.
void TestWindowAccessibility::aTimeZoneIsChosenByItsListItem() {
  Start(test::kTimeScale);
  json box = WizardBox();
  box["timezone"] = 37;
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("admin", test::kPassword));
  ScopedMessageBoxRecorder boxes;
  OpenFrame("ALPHA", test::kBoxIp);
  using namespace wizard_ids;
  m_frame->OnStep(kSteps[2].button);
  auto *page = static_cast<CTimeZonePage *>(m_pages->Page(2));
  QTRY_COMPARE_WITH_TIMEOUT(page->LoadedRow(), 36, test::kWaitMs);
  QAccessibleInterface *list =
      QAccessible::queryAccessibleInterface(m_frame->GetDlgItem(kZoneList));
  QCOMPARE(list->role(), QAccessible::List);
  QCOMPARE(list->childCount(), 96);
  QCOMPARE(list->child(6)->role(), QAccessible::ListItem);
  QCOMPARE(list->child(6)->text(QAccessible::Name),
           QStringLiteral("Pacific Time (US & Canada), GMT-08:00"));
  QVERIFY(list->child(36)->state().selected);
  QVERIFY(!list->child(95)->state().selected);
  QVERIFY(list->child(95)->state().offscreen);

  list->child(95)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCOMPARE(page->SelectedRow(), 95);
  QVERIFY(list->child(95)->state().selected);
  QVERIFY(!list->child(95)->state().offscreen); // scrolled into view
  QVERIFY(!list->child(36)->state().selected);
  m_frame->OnNext();
  QTRY_COMPARE_WITH_TIMEOUT(m_sim->Box("ALPHA")->at("timezone").get<int>(), 96, test::kWaitMs);
  QCOMPARE(boxes->Count(), std::size_t(0));
}

QTEST_MAIN(TestWindowAccessibility)
#include "tst_window_accessibility.moc"
