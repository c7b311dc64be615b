// The login sequence driven by scripted results: every way a login can end,
// results that are not its own, and an owner that goes away mid-way.

#include "setup/login_sequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/own_texts.h"
#include "nas/current_credentials.h"
#include "platform/text_codec.h"
#include "scripted_requests.h"
#include "setup/queue_sequence_host.h"
#include "worker/message_store.h"
#include "worker/private_messages.h"

namespace corvesta::test {
namespace {

constexpr char kAccess[] = "1,0,1,0,1,0";

class RecordingObserver : public LoginObserver {
public:
  void OnCredentialsAccepted() override {
    events.push_back("accepted as " + std::string(CurrentCredentials().UserName()));
  }
  void OnLoggedIn() override { events.emplace_back("logged in"); }
  void OnAccessRights(std::u16string_view access) override {
    events.push_back("access " + Utf16ToUtf8(access));
  }
  void OnVolumes(const std::vector<VolumeUsage> &list) override {
    events.emplace_back("volumes");
    volumes = list;
  }
  void OnLoginFinished(const LoginOutcome &outcome) override {
    events.emplace_back("finished");
    finished = outcome;
  }

  std::vector<std::string> events;
  std::vector<VolumeUsage> volumes;
  LoginOutcome finished;
};

// How the scripted box answers one request.
enum class Reply {
  Accept,     // success; a user access reply carries kAccess, a volume list three volumes
  Refuse,     // failure
  Unreadable, // login failure without a flag: the reply could not be read
  InUse,      // login failure with flag 5
  Unanswered, // WM_REQUEST_UNANSWERED
  Timeout,    // the wait's limit passes
};

class LoginSequenceTest : public ::testing::Test {
protected:
  void SetUp() override {
    ClearCurrentCredentials();
    PlaceDevices({MakeDevice("ALPHA", "192.168.1.20", "255.255.255.0", "02:00:00:00:00:01")},
                 "192.168.1.5", "255.255.255.0");
  }
  void TearDown() override { ClearCurrentCredentials(); }

  LoginRequest Request(std::u16string user, bool sessionInfo = true) {
    LoginRequest request;
    request.deviceIndex = 0;
    request.userName = std::move(user);
    request.password = u"secret99";
    request.readSessionInfo = sessionInfo;
    return request;
  }

  // Answers the request started last, as the box and the core would.
  void Answer(LoginSequence &sequence, Reply reply) {
    const Ticket ticket = m_requests.last;
    const std::string what = m_requests.calls.back();
    switch (reply) {
    case Reply::Accept:
      if (what == "volumes") {
        // As the volume list reply fills the caller's list: a node numbered
        // 0 ends the list even when more follow.
        VolumeInfo *node = m_requests.volumeList.get();
        *node = VolumeInfo{1, 2048LL << 20, 512LL << 20, std::make_unique<VolumeInfo>()};
        *node->next = VolumeInfo{2, 4096LL << 20, 0, std::make_unique<VolumeInfo>()};
        *node->next->next = VolumeInfo{0, 0, 0, std::make_unique<VolumeInfo>()};
        *node->next->next->next = VolumeInfo{3, 1, 1, nullptr};
      }
      PostQueryResult(m_window.Handle(), ticket, kResultSuccess, [&](CQuery &query) {
        if (what == "access") {
          query.accessText = Utf8ToUtf16(kAccess);
        }
      });
      break;
    case Reply::Refuse:
      PostQueryResult(m_window.Handle(), ticket, kResultFailure,
                      [](CQuery &query) { query.loginFlag = 1; });
      break;
    case Reply::Unreadable:
      PostQueryResult(m_window.Handle(), ticket, kResultFailure, [](CQuery &) {});
      break;
    case Reply::InUse:
      PostQueryResult(m_window.Handle(), ticket, kResultFailure,
                      [](CQuery &query) { query.loginFlag = kAccountInUseFlag; });
      break;
    case Reply::Unanswered:
      PostUnanswered(m_window.Handle(), ticket);
      break;
    case Reply::Timeout:
      ASSERT_TRUE(m_host.TimerPending(kLoginTimerId));
      m_host.StopTimer(kLoginTimerId); // as the host does for a timer that fires
      sequence.OnTimer(kLoginTimerId);
      return;
    }
    EXPECT_TRUE(Deliver(m_window, sequence).empty());
  }

  MessageQueueTarget m_window;
  QueueSequenceHost m_host{m_window};
  ScriptedRequests m_requests;
  RecordingObserver m_observer;
};

TEST_F(LoginSequenceTest, AdministratorIsLoggedInAndGetsTheVolumesUpToTheFirstNumberedZero) {
  LoginSequence sequence(m_host, m_observer, m_requests);
  ASSERT_TRUE(sequence.Start(Request(u"admin")));
  EXPECT_EQ(m_requests.lastUser, u"admin");
  for (int step = 0; step < 3 && sequence.Running(); ++step) {
    Answer(sequence, Reply::Accept);
  }
  EXPECT_FALSE(sequence.Running());
  EXPECT_EQ(m_requests.calls, (std::vector<std::string>{"credentials", "login", "volumes"}));
  EXPECT_EQ(m_observer.events,
            (std::vector<std::string>{"accepted as admin", "logged in", "volumes", "finished"}));
  EXPECT_EQ(m_observer.volumes, (std::vector<VolumeUsage>{{1, 2048, 512}, {2, 4096, 0}}));
  EXPECT_EQ(m_observer.finished.result, LoginResult::Connected);
  EXPECT_TRUE(m_observer.finished.message.empty());
  EXPECT_TRUE(sequence.LoggedIn());
  EXPECT_EQ(CurrentCredentials(), MakeCredentials("admin", "secret99"));
  EXPECT_FALSE(m_host.TimerPending(kLoginTimerId));
}

TEST_F(LoginSequenceTest, UserGetsTheAccessRightsBeforeTheVolumes) {
  LoginSequence sequence(m_host, m_observer, m_requests);
  // Differs from "admin" only in letter case: not the administrator.
  ASSERT_TRUE(sequence.Start(Request(u"Admin")));
  for (int step = 0; step < 4 && sequence.Running(); ++step) {
    Answer(sequence, Reply::Accept);
  }
  EXPECT_FALSE(sequence.IsAdministrator());
  EXPECT_EQ(m_requests.calls,
            (std::vector<std::string>{"credentials", "login", "access", "volumes"}));
  EXPECT_EQ(m_observer.events,
            (std::vector<std::string>{"accepted as Admin", "logged in",
                                      std::string("access ") + kAccess, "volumes", "finished"}));
  EXPECT_EQ(m_observer.finished.result, LoginResult::Connected);
}

struct EndCase {
  const char *label;
  std::u16string user;
  bool inSubnet;
  std::set<std::string> refused;  // start operations that fail
  std::vector<Reply> replies;     // to each request started, in order
  std::vector<std::string> calls; // the requests started
  LoginResult result;
  std::u16string_view message;
  bool loggedIn;
  bool sawAccess;         // OnAccessRights was called (with no rights)
  bool mayBeOpen = false; // the web login went out and was not plainly refused
};

void PrintTo(const EndCase &c, std::ostream *os) {
  *os << c.label;
}

class LoginEndTest : public LoginSequenceTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(LoginEndTest, EndsAsExpectedAndLeavesNoCredentialsBehindAFailure) {
  const EndCase &c = GetParam();
  if (!c.inSubnet) {
    PlaceDevices({MakeDevice("FAR", "10.9.0.7", "255.255.0.0", "02:00:00:00:00:07")}, "192.168.1.5",
                 "255.255.255.0");
  }
  m_requests.refused = c.refused;
  LoginSequence sequence(m_host, m_observer, m_requests);
  const bool started = sequence.Start(Request(c.user));
  for (std::size_t i = 0; i < c.replies.size() && sequence.Running(); ++i) {
    Answer(sequence, c.replies[i]);
  }
  EXPECT_EQ(started, c.result != LoginResult::NotStarted);
  EXPECT_FALSE(sequence.Running());
  EXPECT_EQ(m_requests.calls, c.calls);
  EXPECT_EQ(m_observer.finished.result, c.result);
  EXPECT_EQ(sequence.Outcome().result, c.result);
  EXPECT_EQ(m_observer.finished.message, c.message);
  EXPECT_EQ(sequence.LoggedIn(), c.loggedIn);
  const bool sawAccess = std::find(m_observer.events.begin(), m_observer.events.end(), "access ") !=
                         m_observer.events.end();
  EXPECT_EQ(sawAccess, c.sawAccess);
  EXPECT_EQ(sequence.LoginMayBeOpen(), c.loggedIn || c.mayBeOpen);
  if (c.mayBeOpen) {
    // Kept for the logout that is due.
    EXPECT_EQ(CurrentCredentials().Password(), "secret99");
  } else if (!c.loggedIn) {
    EXPECT_EQ(CurrentCredentials(), Credentials{});
  }
  EXPECT_FALSE(m_host.TimerPending(kLoginTimerId));
}

using R = Reply;
INSTANTIATE_TEST_SUITE_P(
    Paths, LoginEndTest,
    ::testing::Values(EndCase{"CheckCannotStart",
                              u"admin",
                              true,
                              {"credentials"},
                              {},
                              {"credentials"},
                              LoginResult::NotStarted,
                              kLoginFailedText,
                              false,
                              false},
                      // The check has shown "Username or password error." itself.
                      EndCase{"CheckRefused",
                              u"admin",
                              true,
                              {},
                              {R::Refuse},
                              {"credentials"},
                              LoginResult::CredentialsRefused,
                              {},
                              false,
                              false},
                      // Silence is no refusal, and is told as such.
                      EndCase{"CheckUnanswered",
                              u"admin",
                              true,
                              {},
                              {R::Unanswered},
                              {"credentials"},
                              LoginResult::NoVerdict,
                              kNoVerdictText,
                              false,
                              false},
                      EndCase{"AdministratorOutsideTheSubnet",
                              u"admin",
                              false,
                              {},
                              {R::Accept},
                              {"credentials"},
                              LoginResult::OutsideSubnet,
                              kChangeAddressQuestion,
                              false,
                              false},
                      EndCase{"UserOutsideTheSubnet",
                              u"carol",
                              false,
                              {},
                              {R::Accept},
                              {"credentials"},
                              LoginResult::AdministratorNeeded,
                              kAdministratorNeededText,
                              false,
                              false},
                      EndCase{"AccountInUse",
                              u"admin",
                              true,
                              {},
                              {R::Accept, R::InUse},
                              {"credentials", "login"},
                              LoginResult::AccountInUse,
                              kAccountInUseText,
                              false,
                              false},
                      EndCase{"LoginRefused",
                              u"admin",
                              true,
                              {},
                              {R::Accept, R::Refuse},
                              {"credentials", "login"},
                              LoginResult::LoginRefused,
                              kLoginFailedText,
                              false,
                              false},
                      EndCase{"LoginUnanswered",
                              u"bob",
                              true,
                              {},
                              {R::Accept, R::Unanswered},
                              {"credentials", "login"},
                              LoginResult::LoginRefused,
                              kLoginFailedText,
                              false,
                              false,
                              true},
                      EndCase{"LoginUnreadable",
                              u"admin",
                              true,
                              {},
                              {R::Accept, R::Unreadable},
                              {"credentials", "login"},
                              LoginResult::LoginRefused,
                              kLoginFailedText,
                              false,
                              false,
                              true},
                      EndCase{"LoginNeverAnswers",
                              u"admin",
                              true,
                              {},
                              {R::Accept, R::Timeout},
                              {"credentials", "login"},
                              LoginResult::LoginRefused,
                              kLoginFailedText,
                              false,
                              false,
                              true},
                      EndCase{"LoginCannotStart",
                              u"admin",
                              true,
                              {"login"},
                              {R::Accept},
                              {"credentials", "login"},
                              LoginResult::LoginRefused,
                              kLoginFailedText,
                              false,
                              false},
                      // Rights that cannot be read are no rights; the volumes still come.
                      EndCase{"AccessUnanswered",
                              u"bob",
                              true,
                              {},
                              {R::Accept, R::Accept, R::Unanswered, R::Accept},
                              {"credentials", "login", "access", "volumes"},
                              LoginResult::Connected,
                              {},
                              true,
                              true},
                      EndCase{"AccessCannotStart",
                              u"bob",
                              true,
                              {"access"},
                              {R::Accept, R::Accept, R::Accept},
                              {"credentials", "login", "access", "volumes"},
                              LoginResult::Connected,
                              {},
                              true,
                              true},
                      EndCase{"VolumesUnanswered",
                              u"admin",
                              true,
                              {},
                              {R::Accept, R::Accept, R::Unanswered},
                              {"credentials", "login", "volumes"},
                              LoginResult::VolumesUnread,
                              kVolumeInfoFailedText,
                              true,
                              false},
                      EndCase{"VolumesNeverAnswer",
                              u"bob",
                              true,
                              {},
                              {R::Accept, R::Accept, R::Accept, R::Timeout},
                              {"credentials", "login", "access", "volumes"},
                              LoginResult::VolumesUnread,
                              kVolumeInfoFailedText,
                              true,
                              false},
                      EndCase{"VolumesCannotStart",
                              u"admin",
                              true,
                              {"volumes"},
                              {R::Accept, R::Accept},
                              {"credentials", "login", "volumes"},
                              LoginResult::VolumesUnread,
                              kVolumeInfoFailedText,
                              true,
                              false}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

// The check alone (a new address needs the administrator's accepted
// password): no web login follows, inside the subnet or outside it.
TEST_F(LoginSequenceTest, CheckOnlyEndsWithTheAcceptedCheck) {
  for (const bool inSubnet : {true, false}) {
    SCOPED_TRACE(inSubnet ? "inside the subnet" : "outside it");
    if (!inSubnet) {
      PlaceDevices({MakeDevice("FAR", "10.9.0.7", "255.255.0.0", "02:00:00:00:00:07")},
                   "192.168.1.5", "255.255.255.0");
    }
    m_requests.calls.clear();
    LoginSequence sequence(m_host, m_observer, m_requests);
    LoginRequest request = Request(u"admin");
    request.checkOnly = true;
    ASSERT_TRUE(sequence.Start(request));
    Answer(sequence, R::Accept);
    EXPECT_FALSE(sequence.Running());
    EXPECT_EQ(sequence.Outcome().result, LoginResult::CredentialsChecked);
    EXPECT_EQ(m_requests.calls, std::vector<std::string>{"credentials"});
    EXPECT_FALSE(sequence.LoginMayBeOpen());
    EXPECT_EQ(CurrentCredentials(), Credentials{});
  }
}

// An accepted check is told before anything follows from it, wherever the
// login then goes: what the person asked to be remembered is written there.
// A refusal or silence is never told as accepted.
TEST_F(LoginSequenceTest, AnAcceptedCheckIsToldFirst) {
  class CheckObserver : public RecordingObserver {
  public:
    void OnCheckAccepted() override { events.emplace_back("check accepted"); }
  };
  struct Case {
    const char *what;
    const char16_t *user;
    bool inSubnet;
    bool checkOnly;
    Reply reply;
    std::vector<std::string> firstEvents;
  };
  const Case cases[] = {
      {"inside the subnet",
       u"admin",
       true,
       false,
       R::Accept,
       {"check accepted", "accepted as admin"}},
      {"administrator outside it",
       u"admin",
       false,
       false,
       R::Accept,
       {"check accepted", "finished"}},
      {"user outside it", u"carol", false, false, R::Accept, {"check accepted", "finished"}},
      {"the check alone", u"admin", true, true, R::Accept, {"check accepted", "finished"}},
      {"refused", u"admin", true, false, R::Refuse, {"finished"}},
      {"no verdict", u"admin", true, false, R::Unanswered, {"finished"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    if (c.inSubnet) {
      PlaceDevices({MakeDevice("ALPHA", "192.168.1.20", "255.255.255.0", "02:00:00:00:00:01")},
                   "192.168.1.5", "255.255.255.0");
    } else {
      PlaceDevices({MakeDevice("FAR", "10.9.0.7", "255.255.0.0", "02:00:00:00:00:07")},
                   "192.168.1.5", "255.255.255.0");
    }
    CheckObserver observer;
    LoginSequence sequence(m_host, observer, m_requests);
    LoginRequest request = Request(c.user);
    request.checkOnly = c.checkOnly;
    ASSERT_TRUE(sequence.Start(request));
    Answer(sequence, c.reply);
    ASSERT_GE(observer.events.size(), c.firstEvents.size());
    EXPECT_EQ(std::vector<std::string>(observer.events.begin(),
                                       observer.events.begin() +
                                           static_cast<std::ptrdiff_t>(c.firstEvents.size())),
              c.firstEvents);
    sequence.Abandon();
  }
}

TEST_F(LoginSequenceTest, WithoutSessionInformationTheLoginIsTheEnd) {
  LoginSequence sequence(m_host, m_observer, m_requests);
  ASSERT_TRUE(sequence.Start(Request(u"bob", false)));
  Answer(sequence, Reply::Accept);
  Answer(sequence, Reply::Accept);
  EXPECT_FALSE(sequence.Running());
  EXPECT_EQ(m_requests.calls, (std::vector<std::string>{"credentials", "login"}));
  EXPECT_EQ(m_observer.finished.result, LoginResult::Connected);
  EXPECT_EQ(CurrentCredentials(), MakeCredentials("bob", "secret99"));
}

// Results of other tickets (a superseded request, the owner's own) stay with
// the owner, payload and all; the sequence goes on waiting for its own.
// An owner that gives the login up while its web login is under way (a
// Refresh, a close) must log out: the sequence says so, and the late answer
// is the owner's to drop.
TEST_F(LoginSequenceTest, AnAbandonedWebLoginIsStillToBeLoggedOut) {
  LoginSequence sequence(m_host, m_observer, m_requests);
  ASSERT_TRUE(sequence.Start(Request(u"admin")));
  Answer(sequence, Reply::Accept);
  ASSERT_EQ(m_requests.calls.back(), "login");
  const Ticket login = m_requests.last;
  sequence.Abandon();
  EXPECT_FALSE(sequence.Running());
  EXPECT_TRUE(sequence.LoginMayBeOpen());
  EXPECT_FALSE(m_host.TimerPending(kLoginTimerId));

  PostQueryResult(m_window.Handle(), login, kResultSuccess);
  for (const Message &message : m_window.TakeAll()) {
    EXPECT_FALSE(sequence.OnMessage(message));
    EXPECT_NE(TakeQueryOfTicket(message, login), nullptr);
  }
  EXPECT_FALSE(sequence.LoggedIn());
  EXPECT_EQ(m_observer.finished.result, LoginResult::None);
}

TEST_F(LoginSequenceTest, ResultsOfOtherTicketsAreLeftToTheOwner) {
  LoginSequence sequence(m_host, m_observer, m_requests);
  ASSERT_TRUE(sequence.Start(Request(u"admin")));
  const Ticket mine = m_requests.last;
  const Ticket other = NextTicket();
  PostQueryResult(m_window.Handle(), other, kResultSuccess);
  PostUnanswered(m_window.Handle(), other);
  PostMessage(m_window.Handle(), WM_SETIP_RESULT, kResultSuccess, 4);

  const std::size_t stored = CMsg::Instance().Size();
  for (const Message &message : m_window.TakeAll()) {
    EXPECT_FALSE(sequence.OnMessage(message)) << message.message;
    if (message.message == WM_QUERY_RESULT) {
      // Still in the store for the owner to take.
      EXPECT_EQ(CMsg::Instance().Size(), stored);
      std::unique_ptr<CQuery> query = TakeQueryOfTicket(message, other);
      ASSERT_NE(query, nullptr);
    }
  }
  EXPECT_TRUE(sequence.Running());
  EXPECT_EQ(sequence.PendingTicket(), mine);

  Answer(sequence, Reply::Accept);
  EXPECT_EQ(m_requests.calls.back(), "login");
}

// A new start abandons the login under way: the old check's late answer is
// no longer the sequence's.
TEST_F(LoginSequenceTest, ARestartLeavesTheEarlierCheckBehind) {
  LoginSequence sequence(m_host, m_observer, m_requests);
  ASSERT_TRUE(sequence.Start(Request(u"admin")));
  const Ticket first = m_requests.last;
  ASSERT_TRUE(sequence.Start(Request(u"bob")));
  PostQueryResult(m_window.Handle(), first, kResultSuccess);
  EXPECT_EQ(Deliver(m_window, sequence).size(), 1u);
  EXPECT_EQ(m_requests.calls, (std::vector<std::string>{"credentials", "credentials"}));
  Answer(sequence, Reply::Accept);
  EXPECT_EQ(m_observer.events.front(), "accepted as bob");
}

TEST_F(LoginSequenceTest, ASequenceGoneMidWayLeavesNoTimerAndItsResultToTheOwner) {
  Ticket pending = 0;
  {
    LoginSequence sequence(m_host, m_observer, m_requests);
    ASSERT_TRUE(sequence.Start(Request(u"admin")));
    Answer(sequence, Reply::Accept);
    Answer(sequence, Reply::Accept); // the volume list is now being read
    ASSERT_EQ(m_requests.calls.back(), "volumes");
    EXPECT_TRUE(m_host.TimerPending(kLoginTimerId));
    pending = m_requests.last;
  }
  EXPECT_FALSE(m_host.TimerPending(kLoginTimerId));
  // The worker still writes into the list it was given: it must be intact.
  m_requests.volumeList->volume = 4;
  PostQueryResult(m_window.Handle(), pending, kResultSuccess);
  const std::vector<Message> left = m_window.TakeAll();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_NE(TakeQueryOfTicket(left[0], pending), nullptr);
}

} // namespace
} // namespace corvesta::test
