// The information panel: its four lines, the volume gauges and the two views.

#include <QTest>

#include "main_test_support.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/skin/control_id.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/volume_info_ctrl.h"

using namespace corvesta;
namespace ids = corvesta::main_ids;

class TestNasInfoDialog : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void linesInEachLanguage_data();
  void linesInEachLanguage();
  void fifthVolumeIsIgnoredUntilCleared();
  void viewsShowGaugesOrFolders();
};

void TestNasInfoDialog::linesInEachLanguage_data() {
  QTest::addColumn<int>("language");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("gateway");
  QTest::newRow("none") << -1 << "Mask:255.255.255.0"
                        << "Gateway:10.0.0.1";
  QTest::newRow("German") << 2 << "Maske: 255.255.255.0"
                          << "Gateway: 10.0.0.1";
  QTest::newRow("Russian") << 4 << QString::fromUtf8("Маска: 255.255.255.0")
                           << QString::fromUtf8("Шлюз: 10.0.0.1");
}

void TestNasInfoDialog::linesInEachLanguage() {
  QFETCH(int, language);
  QFETCH(QString, mask);
  QFETCH(QString, gateway);
  test::ScopedLanguage scoped(language);
  QWidget window;
  CNASInfoDialog panel(&window);
  panel.SetInfo(QStringLiteral("KS-310"), QStringLiteral("10.0.0.20"),
                QStringLiteral("255.255.255.0"), QStringLiteral("10.0.0.1"));
  const int lines[] = {ids::kInfoName, ids::kInfoAddress, ids::kInfoMask, ids::kInfoGateway};
  const QString expected[] = {QStringLiteral("KS-310"), QStringLiteral("IP:10.0.0.20"), mask,
                              gateway};
  for (int i = 0; i < 4; ++i) {
    auto *line = qobject_cast<CTransStatic *>(FindDlgItem(&panel, lines[i]));
    QVERIFY(line != nullptr);
    QCOMPARE(line->Text(), expected[i]);
    QCOMPARE(line->accessibleName(), expected[i]);
  }
}

void TestNasInfoDialog::fifthVolumeIsIgnoredUntilCleared() {
  QWidget window;
  CNASInfoDialog panel(&window);
  window.show();
  for (int i = 1; i <= 5; ++i) {
    panel.AddVolume(QStringLiteral("Volume_%1").arg(i), 1000 * i, 10 * i);
  }
  QCOMPARE(panel.VolumeCount(), 4);
  // Gauges 1 to 4 in the order of their ids hold volumes 1 to 4.
  for (int i = 0; i < 4; ++i) {
    auto *gauge = qobject_cast<CVolumeInfoCtrl *>(FindDlgItem(&panel, ids::kInfoVolumes[i]));
    QVERIFY(gauge != nullptr);
    QVERIFY(gauge->isVisible());
    QCOMPARE(gauge->NameField()->Text(), QStringLiteral("Volume_%1").arg(i + 1));
  }
  panel.ClearVolumes();
  QCOMPARE(panel.VolumeCount(), 0);
  for (int i = 0; i < 4; ++i) {
    QVERIFY(!panel.Volume(i)->isVisible());
    QVERIFY(panel.Volume(i)->NameField()->Text().isEmpty());
  }
  panel.AddVolume(QStringLiteral("Volume_9"), 931, 12);
  QCOMPARE(panel.VolumeCount(), 1);
  QCOMPARE(panel.Volume(0)->NameField()->Text(), QStringLiteral("Volume_9"));
  QVERIFY(panel.Volume(0)->isVisible());
  QVERIFY(!panel.Volume(1)->isVisible());
}

void TestNasInfoDialog::viewsShowGaugesOrFolders() {
  QWidget window;
  CNASInfoDialog panel(&window);
  window.show();
  panel.AddVolume(QStringLiteral("Volume_1"), 931, 12);
  QVERIFY(!panel.FolderList()->isVisible());
  panel.ShowFolderView();
  QVERIFY(panel.FolderList()->isVisible());
  QVERIFY(!panel.Volume(0)->isVisible());
  // A volume arriving in the folder view waits for the volume view.
  panel.AddVolume(QStringLiteral("Volume_2"), 931, 12);
  QVERIFY(!panel.Volume(1)->isVisible());
  panel.ShowVolumeView();
  QVERIFY(!panel.FolderList()->isVisible());
  QVERIFY(panel.Volume(0)->isVisible());
  QVERIFY(panel.Volume(1)->isVisible());
  QVERIFY(!panel.Volume(2)->isVisible());
}

QTEST_MAIN(TestNasInfoDialog)
#include "tst_nas_info_dialog.moc"
