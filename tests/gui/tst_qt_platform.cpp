#include <QThread>
#include <QWidget>
#include <QtTest>
#include <atomic>

#include "nas/replies/hd_info.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "ui/platform/qt_message_box.h"
#include "ui/platform/qt_message_target.h"
#include "ui/platform/qt_sequence_host.h"
#include "ui/platform/qt_shell_open.h"
#include "ui/qt_text.h"
#include "worker/private_messages.h"
#include "worker_thread.h"

using namespace corvesta;

namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  QThread *thread;
};

} // namespace

class TestQtPlatform : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void postedMessageFromWorkerArrivesOnUiThread() {
    QWidget window;
    std::vector<Received> received;
    QtMessageTarget target(&window, [&](UINT m, WPARAM w, LPARAM l) {
      received.push_back({m, w, l, QThread::currentThread()});
      return 0;
    });
    const WindowHandle handle = target.Handle();
    std::atomic<bool> posted{false};
    test::WorkerThread worker(
        [&] { posted = PostMessage(handle, WM_COMMAND_RESULT, kResultFailure, 5); });
    worker.Join();
    QVERIFY(posted);
    // Nothing is delivered behind the UI thread's back: only its loop does.
    QVERIFY(received.empty());
    QTRY_COMPARE(received.size(), std::size_t{1});
    QCOMPARE(received[0].message, WM_COMMAND_RESULT);
    QCOMPARE(received[0].wParam, kResultFailure);
    QCOMPARE(received[0].lParam, LPARAM{5});
    QCOMPARE(received[0].thread, QCoreApplication::instance()->thread());
    QCOMPARE(QtMessageTarget::WidgetFromHandle(handle), &window);
  }

  void postsKeepTheirOrder() {
    std::vector<WPARAM> order;
    QtMessageTarget target(nullptr, [&](UINT, WPARAM w, LPARAM) {
      order.push_back(w);
      return 0;
    });
    test::WorkerThread worker([&] {
      for (WPARAM i = 0; i < 50; ++i) {
        PostMessage(target.Handle(), WM_USER, i, 0);
      }
    });
    worker.Join();
    QTRY_COMPARE(order.size(), std::size_t{50});
    for (WPARAM i = 0; i < 50; ++i) {
      QCOMPARE(order[i], i);
    }
  }

  void sendWorksOnTheUiThreadOnly() {
    QtMessageTarget target(nullptr,
                           [](UINT m, WPARAM w, LPARAM) { return static_cast<LRESULT>(m + w); });
    LRESULT result = 0;
    QVERIFY(TrySendMessage(target.Handle(), WM_USER, 7, 0, &result));
    QCOMPARE(result, LRESULT{WM_USER + 7});
    bool sentFromWorker = true;
    test::WorkerThread worker(
        [&] { sentFromWorker = TrySendMessage(target.Handle(), WM_USER, 1, 0, nullptr); });
    worker.Join();
    QVERIFY(!sentFromWorker);
  }

  void aGoneWindowTakesNoPostsAndDropsQueuedOnes() {
    int delivered = 0;
    WindowHandle handle = 0;
    {
      QtMessageTarget target(nullptr, [&](UINT, WPARAM, LPARAM) {
        ++delivered;
        return 0;
      });
      handle = target.Handle();
      QVERIFY(PostMessage(handle, WM_USER, 0, 0));
    }
    QVERIFY(!PostMessage(handle, WM_USER, 0, 0));
    QVERIFY(!IsWindow(handle));
    QCoreApplication::processEvents();
    QCOMPARE(delivered, 0);
    QCOMPARE(QtMessageTarget::WidgetFromHandle(handle), nullptr);
  }

  // A disk report posted to a window that goes before handling it: the
  // dropped message frees its record (the sanitizer pass reports a leak
  // otherwise), and a delivered one is the receiver's alone to free.
  void aDroppedDiskReportIsFreedAndADeliveredOneIsTheReceivers() {
    WindowHandle handle = 0;
    {
      QtMessageTarget target(nullptr, [](UINT, WPARAM, LPARAM) { return 0; });
      handle = target.Handle();
      QVERIFY(PostMessage(handle, WM_DISK_INFO, HdInfoToWParam(std::make_unique<HdInfo>()), 9));
    }
    QCoreApplication::processEvents();

    std::int32_t received = -1;
    QtMessageTarget target(nullptr, [&](UINT message, WPARAM w, LPARAM) {
      if (message == WM_DISK_INFO) {
        received = TakeHdInfo(w)->deviceCount;
      }
      return 0;
    });
    auto info = std::make_unique<HdInfo>();
    info->deviceCount = 2;
    QVERIFY(PostMessage(target.Handle(), WM_DISK_INFO, HdInfoToWParam(std::move(info)), 9));
    QTRY_COMPARE(received, 2);
  }

  void messageBoxFromWorkerIsAnsweredOnUiThreadAndReturned() {
    MessageBoxRecorder script;
    script.QueueAnswer(MessageBoxResult::Yes);
    QWidget owner;
    QtMessageTarget ownerTarget(&owner, {});
    QThread *presentedOn = nullptr;
    QWidget *presentedOwner = nullptr;
    auto service = std::make_shared<QtMessageBoxService>(
        [&](const MessageBoxRequest &request, QWidget *ownerWidget) {
          presentedOn = QThread::currentThread();
          presentedOwner = ownerWidget;
          return script.Show(request);
        });
    std::shared_ptr<MessageBoxService> previous = SetMessageBoxService(service);

    std::atomic<bool> answered{false};
    MessageBoxResult answer = MessageBoxResult::Ok;
    test::WorkerThread worker([&] {
      answer = ShowMessageBox(ownerTarget.Handle(), u"Not the same subnet, change it?", u"Corvesta",
                              MessageBoxButtons::YesNo, MessageBoxIcon::Question);
      answered = true;
    });
    // The worker waits for the UI thread; it is answered once the loop runs.
    QTRY_VERIFY(answered.load());
    worker.Join();
    SetMessageBoxService(previous);

    QCOMPARE(answer, MessageBoxResult::Yes);
    QCOMPARE(presentedOn, QCoreApplication::instance()->thread());
    QCOMPARE(presentedOwner, &owner);
    QCOMPARE(script.Count(), std::size_t{1});
    QCOMPARE(script.Requests()[0].caption, std::u16string(u"Corvesta"));
  }

  void messageBoxOnUiThreadIsShownDirectly() {
    int calls = 0;
    QtMessageBoxService service([&](const MessageBoxRequest &, QWidget *owner) {
      ++calls;
      return owner == nullptr ? MessageBoxResult::Cancel : MessageBoxResult::Ok;
    });
    MessageBoxRequest request;
    request.buttons = MessageBoxButtons::OkCancel;
    QCOMPARE(service.Show(request), MessageBoxResult::Cancel);
    QCOMPARE(calls, 1);
  }

  void sharesBecomeEncodedSmbAddresses() {
    std::optional<SharePath> share = ParseSharePath(u"\\\\192.168.1.20\\My Music\\#1");
    QVERIFY(share.has_value());
    QUrl url = ShareUrl(*share);
    QCOMPARE(url.toString(QUrl::FullyEncoded),
             QStringLiteral("smb://192.168.1.20/My%20Music/%231"));
  }

  void sequenceTimersFireByIdAndCanBeReplacedOrStopped() {
    QList<int> fired;
    QtSequenceHost host(42, [&](int id) { fired << id; });
    QCOMPARE(host.Window(), WindowHandle(42));
    using std::chrono::milliseconds;
    host.StartTimer(1, milliseconds(60000));
    host.StartTimer(1, milliseconds(0)); // replaces the far time
    host.StartTimer(2, milliseconds(0));
    host.StopTimer(2);
    host.StartTimer(3, milliseconds(1));
    QVERIFY(host.TimerPending(1));
    QVERIFY(!host.TimerPending(2));
    QTRY_VERIFY_WITH_TIMEOUT(fired.contains(3), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(fired.contains(1), 5000);
    QCoreApplication::processEvents();
    QCOMPARE(fired.count(1), 1);
    QVERIFY(!fired.contains(2));
    QVERIFY(!host.TimerPending(1));
    host.StopTimer(7); // a timer never started
  }
};

QTEST_MAIN(TestQtPlatform)
#include "tst_qt_platform.moc"
