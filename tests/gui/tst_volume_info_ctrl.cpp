#include <QAccessible>
#include <QtTest>

#include "i18n/current_language.h"
#include "skin_test_support.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_process_ctrl.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/volume_info_ctrl.h"

using namespace corvesta;

class TestVolumeInfoCtrl : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void setVolume_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("used");
    QTest::addColumn<QString>("usage");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<int>("bar");
    QTest::newRow("931, 12") << 931 << 12 << QStringLiteral("12G Used/931G Available")
                             << QStringLiteral("1%") << 1;
    QTest::newRow("931, 466") << 931 << 466 << QStringLiteral("466G Used/931G Available")
                              << QStringLiteral("50%") << 50;
    QTest::newRow("rounded up") << 3 << 2 << QStringLiteral("2G Used/3G Available")
                                << QStringLiteral("67%") << 67;
    QTest::newRow("full") << 100 << 100 << QStringLiteral("100G Used/100G Available")
                          << QStringLiteral("100%") << 100;
    QTest::newRow("no size") << 0 << 0 << QStringLiteral("0G Used/0G Available")
                             << QStringLiteral("0%") << 0;
  }
  void setVolume() {
    QFETCH(int, total);
    QFETCH(int, used);
    QFETCH(QString, usage);
    QFETCH(QString, percent);
    QFETCH(int, bar);
    CVolumeInfoCtrl volume;
    QCOMPARE(volume.Bar()->GetPos(), 50); // until the first SetVolume
    volume.SetVolume(total, used, QStringLiteral("Volume_1"));
    QCOMPARE(volume.NameField()->Text(), QStringLiteral("Volume_1"));
    QCOMPARE(volume.UsageField()->Text(), usage);
    QCOMPARE(volume.PercentField()->Text(), percent);
    QCOMPARE(volume.Bar()->GetPos(), bar);
  }

  void aScreenReaderReadsTheGaugeAsItIsShown() {
    CVolumeInfoCtrl volume;
    volume.setAccessibleName(QStringLiteral("Volume_1"));
    volume.SetVolume(931, 466, QStringLiteral("Volume_1"));
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(volume.Bar());
    QCOMPARE(bar->role(), QAccessible::ProgressBar);
    QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Volume_1"));
    QVERIFY(bar->valueInterface() != nullptr);
    QCOMPARE(bar->valueInterface()->currentValue().toInt(), 50);
    QCOMPARE(bar->valueInterface()->maximumValue().toInt(), 100);
    QCOMPARE(bar->text(QAccessible::Value), QStringLiteral("50%"));
    for (CTransStatic *field : {volume.NameField(), volume.UsageField(), volume.PercentField()}) {
      QAccessibleInterface *label = QAccessible::queryAccessibleInterface(field);
      QCOMPARE(label->role(), QAccessible::StaticText);
      QCOMPARE(label->text(QAccessible::Name), field->Text());
      QVERIFY(!field->Text().isEmpty());
    }
    // Names follow the texts.
    volume.SetVolume(100, 100, QStringLiteral("Volume_2"));
    QCOMPARE(QAccessible::queryAccessibleInterface(volume.PercentField())->text(QAccessible::Name),
             QStringLiteral("100%"));
    QCOMPARE(bar->valueInterface()->currentValue().toInt(), 100);
  }

  // A name set to the text follows the text; a name of the label's own stays.
  void aLabelsNameFollowsItsText() {
    CTransStatic welcome;
    welcome.SetText(QStringLiteral("Welcome admin"));
    welcome.setAccessibleName(welcome.Text());
    welcome.SetText(QString());
    QVERIFY(welcome.accessibleName().isEmpty());
    welcome.SetText(QStringLiteral("Welcome guest"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&welcome)->text(QAccessible::Name),
             QStringLiteral("Welcome guest"));
    CTransStatic named;
    named.SetText(QStringLiteral("50%"));
    named.setAccessibleName(QStringLiteral("Volume_1 used"));
    named.SetText(QStringLiteral("60%"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&named)->text(QAccessible::Name),
             QStringLiteral("Volume_1 used"));
  }

  void theUsageTextIsTranslated() {
    QVERIFY(SelectLanguage(2)); // German
    CVolumeInfoCtrl volume;
    volume.SetVolume(931, 12, QStringLiteral("Volume_2"));
    ClearCurrentLanguage();
    QCOMPARE(volume.UsageField()->Text(), QStringLiteral("12 GB belegt/931 GB frei"));
    QCOMPARE(volume.PercentField()->Text(), QStringLiteral("1%"));
  }

  void childrenKeepTheirPlaces() {
    CVolumeInfoCtrl volume;
    volume.resize(600, 80);
    const struct {
      int id;
      QRect where;
    } children[] = {{1, QRect(QPoint(48, 12), QPoint(124, 29))},
                    {2, QRect(QPoint(141, 35), QPoint(412, 48))},
                    {3, QRect(QPoint(422, 14), QPoint(467, 30))},
                    {4, QRect(QPoint(140, 16), QPoint(411, 29))}};
    for (const auto &child : children) {
      QWidget *widget = FindDlgItem(&volume, child.id);
      QVERIFY(widget != nullptr);
      QCOMPARE(widget->geometry(), child.where);
    }
    QVERIFY(volume.Bar()->ImagesLoaded());
    QCOMPARE(volume.Bar()->Maximum(), 100);
    QVERIFY(volume.NameField()->Format() & Qt::AlignRight);
    QVERIFY(volume.UsageField()->Format() & Qt::AlignLeft);
  }

  void clearingEmptiesTheTexts() {
    CVolumeInfoCtrl volume;
    volume.SetVolume(10, 5, QStringLiteral("Volume_3"));
    volume.ClearVolume();
    QVERIFY(volume.NameField()->Text().isEmpty());
    QVERIFY(volume.UsageField()->Text().isEmpty());
    QVERIFY(volume.PercentField()->Text().isEmpty());
  }
};

QTEST_MAIN(TestVolumeInfoCtrl)
#include "tst_volume_info_ctrl.moc"
