// Ending signals against real processes: a desktop logout or shutdown
// (SIGTERM), a closed terminal (SIGHUP) and Ctrl-C in the terminal the
// program was started from (SIGINT) close the window as Close does: the box
// logged in to hears the logout, then the program ends within the logout's
// bound.

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "nas/protocol_timing.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

using namespace corvesta;

namespace {

constexpr char kPassword[] = "alphapass1";
// The logout's own limit, the drain of requests after it, and a margin for
// a loaded machine.
constexpr int kEndLimitMs = static_cast<int>(
    (timing::kLogoutLimit + timing::kWorkerDrain + std::chrono::seconds(5)).count());

nlohmann::json Alpha() {
  return test::NasSimProcess::MakeBox("ALPHA", "127.0.0.2", "02:aa:00:00:00:02", kPassword);
}

std::size_t Logouts(const test::NasSimProcess &sim) {
  std::size_t count = 0;
  for (const test::SimRequest &request : sim.Requests()) {
    if (request.transport == "tcp" && request.bytes.find("cmd=logout") != std::string::npos) {
      ++count;
    }
  }
  return count;
}

// A pseudo-terminal whose other end becomes a process's standard input.
class Terminal {
public:
  Terminal() {
    m_main = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_main >= 0 && ::grantpt(m_main) == 0 && ::unlockpt(m_main) == 0) {
      m_path = QString::fromLocal8Bit(::ptsname(m_main));
    }
  }
  ~Terminal() {
    if (m_main >= 0) {
      ::close(m_main);
    }
  }
  Terminal(const Terminal &) = delete;
  Terminal &operator=(const Terminal &) = delete;
  const QString &Path() const { return m_path; }

private:
  int m_main = -1;
  QString m_path;
};

QProcessEnvironment Environment(const test::TempFolder &config) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.Path()));
  return environment;
}

} // namespace

class TestWindowSignals : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void aSignalWhileLoggedInLogsOutThenEnds_data();
  void aSignalWhileLoggedInLogsOutThenEnds();
  void theProgramEndsOnTheSignalsAsOnClose_data();
  void theProgramEndsOnTheSignalsAsOnClose();
};

void TestWindowSignals::aSignalWhileLoggedInLogsOutThenEnds_data() {
  QTest::addColumn<int>("signal");
  QTest::addColumn<bool>("fromTerminal");
  QTest::newRow("SIGTERM") << int(SIGTERM) << false;
  QTest::newRow("SIGHUP") << int(SIGHUP) << false;
  QTest::newRow("SIGINT from a terminal") << int(SIGINT) << true;
}

void TestWindowSignals::aSignalWhileLoggedInLogsOutThenEnds() {
  QFETCH(int, signal);
  QFETCH(bool, fromTerminal);
  test::NasSimProcess sim;
  QVERIFY2(sim.Start(test::NasSimProcess::MakeState({Alpha()})), sim.Error().c_str());
  test::TempFolder config;
  Terminal terminal;
  QProcess probe;
  probe.setProcessEnvironment(Environment(config));
  if (fromTerminal) {
    QVERIFY(!terminal.Path().isEmpty());
    probe.setStandardInputFile(terminal.Path());
  }
  probe.start(QStringLiteral(CORVESTA_SIGNAL_PROBE_PATH),
              {QStringLiteral("ALPHA"), QStringLiteral("admin"), QString::fromLatin1(kPassword)});
  QVERIFY(probe.waitForStarted(10000));
  QByteArray said;
  QElapsedTimer waited;
  waited.start();
  while (!said.contains("logged in") && probe.state() == QProcess::Running &&
         waited.elapsed() < 40000) {
    probe.waitForReadyRead(100);
    said += probe.readAllStandardOutput();
  }
  said += probe.readAllStandardError();
  QVERIFY2(said.contains("logged in"), said.constData());
  QCOMPARE(Logouts(sim), std::size_t(0));

  QElapsedTimer clock;
  clock.start();
  QCOMPARE(::kill(static_cast<pid_t>(probe.processId()), signal), 0);
  QVERIFY2(probe.waitForFinished(kEndLimitMs), "the window did not end within the logout's bound");
  QVERIFY(clock.elapsed() < kEndLimitMs);
  QCOMPARE(probe.exitStatus(), QProcess::NormalExit); // not ended by the signal itself
  QCOMPARE(probe.exitCode(), 128 + signal);
  QCOMPARE(Logouts(sim), std::size_t(1));
}

void TestWindowSignals::theProgramEndsOnTheSignalsAsOnClose_data() {
  QTest::addColumn<int>("signal");
  QTest::addColumn<bool>("fromTerminal");
  QTest::addColumn<bool>("handled");
  QTest::newRow("SIGTERM") << int(SIGTERM) << false << true;
  QTest::newRow("SIGHUP") << int(SIGHUP) << false << true;
  QTest::newRow("SIGINT from a terminal") << int(SIGINT) << true << true;
  // Started from the desktop, SIGINT keeps its default action.
  QTest::newRow("SIGINT without a terminal") << int(SIGINT) << false << false;
}

// The program itself, on the box list: it ends by its own exit, as after Close.
void TestWindowSignals::theProgramEndsOnTheSignalsAsOnClose() {
  QFETCH(int, signal);
  QFETCH(bool, fromTerminal);
  QFETCH(bool, handled);
  test::NasSimProcess sim;
  QVERIFY2(sim.Start(test::NasSimProcess::MakeState({Alpha()})), sim.Error().c_str());
  test::TempFolder config;
  Terminal terminal;
  QProcess program;
  program.setProcessEnvironment(Environment(config));
  if (fromTerminal) {
    QVERIFY(!terminal.Path().isEmpty());
    program.setStandardInputFile(terminal.Path());
  }
  program.start(QStringLiteral(CORVESTA_PROGRAM_PATH), {});
  QVERIFY(program.waitForStarted(10000));
  // Up and searching: the box heard its probe.
  QVERIFY(sim.WaitForRequest([](const test::SimRequest &r) { return r.transport == "udp"; },
                             std::chrono::seconds(20)));
  QCOMPARE(::kill(static_cast<pid_t>(program.processId()), signal), 0);
  QVERIFY(program.waitForFinished(kEndLimitMs));
  if (handled) {
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 128 + signal);
  } else {
    QCOMPARE(program.exitStatus(), QProcess::CrashExit);
  }
}

QTEST_GUILESS_MAIN(TestWindowSignals)
#include "tst_window_signals.moc"
