// The settings dialog on the offscreen platform: the radio the idle time
// ticks, what OK, Cancel and close leave, its place in the open-dialog slot,
// and the main window's Settings button while nobody is logged in.

#include <QTest>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "main_test_support.h"
#include "support/temp_folder.h"
#include "ui/main/idle_logout.h"
#include "ui/main/main_ids.h"
#include "ui/main/open_dialog_slot.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/qt_text.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/trans_static.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace corvesta::main_ids;

namespace {

const int kShownRadios[] = {kSettingsFiveMinutes, kSettingsFifteenMinutes, kSettingsThirtyMinutes,
                            kSettingsSixtyMinutes, kSettingsNever};

// Restores the process-wide idle time after each test.
class ScopedIdleTime {
public:
  explicit ScopedIdleTime(std::uint32_t value) : m_previous(IdleTime()) { SetIdleTime(value); }
  ~ScopedIdleTime() { SetIdleTime(m_previous); }

private:
  std::uint32_t m_previous;
};

QString StoredIdleTime() {
  std::u16string value;
  settings::Read(settings::kSectionCurrent, settings::kKeyLoginOutTime, value);
  return ToQString(value);
}

} // namespace

class TestSettingsDialog : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void opensWithTheRadioOfTheIdleTime_data();
  void opensWithTheRadioOfTheIdleTime();
  void endsAsChosen_data();
  void endsAsChosen();
  void sitsInTheSlotAndCloseCancels();
  void textsFollowTheLanguage();
  void settingsWhileLoggedOutOnlyStoresTheTime();
};

void TestSettingsDialog::opensWithTheRadioOfTheIdleTime_data() {
  QTest::addColumn<uint>("idle");
  QTest::addColumn<int>("ticked");
  QTest::newRow("never") << 0u << kSettingsNever;
  QTest::newRow("5 minutes") << 300000u << kSettingsFiveMinutes;
  QTest::newRow("15 minutes") << 900000u << kSettingsFifteenMinutes;
  QTest::newRow("30 minutes") << 1800000u << kSettingsThirtyMinutes;
  QTest::newRow("60 minutes") << 3600000u << kSettingsSixtyMinutes;
  QTest::newRow("1 minute is none of them") << 60000u << kSettingsNever;
  QTest::newRow("any other value") << 123u << kSettingsNever;
}

void TestSettingsDialog::opensWithTheRadioOfTheIdleTime() {
  QFETCH(uint, idle);
  QFETCH(int, ticked);
  ScopedIdleTime time(idle);
  CSettingsDialog dialog;
  dialog.show();
  for (int id : kShownRadios) {
    auto *radio = dialog.GetDlgItemAs<CGdipButton>(id);
    QVERIFY2(radio != nullptr && radio->isVisible(), qPrintable(QString::number(id)));
    QCOMPARE(radio->GetCheck(), id == ticked);
  }
  for (int id : {kSettingsOneMinute, kSettingsThreeMinutes}) {
    QVERIFY(dialog.GetDlgItem(id) != nullptr);
    QVERIFY(!dialog.GetDlgItem(id)->isVisible());
  }
}

void TestSettingsDialog::endsAsChosen_data() {
  QTest::addColumn<uint>("idle");
  QTest::addColumn<int>("click");  // a radio, or 0 for none
  QTest::addColumn<int>("ending"); // OK, Cancel or close
  QTest::addColumn<bool>("accepted");
  QTest::addColumn<uint>("after");
  QTest::newRow("OK with 15 minutes")
      << 3600000u << kSettingsFifteenMinutes << kSettingsOk << true << 900000u;
  QTest::newRow("OK with Never Logout") << 300000u << kSettingsNever << kSettingsOk << true << 0u;
  QTest::newRow("OK without a change keeps never") << 0u << 0 << kSettingsOk << true << 0u;
  QTest::newRow("OK on an odd time makes it never") << 123u << 0 << kSettingsOk << true << 0u;
  QTest::newRow("Cancel keeps the time")
      << 300000u << kSettingsSixtyMinutes << kSettingsCancel << false << 300000u;
  QTest::newRow("close keeps the time")
      << 1800000u << kSettingsFiveMinutes << kSettingsClose << false << 1800000u;
}

void TestSettingsDialog::endsAsChosen() {
  QFETCH(uint, idle);
  QFETCH(int, click);
  QFETCH(int, ending);
  QFETCH(bool, accepted);
  QFETCH(uint, after);
  ScopedIdleTime time(idle);
  CSettingsDialog dialog;
  int result = -1;
  QTimer::singleShot(0, &dialog, [&] {
    if (click != 0) {
      QTest::mouseClick(dialog.GetDlgItem(click), Qt::LeftButton);
      QVERIFY(dialog.GetDlgItemAs<CGdipButton>(click)->GetCheck());
      QCoreApplication::processEvents(); // the others learn it from a posted message
    }
    QTest::mouseClick(dialog.GetDlgItem(ending), Qt::LeftButton);
  });
  result = dialog.exec();
  QCOMPARE(result == QDialog::Accepted, accepted);
  QCOMPARE(IdleTime(), static_cast<std::uint32_t>(after));
}

void TestSettingsDialog::sitsInTheSlotAndCloseCancels() {
  ScopedIdleTime time(300000);
  QVERIFY(OpenDialog() == nullptr);
  {
    CSettingsDialog dialog;
    QCOMPARE(OpenDialog(), &dialog);
    QTimer::singleShot(0, &dialog, [&] {
      QTest::mouseClick(dialog.GetDlgItem(kSettingsNever), Qt::LeftButton);
      QVERIFY(SendMessage(dialog.Handle(), WM_CLOSE, 0, 0) == 0);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(IdleTime(), 300000u);
  }
  QVERIFY(OpenDialog() == nullptr);
}

void TestSettingsDialog::textsFollowTheLanguage() {
  ScopedIdleTime time(0);
  test::ScopedLanguage german(2);
  CSettingsDialog dialog;
  QCOMPARE(dialog.GetDlgItemAs<CGdipButton>(kSettingsNever)->text(),
           QString::fromUtf8("Niemals abmelden"));
  QCOMPARE(dialog.GetDlgItemAs<CTransStatic>(kSettingsTitle)->Text(),
           QString::fromUtf8("Einstellungen"));
  const QString description = dialog.GetDlgItemAs<CTransStatic>(kSettingsDescription)->Text();
  QVERIFY2(description.contains(QString::fromUtf8("Inaktivitäts")), qPrintable(description));
}

void TestSettingsDialog::settingsWhileLoggedOutOnlyStoresTheTime() {
  test::ScopedAppDataFolder folder;
  settings::Write(settings::kSectionCurrent, settings::kKeyLoginOutTime, u"900000:");
  CUtilityDlg window; // not started: nobody is logged in
  window.show();
  QCOMPARE(IdleTime(), 900000u);
  test::WhenModalShown<CSettingsDialog>([](CSettingsDialog *dialog) {
    QVERIFY(dialog->GetDlgItemAs<CGdipButton>(kSettingsFifteenMinutes)->GetCheck());
    QTest::mouseClick(dialog->GetDlgItem(kSettingsThirtyMinutes), Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::mouseClick(dialog->GetDlgItem(kSettingsOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(kSettings), Qt::LeftButton);
  QCOMPARE(IdleTime(), 1800000u);
  QCOMPARE(StoredIdleTime(), QStringLiteral("1800000:"));
  QVERIFY(!window.ActivityWatched());
  QVERIFY(!window.IdleTimerRunning());
  QVERIFY(!window.TimerArmed());

  // Cancel stores nothing.
  test::WhenModalShown<CSettingsDialog>([](CSettingsDialog *dialog) {
    QTest::mouseClick(dialog->GetDlgItem(kSettingsNever), Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::mouseClick(dialog->GetDlgItem(kSettingsCancel), Qt::LeftButton);
  });
  QTest::mouseClick(window.GetDlgItem(kSettings), Qt::LeftButton);
  QCOMPARE(IdleTime(), 1800000u);
  QCOMPARE(StoredIdleTime(), QStringLiteral("1800000:"));
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settings_dialog.moc"
