// The logout and the volume list read alone, driven by scripted results.

#include <gtest/gtest.h>

#include "nas/current_credentials.h"
#include "nas/take_query.h"
#include "scripted_requests.h"
#include "setup/logout_sequence.h"
#include "setup/queue_sequence_host.h"
#include "setup/volume_list_sequence.h"
#include "worker/private_messages.h"

namespace corvesta::test {
namespace {

enum class Answer { None, Reply, Unanswered, Timeout };

struct LogoutCase {
  const char *label;
  bool loggedIn;
  bool startFails;
  Answer answer;
  std::size_t requests; // logout requests started
  LogoutResult result;
};

void PrintTo(const LogoutCase &c, std::ostream *os) {
  *os << c.label;
}

class LogoutTest : public ::testing::TestWithParam<LogoutCase> {};

// The credentials go at the start in every case: the request text was built
// from them already.
TEST_P(LogoutTest, EmptiesTheCredentialsAndSendsOnlyForAnOpenLogin) {
  const LogoutCase &c = GetParam();
  MessageQueueTarget window;
  QueueSequenceHost host(window);
  ScriptedRequests requests;
  if (c.startFails) {
    requests.refused = {"logout"};
  }
  SetCurrentCredentials(MakeCredentials("admin", "secret99"));
  LogoutSequence logout(host, requests);
  const bool waiting = logout.Start(3, c.loggedIn);
  EXPECT_EQ(CurrentCredentials(), Credentials{});
  EXPECT_EQ(waiting, logout.Running());
  switch (c.answer) {
  case Answer::Reply:
    PostQueryResult(window.Handle(), requests.last, kResultFailure);
    break;
  case Answer::Unanswered:
    PostUnanswered(window.Handle(), requests.last);
    break;
  case Answer::Timeout:
    host.StopTimer(kLogoutTimerId);
    logout.OnTimer(kLogoutTimerId);
    break;
  case Answer::None:
    break;
  }
  EXPECT_TRUE(Deliver(window, logout).empty());
  EXPECT_FALSE(logout.Running());
  EXPECT_EQ(requests.calls.size(), c.requests);
  if (c.requests != 0) {
    EXPECT_EQ(requests.lastIndex, 3);
  }
  EXPECT_EQ(logout.Result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LogoutTest,
    ::testing::Values(
        LogoutCase{"NotLoggedIn", false, false, Answer::None, 0, LogoutResult::NothingSent},
        // Whatever the box says, the logout is over.
        LogoutCase{"Answered", true, false, Answer::Reply, 1, LogoutResult::Answered},
        LogoutCase{"Unanswered", true, false, Answer::Unanswered, 1, LogoutResult::Unanswered},
        LogoutCase{"NeverAnswered", true, false, Answer::Timeout, 1, LogoutResult::Unanswered},
        LogoutCase{"CannotStart", true, true, Answer::None, 1, LogoutResult::NothingSent}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

TEST(VolumeListSequenceTest, GivesTheVolumesOrTheFailureText) {
  MessageQueueTarget window;
  QueueSequenceHost host(window);
  ScriptedRequests requests;
  VolumeListSequence reading(host, requests);

  ASSERT_TRUE(reading.Start(2));
  requests.volumeList->volume = 1;
  requests.volumeList->total = 1024LL << 20; // KiB
  requests.volumeList->used = 10LL << 20;
  PostQueryResult(window.Handle(), requests.last, kResultSuccess);
  EXPECT_TRUE(Deliver(window, reading).empty());
  ASSERT_TRUE(reading.Volumes().has_value());
  EXPECT_EQ(*reading.Volumes(), (std::vector<VolumeUsage>{{1, 1024, 10}}));

  // Read again: the earlier volumes do not linger when no answer comes.
  ASSERT_TRUE(reading.Start(2));
  EXPECT_FALSE(reading.Volumes().has_value());
  PostUnanswered(window.Handle(), requests.last);
  EXPECT_TRUE(Deliver(window, reading).empty());
  EXPECT_FALSE(reading.Running());
  EXPECT_FALSE(reading.Volumes().has_value());
  EXPECT_EQ(reading.Failure(), u"Get Volume Information failed.");

  requests.refused = {"volumes"};
  EXPECT_FALSE(reading.Start(2));
  EXPECT_FALSE(reading.Running());
  EXPECT_FALSE(reading.Volumes().has_value());
}

// Given up (the session ended): no wait is left, and the late answer is the
// owner's to drop, not a list to show.
TEST(VolumeListSequenceTest, AnAbandonedReadLeavesItsAnswerToTheOwner) {
  MessageQueueTarget window;
  QueueSequenceHost host(window);
  ScriptedRequests requests;
  VolumeListSequence reading(host, requests);
  ASSERT_TRUE(reading.Start(2));
  reading.Abandon();
  EXPECT_FALSE(reading.Running());
  EXPECT_FALSE(host.TimerPending(kVolumeListTimerId));
  PostQueryResult(window.Handle(), requests.last, kResultSuccess);
  EXPECT_EQ(Deliver(window, reading).size(), 1u);
  EXPECT_FALSE(reading.Volumes().has_value());
}

} // namespace
} // namespace corvesta::test
