// The drive mapping page against a simulated box in the test's network
// namespace, with the network drives answered by the recorder: the labels a
// scan gives, the letters a Location cell offers, what a choice connects and
// disconnects (and in which order), what each outcome says, and that the
// list takes no choice while a change runs and Exit stops it.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QTest>

#include "i18n/own_texts.h"
#include "main_test_support.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/replies/share_list.h"
#include "platform/message_box.h"
#include "platform/message_queue_target.h"
#include "platform/network_drives.h"
#include "platform/text_codec.h"
#include "support/clean_records.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/main/ui_text.h"
#include "ui/qt_text.h"
#include "ui/skin/gdip_list_combo_box.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/wizard/drive_mapping_page.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_launch.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace corvesta::wizard_ids;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr char kBoxIp[] = "127.0.0.3";
constexpr char kBoxName[] = "HOMESTORE";
constexpr char kAnnaPassword[] = "anna2024";
constexpr std::size_t kDrivePageOrder = 5;
constexpr int kWaitMs = 15000;

json Box() {
  json box = NasSimProcess::MakeBox(kBoxName, kBoxIp, "02:c0:de:00:00:02", "admin123");
  box["accounts"] = json::array({{{"user", "admin"}, {"password", "admin123"}},
                                 {{"user", "anna"}, {"password", kAnnaPassword}}});
  box["shares"] = json::array({{{"name", "Public"}},
                               {{"name", "Photos"}, {"users", {"admin", "anna"}}},
                               {{"name", "Backup"}, {"users", {"admin"}}},
                               {{"name", "usbdisk1"}, {"usb", true}}});
  return box;
}

DriveMapping Mapping(char letter, const std::string &server, const std::string &share,
                     bool connected = true) {
  DriveMapping mapping;
  mapping.letter = letter;
  mapping.server = server;
  mapping.share = share;
  mapping.user = "anna";
  mapping.remembered = true;
  mapping.connected = connected;
  return mapping;
}

QString Text(std::u16string_view english) {
  return ToQString(english);
}

} // namespace

Q_DECLARE_METATYPE(std::vector<DriveMapping>)
Q_DECLARE_METATYPE(std::vector<DriveResult>)

class TestDriveMappingPage : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void initTestCase();
  void init();
  void cleanup();
  void labelsAfterAScan_data();
  void labelsAfterAScan();
  void lettersOfferedInALocationCell();
  void noChoicesWithoutTheFocusInTheList();
  void theKeysOfAComboBoxOpenTheChooser_data();
  void theKeysOfAComboBoxOpenTheChooser();
  void theSameLetterDoesNothing();
  void aChoiceConnectsOrDisconnects_data();
  void aChoiceConnectsOrDisconnects();
  void aCauseIsTranslated();
  void aRowBeyondTheShareListIsIgnored();
  void whileAChangeRunsTheListTakesNoChoiceAndExitStopsIt();
  void aShareListFailureEmptiesTheList();
  void aShareListThatCannotBeAskedForIsSaid();

private:
  void Open();
  CDriveMappingPage *Page() const {
    return static_cast<CDriveMappingPage *>(m_pages->Page(kDrivePageOrder));
  }
  CGdipListCtrl *List() const { return Page()->List(); }
  MessageBoxRecorder &Boxes() const { return **m_boxes; }
  QStringList Column(int column) const;
  QStringList Choices(int row);
  // Picks `location` in the row's Location cell, as the chooser does.
  void Pick(int row, const QString &location);

  std::unique_ptr<test::CleanRecords> m_clean;
  std::unique_ptr<test::ScopedAppDataFolder> m_settings;
  std::unique_ptr<NasSimProcess> m_sim;
  std::unique_ptr<MessageQueueTarget> m_owner;
  std::unique_ptr<ScopedNetworkDrivesRecorder> m_drives;
  std::unique_ptr<ScopedMessageBoxRecorder> m_boxes;
  std::unique_ptr<WizardPageSet> m_pages;
  std::unique_ptr<CWizardDialog> m_frame;
};

void TestDriveMappingPage::initTestCase() {
  SetDriveTimeScaleForTests(0.1);
}

void TestDriveMappingPage::init() {
  m_clean = std::make_unique<test::CleanRecords>();
  m_settings = std::make_unique<test::ScopedAppDataFolder>();
  m_sim = std::make_unique<NasSimProcess>();
  m_owner = std::make_unique<MessageQueueTarget>();
  m_drives = std::make_unique<ScopedNetworkDrivesRecorder>();
  m_boxes = std::make_unique<ScopedMessageBoxRecorder>();
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({Box()})), m_sim->Error().c_str());
  SetCurrentCredentials(MakeCredentials("anna", kAnnaPassword));
}

void TestDriveMappingPage::cleanup() {
  m_frame.reset();
  m_pages.reset();
  m_boxes.reset();
  m_drives.reset();
  m_owner.reset();
  m_sim.reset();
  ClearCurrentCredentials();
  m_settings.reset();
  m_clean.reset();
}

// The wizard as anna gets it, on the drive mapping page, once the share list
// has been read.
void TestDriveMappingPage::Open() {
  const std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [&](std::vector<NasDevice> &devices) {
    NasDevice box;
    CopyToField(box.name, sizeof box.name, kBoxName);
    CopyToField(box.ip, sizeof box.ip, kBoxIp);
    CopyToField(box.netmask, sizeof box.netmask, "255.0.0.0");
    devices.push_back(box);
  });
  m_pages = std::make_unique<WizardPageSet>();
  m_frame = std::make_unique<CWizardDialog>(nullptr, m_owner->Handle(), false);
  AddWizardPages(*m_frame, *m_pages, false, 0);
  m_frame->Initialise();
  m_frame->show();
  m_frame->OnStep(kSteps[kDrivePageOrder].button);
  QCOMPARE(m_frame->ActivePage(), Page());
  QTRY_VERIFY_WITH_TIMEOUT(List()->GetItemCount() > 0 || Boxes().Count() > 0, kWaitMs);
  QCOMPARE(Page()->BoxAddress(), std::string(kBoxIp));
}

QStringList TestDriveMappingPage::Column(int column) const {
  QStringList texts;
  for (int row = 0; row < List()->GetItemCount(); ++row) {
    texts << List()->GetItemText(row, column);
  }
  return texts;
}

QStringList TestDriveMappingPage::Choices(int row) {
  QApplication::setActiveWindow(m_frame.get());
  List()->setFocus(Qt::OtherFocusReason);
  if (!QTest::qWaitFor([this] { return List()->hasFocus(); })) {
    return {QStringLiteral("the list did not take the focus")};
  }
  QStringList choices{QStringLiteral("stale")};
  SendMessage(Page()->Handle(), WM_SKIN_FILL_CHOICES, static_cast<WPARAM>(row),
              reinterpret_cast<LPARAM>(&choices));
  return choices;
}

void TestDriveMappingPage::Pick(int row, const QString &location) {
  List()->EndCellEdit(row, 1, location);
}

// ---------------------------------------------------------------- scan

void TestDriveMappingPage::labelsAfterAScan_data() {
  QTest::addColumn<std::vector<DriveMapping>>("mappings");
  QTest::addColumn<QStringList>("locations");
  const QString select = QStringLiteral("select");
  const std::string ip = kBoxIp;
  QTest::newRow("nothing mapped") << std::vector<DriveMapping>{} << QStringList{select, select};
  QTest::newRow("by the box's address") << std::vector<DriveMapping>{Mapping('Z', ip, "Photos")}
                                        << QStringList{select, QStringLiteral("Z:")};
  QTest::newRow("by the box's name is not recognised")
      << std::vector<DriveMapping>{Mapping('Z', kBoxName, "Photos")} << QStringList{select, select};
  QTest::newRow("share names compare exactly")
      << std::vector<DriveMapping>{Mapping('Z', ip, "photos")} << QStringList{select, select};
  QTest::newRow("remembered while the box was off stays the share's")
      << std::vector<DriveMapping>{Mapping('W', ip, "Public", false)}
      << QStringList{QStringLiteral("W:"), select};
  QTest::newRow("two letters: the first from Z down")
      << std::vector<DriveMapping>{Mapping('X', ip, "Photos"), Mapping('Y', ip, "Photos")}
      << QStringList{select, QStringLiteral("Y:")};
  QTest::newRow("an overlong server is skipped")
      << std::vector<DriveMapping>{Mapping('Z', std::string(60, 'a'), "Photos"),
                                   Mapping('V', ip, std::string(300, 'p'))}
      << QStringList{select, select};
}

void TestDriveMappingPage::labelsAfterAScan() {
  QFETCH(std::vector<DriveMapping>, mappings);
  QFETCH(QStringList, locations);
  for (const DriveMapping &mapping : mappings) {
    (*m_drives)->AddMapping(mapping);
  }
  Open();
  // anna sees the shares she may use, and no USB disk.
  QCOMPARE(Column(0), (QStringList{QStringLiteral("Public"), QStringLiteral("Photos")}));
  QCOMPARE(Column(1), locations);
  QCOMPARE(Boxes().Count(), std::size_t{0});
}

// ---------------------------------------------------------------- choices

void TestDriveMappingPage::lettersOfferedInALocationCell() {
  (*m_drives)->AddMapping(Mapping('Z', kBoxIp, "Photos"));
  (*m_drives)->AddMapping(Mapping('Q', "10.9.9.9", "Music"));        // another box
  (*m_drives)->AddMapping(Mapping('P', "10.9.9.9", "Video", false)); // remembered, box off
  (*m_drives)->AddForeignLetter('M');                                // ~/Drives/M is the user's own
  (*m_drives)->AddForeignLetter('C');
  Open();
  QCOMPARE(Column(1), (QStringList{QStringLiteral("select"), QStringLiteral("Z:")}));
  // Read from the records: the desktop's file service, which may keep a
  // caller waiting, is never asked from the page.
  QCOMPARE((*m_drives)->ListCalls(), 0);

  QStringList others;
  for (char16_t letter = u'Y'; letter >= u'A'; --letter) {
    if (std::u16string_view(u"QPMC").find(letter) == std::u16string_view::npos) {
      others << QString(QChar(letter)) + QLatin1Char(':');
    }
  }
  // The row's own letter is offered to it, and to no other row.
  QCOMPARE(Choices(1), QStringList{QStringLiteral("select")} << QStringLiteral("Z:") << others);
  QCOMPARE(Choices(0), QStringList{QStringLiteral("select")} << others);
}

void TestDriveMappingPage::noChoicesWithoutTheFocusInTheList() {
  Open();
  auto *elsewhere = m_frame->GetDlgItemAs<QWidget>(kExit);
  QApplication::setActiveWindow(m_frame.get());
  elsewhere->setFocus(Qt::OtherFocusReason);
  QTRY_VERIFY(elsewhere->hasFocus());
  QStringList choices{QStringLiteral("stale")};
  SendMessage(Page()->Handle(), WM_SKIN_FILL_CHOICES, 0, reinterpret_cast<LPARAM>(&choices));
  QVERIFY(choices.isEmpty());
}

// From the keyboard: Down to Photos, a key that opens a combo box, Down to
// the first letter and Enter maps it; Escape leaves the cell as it was. No
// key in the list ends the wizard.
void TestDriveMappingPage::theKeysOfAComboBoxOpenTheChooser_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<bool>("choose"); // false: Escape in the open chooser
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  QTest::newRow("Space") << int(Qt::Key_Space) << none << true;
  QTest::newRow("F2") << int(Qt::Key_F2) << none << true;
  QTest::newRow("F4") << int(Qt::Key_F4) << none << true;
  QTest::newRow("Enter") << int(Qt::Key_Return) << none << true;
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                << true;
  QTest::newRow("Alt+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier) << true;
  QTest::newRow("Enter, then Escape") << int(Qt::Key_Return) << none << false;
}

void TestDriveMappingPage::theKeysOfAComboBoxOpenTheChooser() {
  QFETCH(int, key);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(bool, choose);
  Open();
  QCOMPARE(List()->GetItemCount(), 2);
  QApplication::setActiveWindow(m_frame.get());
  List()->setFocus(Qt::TabFocusReason);
  QTRY_VERIFY(List()->hasFocus());
  List()->SetSelectedRow(0);
  QTest::keyClick(List(), Qt::Key_Down);
  QCOMPARE(List()->GetSelectedRow(), 1);

  QTest::keyClick(List(), static_cast<Qt::Key>(key), modifiers);
  CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
  QVERIFY(chooser != nullptr);
  QTRY_VERIFY(chooser->view()->isVisible());
  QCOMPARE(chooser->itemText(1), QStringLiteral("Z:"));
  QVERIFY(m_frame->isVisible());

  if (choose) {
    QTest::keyClick(chooser->view(), Qt::Key_Down);
    QTest::keyClick(chooser->view(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(Boxes().Count() >= 1, kWaitMs);
    QCOMPARE((*m_drives)->Calls(),
             std::vector<std::string>{"map Z: 127.0.0.3 Photos anna anna2024 remember"});
    QCOMPARE(ToQString(Boxes().Requests().at(0).text), Text(u"Mount is successful."));
    QCOMPARE(List()->GetItemText(1, 1), QStringLiteral("Z:"));
  } else {
    QTest::keyClick(chooser->view(), Qt::Key_Escape);
    QTRY_VERIFY(!chooser->isVisible());
    QTest::qWait(50);
    QVERIFY((*m_drives)->Calls().empty());
    QCOMPARE(List()->GetItemText(1, 1), QStringLiteral("select"));
    // The offscreen platform does not hand the activation back from a
    // closed popup by itself; the list is the frame's focus again.
    QApplication::setActiveWindow(m_frame.get());
    QTRY_VERIFY(List()->hasFocus());
  }
  QVERIFY(m_frame->isVisible());
  QCOMPARE(m_frame->ActivePage(), Page());
}

// ---------------------------------------------------------------- changes

void TestDriveMappingPage::theSameLetterDoesNothing() {
  (*m_drives)->AddMapping(Mapping('Z', kBoxIp, "Photos"));
  Open();
  Pick(1, QStringLiteral("Z:"));
  Pick(0, QStringLiteral("select"));
  QTest::qWait(100);
  QVERIFY((*m_drives)->Calls().empty());
  QCOMPARE(Boxes().Count(), std::size_t{0});
  QCOMPARE(Column(1), (QStringList{QStringLiteral("select"), QStringLiteral("Z:")}));
}

void TestDriveMappingPage::aChoiceConnectsOrDisconnects_data() {
  QTest::addColumn<QString>("before"); // Photos' letter, or "select"
  QTest::addColumn<QString>("pick");
  QTest::addColumn<std::vector<DriveResult>>("script");
  QTest::addColumn<QStringList>("calls");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("after");
  const QString select = QStringLiteral("select");
  const QString map = QStringLiteral("map X: 127.0.0.3 Photos anna anna2024 remember");
  const QString failed = Text(u"Mount is failed.");
  const DriveResult ok;
  QTest::newRow("connect") << select << QStringLiteral("X:") << std::vector<DriveResult>{}
                           << QStringList{map} << Text(u"Mount is successful.")
                           << QStringLiteral("X:");
  QTest::newRow("connect refused")
      << select << QStringLiteral("X:") << std::vector<DriveResult>{{DriveCause::Refused, {}}}
      << QStringList{map} << failed + QLatin1Char('\n') + Text(kDriveRefusedText) << select;
  QTest::newRow("Y: to X: removes Y: first")
      << QStringLiteral("Y:") << QStringLiteral("X:") << std::vector<DriveResult>{}
      << QStringList{QStringLiteral("unmap Y:"), map} << Text(u"Mount is successful.")
      << QStringLiteral("X:");
  QTest::newRow("Y: to X: that fails leaves no letter")
      << QStringLiteral("Y:") << QStringLiteral("X:")
      << std::vector<DriveResult>{ok, {DriveCause::NoAnswer, {}}}
      << QStringList{QStringLiteral("unmap Y:"), map}
      << failed + QLatin1Char('\n') + Text(kDriveNoAnswerText) << select;
  QTest::newRow("Y: to X: when Y: cannot go keeps Y:")
      << QStringLiteral("Y:") << QStringLiteral("X:")
      << std::vector<DriveResult>{{DriveCause::Failed, {}}}
      << QStringList{QStringLiteral("unmap Y:")}
      << failed + QLatin1Char('\n') + Text(kDriveFailedText) << QStringLiteral("Y:");
  QTest::newRow("X: is taken after all")
      << select << QStringLiteral("X:") << std::vector<DriveResult>{{DriveCause::LetterInUse, {}}}
      << QStringList{map} << failed + QLatin1Char('\n') + Text(kDriveLetterInUseText) << select;
  QTest::newRow("disconnect") << QStringLiteral("Y:") << select << std::vector<DriveResult>{}
                              << QStringList{QStringLiteral("unmap Y:")}
                              << Text(u"Unmount is successful.") << select;
  QTest::newRow("disconnect fails")
      << QStringLiteral("Y:") << select << std::vector<DriveResult>{{DriveCause::RecordFailed, {}}}
      << QStringList{QStringLiteral("unmap Y:")}
      << Text(u"Umount is failed.") + QLatin1Char('\n') + Text(kDriveRecordFailedText)
      << QStringLiteral("Y:");
}

void TestDriveMappingPage::aChoiceConnectsOrDisconnects() {
  QFETCH(QString, before);
  QFETCH(QString, pick);
  QFETCH(std::vector<DriveResult>, script);
  QFETCH(QStringList, calls);
  QFETCH(QString, message);
  QFETCH(QString, after);
  if (before != QStringLiteral("select")) {
    (*m_drives)->AddMapping(Mapping(before.front().toLatin1(), kBoxIp, "Photos"));
  }
  for (const DriveResult &result : script) {
    (*m_drives)->ScriptResult(result);
  }
  Open();
  QCOMPARE(List()->GetItemText(1, 1), before);
  Pick(1, pick);
  QTRY_VERIFY_WITH_TIMEOUT(Boxes().Count() >= 1, kWaitMs);
  QStringList made;
  for (const std::string &call : (*m_drives)->Calls()) {
    made << QString::fromStdString(call);
  }
  QCOMPARE(made, calls);
  QCOMPARE(ToQString(Boxes().Requests().at(0).text), message);
  QCOMPARE(List()->GetItemText(1, 1), after);
  QCOMPARE(List()->GetItemText(0, 1), QStringLiteral("select"));
  QCOMPARE(ToQString(ShareList::Instance().Snapshot().at(1).label), after);
  QVERIFY(!Page()->ChangeRunning());
  QVERIFY(List()->isEnabled());
}

void TestDriveMappingPage::aCauseIsTranslated() {
  test::ScopedLanguage german(2);
  (*m_drives)->ScriptResult({DriveCause::NoSuchShare, {}});
  Open();
  const QString select = List()->GetItemText(1, 1);
  QVERIFY(select != QStringLiteral("select"));
  Pick(1, QStringLiteral("X:"));
  QTRY_VERIFY_WITH_TIMEOUT(Boxes().Count() >= 1, kWaitMs);
  const QStringList lines = ToQString(Boxes().Requests().at(0).text).split(QLatin1Char('\n'));
  QCOMPARE(lines.size(), 2);
  QCOMPARE(lines[0], UiText(u"Mount is failed."));
  QVERIFY(lines[0] != QStringLiteral("Mount is failed."));
  QCOMPARE(lines[1], QStringLiteral("Das NAS hat keine Freigabe dieses Namens."));
  QCOMPARE(List()->GetItemText(1, 1), select);
}

void TestDriveMappingPage::aRowBeyondTheShareListIsIgnored() {
  Open();
  List()->InsertItem(2, QStringLiteral("Ghost"));
  List()->SetItemText(2, 1, QStringLiteral("select"));
  Pick(2, QStringLiteral("X:"));
  QTest::qWait(100);
  QVERIFY((*m_drives)->Calls().empty());
  QCOMPARE(Boxes().Count(), std::size_t{0});
}

void TestDriveMappingPage::whileAChangeRunsTheListTakesNoChoiceAndExitStopsIt() {
  (*m_drives)->Hold(true);
  Open();
  Pick(1, QStringLiteral("X:"));
  QTRY_VERIFY_WITH_TIMEOUT((*m_drives)->Waiting(), kWaitMs);
  QVERIFY(Page()->ChangeRunning());
  QVERIFY(!List()->isEnabled());
  QStringList choices{QStringLiteral("stale")};
  SendMessage(Page()->Handle(), WM_SKIN_FILL_CHOICES, 0, reinterpret_cast<LPARAM>(&choices));
  QVERIFY(choices.isEmpty());
  // A choice that reaches the page anyway is undone and starts nothing.
  Pick(0, QStringLiteral("Y:"));
  QTest::qWait(50);
  QCOMPARE(List()->GetItemText(0, 1), QStringLiteral("select"));
  QCOMPARE((*m_drives)->Calls().size(), std::size_t{1});

  // Exit stops the change and waits for it; nothing more is said.
  m_frame->GetDlgItemAs<QAbstractButton>(kExit)->click();
  QVERIFY(!Page()->ChangeRunning());
  QVERIFY(!(*m_drives)->Waiting());
  QTest::qWait(50);
  QCOMPARE(Boxes().Count(), std::size_t{0});
  QVERIFY((*m_drives)->Records().empty());
}

void TestDriveMappingPage::aShareListFailureEmptiesTheList() {
  // A good list first: anna's two shares.
  Open();
  QCOMPARE(Column(0), (QStringList{QStringLiteral("Public"), QStringLiteral("Photos")}));
  QCOMPARE(Boxes().Count(), std::size_t{0});

  // The revisit's list fails: the rows of the first visit go.
  QVERIFY(m_sim->SetFaults(kBoxName, {{"http", {{"cgi_get_share_info2", {{"status", 500}}}}}}));
  m_frame->OnStep(kSteps[0].button);
  m_frame->OnStep(kSteps[kDrivePageOrder].button);
  QCOMPARE(m_frame->ActivePage(), Page());
  QTRY_VERIFY_WITH_TIMEOUT(Boxes().Count() >= 1, kWaitMs);
  QCOMPARE(ToQString(Boxes().Requests().at(0).text), UiText(u"get the NAS share file error."));
  QCOMPARE(List()->GetItemCount(), 0);
}

void TestDriveMappingPage::aShareListThatCannotBeAskedForIsSaid() {
  // The box the wizard was opened for has left the device list.
  DeviceList::Instance().Clear();
  m_pages = std::make_unique<WizardPageSet>();
  m_frame = std::make_unique<CWizardDialog>(nullptr, m_owner->Handle(), false);
  AddWizardPages(*m_frame, *m_pages, false, 0);
  m_frame->Initialise();
  m_frame->show();
  m_frame->OnStep(kSteps[kDrivePageOrder].button);
  QTRY_VERIFY_WITH_TIMEOUT(Boxes().Count() >= 1, kWaitMs);
  QCOMPARE(ToQString(Boxes().Requests().at(0).text), UiText(u"Get wizard information failed."));
  QCOMPARE(List()->GetItemCount(), 0);
  QVERIFY((*m_drives)->Calls().empty());
}

QTEST_MAIN(TestDriveMappingPage)
#include "tst_drive_mapping_page.moc"
