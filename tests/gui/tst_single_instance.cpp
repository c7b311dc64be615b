// One copy per settings file: a second claim on the same settings asks the
// first copy to show itself; other settings files run side by side. And the
// program without a display says so instead of aborting.

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include "ui/main/single_instance.h"

using namespace corvesta;

class TestSingleInstance : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void secondClaimOnTheSameSettingsAsksTheFirst();
  void otherSettingsRunSideBySide();
  void aCopyThatEndedLeavesNoClaim();
  void withoutADisplayTheProgramNamesTheCommandLine();
};

namespace {
QString FreshKey() {
  return QStringLiteral("/tmp/test-settings-") + QUuid::createUuid().toString(QUuid::Id128);
}
} // namespace

void TestSingleInstance::secondClaimOnTheSameSettingsAsksTheFirst() {
  const QString key = FreshKey();
  SingleInstance first(key);
  QVERIFY(first.Claim());
  QSignalSpy asked(&first, &SingleInstance::activationRequested);
  SingleInstance second(key);
  QVERIFY(!second.Claim());
  QVERIFY(asked.count() == 1 || asked.wait(5000));
  QCOMPARE(asked.count(), 1);
}

void TestSingleInstance::otherSettingsRunSideBySide() {
  SingleInstance first(FreshKey());
  SingleInstance second(FreshKey());
  QVERIFY(first.Claim());
  QVERIFY(second.Claim());
  QVERIFY(SingleInstance::ServerName(QStringLiteral("/a/Utility.ini")) !=
          SingleInstance::ServerName(QStringLiteral("/b/Utility.ini")));
}

void TestSingleInstance::aCopyThatEndedLeavesNoClaim() {
  const QString key = FreshKey();
  {
    SingleInstance first(key);
    QVERIFY(first.Claim());
  }
  SingleInstance later(key);
  QVERIFY(later.Claim());
}

void TestSingleInstance::withoutADisplayTheProgramNamesTheCommandLine() {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    environment.remove(QString::fromLatin1(name));
  }
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                     QStringLiteral("/tmp/corvesta-no-display-") +
                         QUuid::createUuid().toString(QUuid::Id128));
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(CORVESTA_PROGRAM_PATH), {});
  QVERIFY(program.waitForFinished(20000));
  QCOMPARE(program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(program.exitCode(), 1);
  const QString said = QString::fromUtf8(program.readAllStandardError());
  QVERIFY2(said.contains(QStringLiteral("corvesta-cli")), qPrintable(said));
  QVERIFY2(said.contains(QStringLiteral("desktop")), qPrintable(said));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
