// The wizard frame with stand-in pages: which buttons each move leaves, the
// outcome of a page's request (also after a step-button switch), Finish
// waiting for the box, the ends of a run; and the launcher's page lists.

#include <QTest>

#include "i18n/translate.h"
#include "main_test_support.h"
#include "platform/message_box.h"
#include "support/clean_records.h"
#include "ui/main/open_dialog_slot.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/process_button.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/drive_mapping_page.h"
#include "ui/wizard/network_page.h"
#include "ui/wizard/raid_page.h"
#include "ui/wizard/time_zone_page.h"
#include "ui/wizard/user_group_page.h"
#include "ui/wizard/user_name_page.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_launch.h"
#include "ui/wizard/wizard_page.h"
#include "worker/private_messages.h"
#include "worker/ticket.h"

using namespace corvesta;
using namespace corvesta::wizard_ids;

namespace {

// A page whose Apply starts a pretend request (or refuses) and that counts
// what the frame asks of it.
class ScriptedPage : public CWizardPage {
public:
  explicit ScriptedPage(CommandIndex command = CommandIndex::SetTimeZone) : m_command(command) {}

  bool Apply() override {
    ++applies;
    if (!startsRequest) {
      return false;
    }
    ticket = NextTicket();
    RequestStarted(ticket, m_command);
    return true;
  }
  void LoadFromBox() override { ++loads; }
  bool OnQueryCancel() override { return allowCancel; }

  bool startsRequest = true;
  bool allowCancel = true;
  int applies = 0;
  int loads = 0;
  Ticket ticket = 0;

private:
  CommandIndex m_command;
};

bool Shown(CWizardDialogBase &frame, int id) {
  QWidget *button = frame.GetDlgItem(id);
  return button != nullptr && !button->isHidden() && button->isEnabled();
}

// The navigation buttons shown, as a word per button: "Skip Previous Next...".
QString Buttons(CWizardDialogBase &frame) {
  QStringList shown;
  const std::pair<int, const char *> buttons[] = {
      {kSkip, "Skip"}, {kPrevious, "Previous"}, {kNext, "Next"}, {kFinish, "Finish"}};
  for (const auto &[id, name] : buttons) {
    if (Shown(frame, id)) {
      shown << QString::fromLatin1(name);
    }
  }
  return shown.join(QLatin1Char(' '));
}

void Click(CWizardDialogBase &frame, int id) {
  QTest::mouseClick(frame.GetDlgItem(id), Qt::LeftButton);
}

void Answer(CWizardDialogBase &frame, bool success, CommandIndex index) {
  PostMessage(frame.Handle(), WM_COMMAND_RESULT, success ? kResultSuccess : kResultFailure,
              static_cast<LPARAM>(index));
  QCoreApplication::processEvents();
}

struct Run {
  explicit Run(int pages, bool administrator = true) : frame(nullptr, 0, administrator) {
    const char16_t *names[] = {u"Password", u"WorkGroup", u"TimeZone",
                               u"Network",  u"RAID",      u"DriveMapping"};
    for (int i = 0; i < pages; ++i) {
      page.push_back(std::make_unique<ScriptedPage>());
      frame.AddPage(page.back().get(), 133 + i, 0, ToQString(names[i]), QString());
    }
    frame.Initialise();
    frame.show();
  }
  std::vector<std::unique_ptr<ScriptedPage>> page;
  CWizardDialog frame;
};

} // namespace

class TestWizardFrame : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void init() { test::ResetProcessRecords(); }
  void twoPagesNextAppliesAndMovesOnSuccess();
  void onePageShowsFinishOnly();
  void skipOnTheLastPageEndsLikeExit();
  void refusalsRestoreTheButtons_data();
  void refusalsRestoreTheButtons();
  void anUnansweredRequestCountsAsRefused();
  void stepButtonForAMissingPageSaysPageLoadFailure();
  void aResultAfterAStepSwitchClearsTheSenderToo();
  void finishWaitsForTheBoxLikeNext();
  void finishWithoutARequestEndsAtOnce();
  void exitAsksThePagesCloseFromTheOwnerDoesNot();
  void stepStatesFollowTheActivePage();
  void launcherAddsThePagesOfTheUser_data();
  void launcherAddsThePagesOfTheUser();
  void launcherWithTheRealFrameShowsTheFirstPage();
  void thePagesFirstFieldHasTheFocusAndTabWalksThePageFirst();
};

void TestWizardFrame::twoPagesNextAppliesAndMovesOnSuccess() {
  Run run(2);
  ScriptedPage &first = *run.page[0];
  QCOMPARE(run.frame.ActivePage(), &first);
  QCOMPARE(first.loads, 1);
  QCOMPARE(Buttons(run.frame), QStringLiteral("Skip Next"));

  Click(run.frame, kNext);
  QCOMPARE(first.applies, 1);
  QVERIFY(first.IsPending());
  QCOMPARE(Buttons(run.frame), QString()); // all wait for the box
  Click(run.frame, kNext);                 // pending: nothing
  QCOMPARE(first.applies, 1);

  Answer(run.frame, true, CommandIndex::SetTimeZone);
  QVERIFY(!first.IsPending());
  QCOMPARE(run.frame.ActivePage(), run.page[1].get());
  QCOMPARE(run.page[1]->loads, 1);
  QCOMPARE(Buttons(run.frame), QStringLiteral("Previous Finish"));
  QVERIFY(run.frame.ApplyOnNext());

  // A late duplicate of the answer moves nothing.
  Answer(run.frame, true, CommandIndex::SetTimeZone);
  QCOMPARE(run.frame.ActivePage(), run.page[1].get());

  Click(run.frame, kPrevious);
  QCOMPARE(run.frame.ActivePage(), &first);
  QCOMPARE(first.loads, 2);
  QCOMPARE(first.applies, 1); // Previous never applies
  QCOMPARE(Buttons(run.frame), QStringLiteral("Skip Next"));
}

void TestWizardFrame::onePageShowsFinishOnly() {
  Run run(1);
  QCOMPARE(Buttons(run.frame), QStringLiteral("Skip Finish"));
  QCOMPARE(run.frame.DefaultButton(), run.frame.GetDlgItem(kFinish));
}

void TestWizardFrame::skipOnTheLastPageEndsLikeExit() {
  Run run(2);
  Click(run.frame, kSkip);
  QCOMPARE(run.page[0]->applies, 0);
  QCOMPARE(run.frame.ActivePage(), run.page[1].get());
  run.page[1]->startsRequest = false; // the drive mapping page sends nothing
  Click(run.frame, kNext);
  QVERIFY(run.frame.isVisible());
  QCOMPARE(run.frame.ActivePage(), run.page[1].get());
  QCOMPARE(Buttons(run.frame), QStringLiteral("Skip Previous Finish"));
  Click(run.frame, kSkip);
  QVERIFY(!run.frame.isVisible());
  QCOMPARE(run.frame.result(), int(QDialog::Rejected));
}

void TestWizardFrame::refusalsRestoreTheButtons_data() {
  QTest::addColumn<int>("pageIndex");
  QTest::addColumn<int>("command");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("buttons");
  QTest::newRow("first page, password refused")
      << 0 << int(CommandIndex::ChangePassword) << "password error."
      << "Skip Next";
  QTest::newRow("middle page: Finish beside Next, Skip hidden")
      << 1 << int(CommandIndex::SetDeviceIdentity) << "setting failed."
      << "Previous Next Finish";
  QTest::newRow("last page") << 2 << int(CommandIndex::SetTimeZone) << "setting failed."
                             << "Previous Finish";
}

void TestWizardFrame::refusalsRestoreTheButtons() {
  QFETCH(int, pageIndex);
  QFETCH(int, command);
  QFETCH(QString, message);
  QFETCH(QString, buttons);
  ScopedMessageBoxRecorder boxes;
  std::vector<std::unique_ptr<ScriptedPage>> pages; // outlive the frame
  CWizardDialog frame(nullptr, 0, true);
  const char16_t *names[] = {u"Password", u"WorkGroup", u"TimeZone"};
  for (int i = 0; i < 3; ++i) {
    pages.push_back(std::make_unique<ScriptedPage>(
        i == pageIndex ? static_cast<CommandIndex>(command) : CommandIndex::SetTimeZone));
    frame.AddPage(pages.back().get(), 133 + i, 0, ToQString(names[i]), QString());
  }
  frame.Initialise();
  frame.show();
  for (int i = 0; i < pageIndex; ++i) {
    frame.OnSkip();
  }
  QCOMPARE(frame.ActivePage(), pages[pageIndex].get());
  frame.OnNext();
  QVERIFY(pages[pageIndex]->IsPending());
  Answer(frame, false, static_cast<CommandIndex>(command));
  QCOMPARE(boxes->Count(), std::size_t(1));
  QCOMPARE(ToQString(boxes->Requests()[0].text), message);
  QCOMPARE(frame.ActivePage(), pages[pageIndex].get());
  QVERIFY(!pages[pageIndex]->IsPending());
  QCOMPARE(Buttons(frame), buttons);
  // Next applies again.
  frame.OnNext();
  QCOMPARE(pages[pageIndex]->applies, 2);
}

void TestWizardFrame::anUnansweredRequestCountsAsRefused() {
  ScopedMessageBoxRecorder boxes;
  Run run(2);
  Click(run.frame, kNext);
  PostMessage(run.frame.Handle(), WM_REQUEST_UNANSWERED, NextTicket(), 0); // someone else's
  QCoreApplication::processEvents();
  QVERIFY(run.page[0]->IsPending());
  PostMessage(run.frame.Handle(), WM_REQUEST_UNANSWERED, run.page[0]->ticket, 0);
  QCoreApplication::processEvents();
  QVERIFY(!run.page[0]->IsPending());
  QCOMPARE(boxes->Count(), std::size_t(1));
  QCOMPARE(ToQString(boxes->Requests()[0].text), QStringLiteral("setting failed."));
  QCOMPARE(Buttons(run.frame), QStringLiteral("Skip Next"));
}

void TestWizardFrame::stepButtonForAMissingPageSaysPageLoadFailure() {
  ScopedMessageBoxRecorder boxes;
  Run run(2, false);                  // Password and WorkGroup
  Click(run.frame, kSteps[0].button); // the active page: nothing, no reload
  QCOMPARE(run.page[0]->loads, 1);
  QCOMPARE(boxes->Count(), std::size_t(0));
  run.frame.OnStep(kSteps[2].button); // TimeZone is not in the list
  QCOMPARE(boxes->Count(), std::size_t(1));
  QCOMPARE(ToQString(boxes->Requests()[0].text), QStringLiteral("Page load failure."));
  QCOMPARE(run.frame.ActivePage(), run.page[0].get());
  run.frame.OnStep(kSteps[1].button);
  QCOMPARE(run.frame.ActivePage(), run.page[1].get());
  QCOMPARE(Buttons(run.frame), QStringLiteral("Skip Previous Finish"));
}

void TestWizardFrame::aResultAfterAStepSwitchClearsTheSenderToo() {
  Run run(3);
  run.frame.OnNext(); // the first page's request runs
  QVERIFY(run.page[0]->IsPending());
  run.frame.OnStep(kSteps[2].button); // to the third page meanwhile
  QCOMPARE(run.frame.ActivePage(), run.page[2].get());
  Answer(run.frame, false, CommandIndex::SetTimeZone);
  // The page left while its request ran works again.
  QVERIFY(!run.page[0]->IsPending());
  run.frame.OnStep(kSteps[0].button);
  run.frame.OnNext();
  QCOMPARE(run.page[0]->applies, 2);
  QVERIFY(run.page[0]->IsPending());
  // A success after a switch advances from the page active on arrival.
  run.frame.OnStep(kSteps[1].button);
  Answer(run.frame, true, CommandIndex::SetTimeZone);
  QCOMPARE(run.frame.ActivePage(), run.page[2].get());
  QVERIFY(!run.page[0]->IsPending());
}

void TestWizardFrame::finishWaitsForTheBoxLikeNext() {
  ScopedMessageBoxRecorder boxes;
  Run run(2);
  run.frame.OnSkip();
  QCOMPARE(Buttons(run.frame), QStringLiteral("Skip Previous Finish"));
  Click(run.frame, kFinish);
  QCOMPARE(run.page[1]->applies, 1);
  QVERIFY(run.frame.isVisible()); // waits for the box
  QCOMPARE(Buttons(run.frame), QString());
  Answer(run.frame, false, CommandIndex::SetTimeZone);
  QVERIFY(run.frame.isVisible());
  QCOMPARE(boxes->Count(), std::size_t(1));
  QCOMPARE(Buttons(run.frame), QStringLiteral("Previous Finish"));
  Click(run.frame, kFinish);
  Answer(run.frame, true, CommandIndex::SetTimeZone);
  QVERIFY(!run.frame.isVisible());
  QCOMPARE(run.frame.result(), kFinishedResult);
}

void TestWizardFrame::finishWithoutARequestEndsAtOnce() {
  QWidget *before = OpenDialog();
  {
    Run run(1);
    QCOMPARE(OpenDialog(), &run.frame);
    run.page[0]->startsRequest = false;
    Click(run.frame, kFinish);
    QCOMPARE(run.frame.result(), kFinishedResult);
    QCOMPARE(OpenDialog(), before); // the slot is given back when the run ends
    QVERIFY(!run.page[0]->IsCreated());
  }
}

void TestWizardFrame::exitAsksThePagesCloseFromTheOwnerDoesNot() {
  {
    Run run(2);
    run.page[0]->allowCancel = false;
    Click(run.frame, kExit);
    QVERIFY(run.frame.isVisible()); // the page said no
    QTest::keyClick(&run.frame, Qt::Key_Escape);
    QVERIFY(run.frame.isVisible());
    run.page[0]->allowCancel = true;
    Click(run.frame, kClose);
    QVERIFY(!run.frame.isVisible());
    QCOMPARE(run.frame.result(), int(QDialog::Rejected));
  }
  {
    Run run(2);
    run.page[0]->allowCancel = false;
    PostMessage(run.frame.Handle(), WM_CLOSE, 0, 0);
    QTRY_VERIFY(!run.frame.isVisible());
  }
  {
    Run run(2);
    run.page[0]->allowCancel = false;
    OpenDialog()->close(); // as the main window does on WM_NAS_LEFT_SUBNET
    QVERIFY(!run.frame.isVisible());
  }
}

void TestWizardFrame::stepStatesFollowTheActivePage() {
  Run run(6);
  run.frame.OnStep(kSteps[2].button);
  for (std::size_t i = 0; i < kSteps.size(); ++i) {
    auto *step = run.frame.GetDlgItemAs<CProcessButton>(kSteps[i].button);
    const StepState expected = i < 2    ? StepState::Done
                               : i == 2 ? StepState::Current
                                        : StepState::Pending;
    QCOMPARE(step->State(), expected);
  }
  QCOMPARE(run.frame.GetDlgItemAs<CTransStatic>(kPageTitle)->Text(), QStringLiteral("TimeZone"));
}

namespace {
struct StandInSink : WizardPageSink {
  struct Added {
    CWizardPage *page;
    int templateId;
    std::int32_t box;
    QString name;
    QString hint;
  };
  void AddPage(CWizardPage *page, int templateId, std::int32_t boxIndex, const QString &name,
               const QString &hint) override {
    added.push_back({page, templateId, boxIndex, name, hint});
  }
  std::vector<Added> added;
};
} // namespace

void TestWizardFrame::launcherAddsThePagesOfTheUser_data() {
  QTest::addColumn<bool>("administrator");
  QTest::addColumn<int>("language");
  // The six pages' titles and hints in the language; a user gets the first
  // and the last.
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QStringList>("hints");
  const QStringList english{QStringLiteral("Password"), QStringLiteral("WorkGroup"),
                            QStringLiteral("TimeZone"), QStringLiteral("Network"),
                            QStringLiteral("RAID"),     QStringLiteral("DriveMapping")};
  const QStringList englishHints{
      QStringLiteral("* You may change the password here."),
      QStringLiteral("* You may assign name/description for the storage here."),
      QStringLiteral("* Select your time zone from the list."),
      QStringLiteral("* Enter your Network information here."),
      QString(),
      QString()};
  const QStringList french{QStringLiteral("Mot de passe"),   QStringLiteral("Groupe de travail"),
                           QStringLiteral("Fuseau horaire"), QStringLiteral("Réseau"),
                           QStringLiteral("RAID"),           QStringLiteral("Lecteurs réseau")};
  const QStringList frenchHints{
      QStringLiteral("* Vous pouvez modifier le mot de passe ici."),
      QStringLiteral("* Vous pouvez attribuer ici un nom et une description au stockage."),
      QStringLiteral("* Sélectionnez votre fuseau horaire dans la liste."),
      QStringLiteral("* Saisissez ici les paramètres réseau."),
      QString(),
      QString()};
  const QStringList german{QStringLiteral("Kennwort"), QStringLiteral("Arbeitsgruppe"),
                           QStringLiteral("Zeitzone"), QStringLiteral("Netzwerk"),
                           QStringLiteral("RAID"),     QStringLiteral("Laufwerkszuordnung")};
  const QStringList germanHints{
      QStringLiteral("* Hier können Sie das Kennwort ändern."),
      QStringLiteral("* Hier können Sie dem Speicher einen Namen und eine Beschreibung geben."),
      QStringLiteral("* Wählen Sie Ihre Zeitzone aus der Liste."),
      QStringLiteral("* Geben Sie hier Ihre Netzwerkeinstellungen ein."),
      QString(),
      QString()};
  const QStringList spanish{
      QStringLiteral("Contraseña"),   QStringLiteral("Grupo de trabajo"),
      QStringLiteral("Zona horaria"), QStringLiteral("Red"),
      QStringLiteral("RAID"),         QStringLiteral("Asignación de unidades")};
  const QStringList spanishHints{
      QStringLiteral("* Aquí puede cambiar la contraseña."),
      QStringLiteral("* Aquí puede asignar un nombre y una descripción al almacenamiento."),
      QStringLiteral("* Seleccione su zona horaria en la lista."),
      QStringLiteral("* Introduzca aquí la configuración de red."),
      QString(),
      QString()};
  const QStringList russian{QStringLiteral("Пароль"),       QStringLiteral("Рабочая группа"),
                            QStringLiteral("Часовой пояс"), QStringLiteral("Сеть"),
                            QStringLiteral("RAID"),         QStringLiteral("Сетевые диски")};
  const QStringList russianHints{QStringLiteral("* Здесь можно изменить пароль."),
                                 QStringLiteral("* Здесь можно задать имя и описание хранилища."),
                                 QStringLiteral("* Выберите часовой пояс из списка."),
                                 QStringLiteral("* Введите здесь параметры сети."),
                                 QString(),
                                 QString()};
  QTest::newRow("administrator, English") << true << 0 << english << englishHints;
  QTest::newRow("administrator, French") << true << 1 << french << frenchHints;
  QTest::newRow("administrator, German") << true << 2 << german << germanHints;
  QTest::newRow("administrator, Spanish") << true << 3 << spanish << spanishHints;
  QTest::newRow("administrator, Russian") << true << 4 << russian << russianHints;
  QTest::newRow("another user, English") << false << 0 << english << englishHints;
  QTest::newRow("another user, German") << false << 2 << german << germanHints;
  QTest::newRow("another user, Russian") << false << 4 << russian << russianHints;
}

void TestWizardFrame::launcherAddsThePagesOfTheUser() {
  QFETCH(bool, administrator);
  QFETCH(int, language);
  QFETCH(QStringList, names);
  QFETCH(QStringList, hints);
  test::ScopedLanguage scoped(language);
  WizardPageSet pages;
  StandInSink sink;
  AddWizardPages(sink, pages, administrator, 3);
  // The pages each one gets: all six, or the password and drive mapping pages.
  const std::vector<int> shown =
      administrator ? std::vector<int>{0, 1, 2, 3, 4, 5} : std::vector<int>{0, 5};
  const int templates[] = {133, 134, 135, 136, 137, 138};
  QCOMPARE(sink.added.size(), shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const int page = shown[i];
    QCOMPARE(sink.added[i].name, names[page]);
    QCOMPARE(sink.added[i].hint, hints[page]);
    QCOMPARE(sink.added[i].templateId, templates[page]);
    QCOMPARE(sink.added[i].box, 3);
    QCOMPARE(sink.added[i].page, pages.Page(static_cast<std::size_t>(page)));
  }
  QVERIFY(dynamic_cast<CUserNamePage *>(sink.added.front().page) != nullptr);
  QVERIFY(dynamic_cast<CDriveMappingPage *>(sink.added.back().page) != nullptr);
  if (administrator) {
    QVERIFY(dynamic_cast<CUserGroupPage *>(sink.added[1].page) != nullptr);
    QVERIFY(dynamic_cast<CTimeZonePage *>(sink.added[2].page) != nullptr);
    QVERIFY(dynamic_cast<CNetworkPage *>(sink.added[3].page) != nullptr);
    QVERIFY(dynamic_cast<CRaidPage *>(sink.added[4].page) != nullptr);
  }
}

void TestWizardFrame::launcherWithTheRealFrameShowsTheFirstPage() {
  for (bool administrator : {true, false}) {
    WizardPageSet pages;
    CWizardDialog frame(nullptr, 0, administrator);
    AddWizardPages(frame, pages, administrator, -1); // no box: nothing is sent
    frame.Initialise();
    frame.show();
    QCOMPARE(frame.ActivePage(), pages.Page(0));
    QVERIFY(frame.GetDlgItem(kNewPassword) != nullptr);
    QCOMPARE(frame.GetDlgItem(kSteps[1].button)->isEnabled(), administrator);
    QCOMPARE(frame.GetDlgItem(kSteps[5].button)->isEnabled(), true);
    frame.OnSkip();
    QCOMPARE(frame.ActivePage(), pages.Page(administrator ? 1 : 5));
    QCOMPARE(Buttons(frame), administrator ? QStringLiteral("Skip Previous Next")
                                           : QStringLiteral("Skip Previous Finish"));
  }
}

void TestWizardFrame::thePagesFirstFieldHasTheFocusAndTabWalksThePageFirst() {
  WizardPageSet pages;
  CWizardDialog frame(nullptr, 0, true);
  AddWizardPages(frame, pages, true, -1); // no box: nothing is sent
  frame.Initialise();
  frame.show();
  QVERIFY(QTest::qWaitForWindowActive(&frame));
  QCOMPARE(frame.ActivePage(), pages.Page(0));
  QCOMPARE(QApplication::focusWidget(), frame.GetDlgItem(kOldPassword));
  // The fields, the buttons shown, then Close and the step bar.
  QList<int> walked;
  for (int i = 0; i < 6; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked << GetDlgCtrlID(QApplication::focusWidget());
  }
  QCOMPARE(walked, (QList<int>{kNewPassword, kConfirmPassword, kSkip, kNext, kExit, kClose}));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(GetDlgCtrlID(QApplication::focusWidget()), kSteps[0].button);

  // A page whose fields wait for the box's values (none here) leaves the
  // focus on the default button, never on the step bar.
  frame.OnSkip();
  QCOMPARE(frame.ActivePage(), pages.Page(1));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(frame.DefaultButton()));
  // Back on the first page its first field has the focus again.
  frame.OnPrevious();
  QCOMPARE(frame.ActivePage(), pages.Page(0));
  QCOMPARE(QApplication::focusWidget(), frame.GetDlgItem(kOldPassword));
}

QTEST_MAIN(TestWizardFrame)
#include "tst_wizard_frame.moc"
