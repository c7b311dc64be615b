#include <gtest/gtest.h>

#include <thread>

#include "platform/message_box.h"

using namespace corvesta;
using namespace std::chrono_literals;

TEST(MessageBox, RecorderKeepsEveryRequestAndAnswersFromItsScript) {
  ScopedMessageBoxRecorder recorder;
  recorder->QueueAnswer(MessageBoxResult::Cancel);
  recorder->QueueAnswer(MessageBoxResult::Yes);

  EXPECT_EQ(ShowMessageBox(7, u"first", u"Corvesta", MessageBoxButtons::OkCancel),
            MessageBoxResult::Cancel);
  EXPECT_EQ(
      ShowMessageBox(0, u"second", u"Warning", MessageBoxButtons::YesNo, MessageBoxIcon::Warning),
      MessageBoxResult::Yes);

  auto requests = recorder->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].owner, 7u);
  EXPECT_EQ(requests[0].text, u"first");
  EXPECT_EQ(requests[0].caption, u"Corvesta");
  EXPECT_EQ(requests[0].buttons, MessageBoxButtons::OkCancel);
  EXPECT_EQ(requests[1].icon, MessageBoxIcon::Warning);
}

TEST(MessageBox, WithoutScriptedAnswersAQuestionIsNeverConfirmed) {
  ScopedMessageBoxRecorder recorder;
  EXPECT_EQ(ShowMessageBox(0, u"t", u"c", MessageBoxButtons::Ok), MessageBoxResult::Ok);
  EXPECT_EQ(ShowMessageBox(0, u"t", u"c", MessageBoxButtons::OkCancel), MessageBoxResult::Cancel);
  EXPECT_EQ(ShowMessageBox(0, u"t", u"c", MessageBoxButtons::YesNo), MessageBoxResult::No);
}

TEST(MessageBox, BoxesFromWorkerThreadsAreRecordedAndCanBeAwaited) {
  ScopedMessageBoxRecorder recorder;
  std::jthread worker([] { ShowMessageBox(0, u"from worker", u"Corvesta"); });
  EXPECT_TRUE(recorder->WaitForCount(1, 5s));
  worker.join();
  EXPECT_EQ(recorder->Requests().at(0).text, u"from worker");
  EXPECT_FALSE(recorder->WaitForCount(2, 10ms));
}

TEST(MessageBox, ScopedRecorderRestoresThePreviousService) {
  ScopedMessageBoxRecorder outer;
  {
    ScopedMessageBoxRecorder inner;
    ShowMessageBox(0, u"inner", u"c");
    EXPECT_EQ(inner->Count(), 1u);
  }
  ShowMessageBox(0, u"outer", u"c");
  ASSERT_EQ(outer->Count(), 1u);
  EXPECT_EQ(outer->Requests()[0].text, u"outer");
}
