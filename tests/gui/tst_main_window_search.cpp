// The main window's word on its search against simulated boxes: "Searching"
// with its pulse while a discovery runs (the first one and Refresh), gone
// once the list fills, and the no-box word with its hint when nothing
// answered, readable by assistive technology in every language.

#include <QAccessible>
#include <QTest>

#include "i18n/own_texts.h"
#include "main_test_support.h"
#include "main_window_sim.h"
#include "nas/box_protocol.h"
#include "ui/main/main_ids.h"
#include "ui/main/search_status.h"
#include "ui/main/ui_text.h"
#include "ui/main/utility_dlg.h"
#include "ui/skin/trans_static.h"

using namespace corvesta;
using namespace corvesta::main_ids;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

// Discovery's waits, shortened; still several pulse steps long.
constexpr double kTimeScale = 0.5;
constexpr int kListedWithinMs = 20000;
using Mode = CSearchStatus::Mode;

// What assistive technology reads of a label: its role and its name.
void VerifyReadAs(CTransStatic *label, const QString &text) {
  QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(label);
  QVERIFY(readable != nullptr);
  QCOMPARE(readable->role(), QAccessible::StaticText);
  QCOMPARE(readable->text(QAccessible::Name), text);
  QVERIFY(!readable->state().invisible);
}

} // namespace

class TestMainWindowSearch : public QObject, public test::SimWindowFixture {
  Q_OBJECT
private Q_SLOTS:
  void init() { SetUp(kTimeScale); }
  void cleanup() { TearDown(); }
  void searchingIsShownWhileDiscoveryRunsAndGoesWhenTheListFills();
  void noBoxAnsweredSaysWhatToCheck_data();
  void noBoxAnsweredSaysWhatToCheck();
  void refreshSearchesVisiblyAgain();
};

void TestMainWindowSearch::searchingIsShownWhileDiscoveryRunsAndGoesWhenTheListFills() {
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({test::SimBox("ALPHA", 2)})),
           m_sim->Error().c_str());
  CUtilityDlg window;
  CSearchStatus *status = window.SearchStatus();
  window.show();
  QVERIFY(!status->isVisible()); // nothing runs before Start
  window.Start();
  QCOMPARE(window.State(), UiState::Searching);
  QCOMPARE(status->CurrentMode(), Mode::Searching);
  QVERIFY(status->isVisible());
  QVERIFY(!status->Hint()->isVisible());
  QCOMPARE(status->Message()->Text(), UiText(kSearchingText));
  VerifyReadAs(status->Message(), UiText(kSearchingText));
  // The pulse moves while the discovery runs: the event loop is not held.
  QVERIFY(status->Pulsing());
  QTRY_VERIFY_WITH_TIMEOUT(status->PulseStep() != 0, 2000);
  QCOMPARE(window.State(), UiState::Searching);

  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kListedWithinMs);
  QCOMPARE(test::ListedNames(window), QStringList{QStringLiteral("ALPHA")});
  QCOMPARE(status->CurrentMode(), Mode::Idle);
  QVERIFY(!status->isVisible());
  QVERIFY(!status->Pulsing());
}

void TestMainWindowSearch::noBoxAnsweredSaysWhatToCheck_data() {
  QTest::addColumn<int>("language");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("refresh");
  QTest::newRow("English") << 0 << "No NAS answered."
                           << "\"Refresh\"";
  QTest::newRow("German") << 2 << "Kein NAS hat geantwortet."
                          << "„Aktual.“";
  QTest::newRow("Russian") << 4 << "Ни один NAS не ответил."
                           << "«Обновить.»";
}

void TestMainWindowSearch::noBoxAnsweredSaysWhatToCheck() {
  QFETCH(int, language);
  QFETCH(QString, message);
  QFETCH(QString, refresh);
  test::ScopedLanguage chosen(language);
  // A box that hears the probe and stays silent is no box to list.
  json box = test::SimBox("ALPHA", 2);
  box["faults"] = {{"udp", {{"probe", {{"silent", true}}}}}};
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  CSearchStatus *status = window.SearchStatus();
  QCOMPARE(status->CurrentMode(), Mode::NoBox);
  QVERIFY(!status->Pulsing());
  QCOMPARE(status->Message()->Text(), message);
  const QString hint = status->Hint()->Text();
  QVERIFY2(hint.contains(QString::number(box::kUdpPort)), qPrintable(hint));
  QVERIFY2(hint.contains(refresh), qPrintable(hint));
  QVERIFY2(!hint.contains(QStringLiteral("%s")), qPrintable(hint));
  VerifyReadAs(status->Message(), message);
  VerifyReadAs(status->Hint(), hint);
  // The hint has room for all of itself.
  const QRect needed = status->Hint()->fontMetrics().boundingRect(status->Hint()->rect(),
                                                                  status->Hint()->Format(), hint);
  QVERIFY2(needed.height() <= status->Hint()->height(), qPrintable(hint));
}

void TestMainWindowSearch::refreshSearchesVisiblyAgain() {
  json box = test::SimBox("ALPHA", 2);
  box["faults"] = {{"udp", {{"probe", {{"silent", true}}}}}};
  QVERIFY2(m_sim->Start(NasSimProcess::MakeState({box})), m_sim->Error().c_str());
  CUtilityDlg window;
  test::StartListed(window, kListedWithinMs);
  CSearchStatus *status = window.SearchStatus();
  QCOMPARE(status->CurrentMode(), Mode::NoBox);

  // The box answers now; Refresh shows the search as the first one did.
  QVERIFY(m_sim->SetFaults("ALPHA", json::object()));
  QTest::mouseClick(window.GetDlgItem(kRefresh), Qt::LeftButton);
  QCOMPARE(window.State(), UiState::Searching);
  QCOMPARE(status->CurrentMode(), Mode::Searching);
  QVERIFY(status->isVisible());
  QVERIFY(!status->Hint()->isVisible());
  QVERIFY(status->Pulsing());
  VerifyReadAs(status->Message(), UiText(kSearchingText));

  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kListedWithinMs);
  QCOMPARE(test::ListedNames(window), QStringList{QStringLiteral("ALPHA")});
  QCOMPARE(status->CurrentMode(), Mode::Idle);
  QVERIFY(!status->isVisible());

  // And back: a Refresh that nothing answers ends in the no-box word.
  QVERIFY(m_sim->SetFaults("ALPHA", json{{"udp", {{"probe", {{"silent", true}}}}}}));
  QTest::mouseClick(window.GetDlgItem(kRefresh), Qt::LeftButton);
  QCOMPARE(status->CurrentMode(), Mode::Searching);
  QTRY_COMPARE_WITH_TIMEOUT(window.State(), UiState::Listed, kListedWithinMs);
  QCOMPARE(status->CurrentMode(), Mode::NoBox);
  QVERIFY(status->Hint()->isVisible());
}

QTEST_MAIN(TestMainWindowSearch)
#include "tst_main_window_search.moc"
