// The formatting chain driven by scripted answers: the order of its steps,
// the percentages it reports, and how each refusal, missing answer and limit
// ends it.

#include "setup/format_chain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "i18n/own_texts.h"
#include "manual_host.h"
#include "nas/replies/format_state.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"
#include "worker/ticket.h"

namespace corvesta::test {
namespace {

using Strings = std::vector<std::string>;

constexpr char kCompletion[] = "Congratulations!! The Formation process is complete.Please enter "
                               "the OK button to finish the Wizard. Thanks.";

struct Script {
  Strings calls;
  std::map<std::string, bool> notStarted;
  std::map<std::string, Ticket> latest;
  std::vector<VolumeSpec> created;

  Ticket Start(const std::string &name) {
    calls.push_back(name);
    if (notStarted[name]) {
      return 0;
    }
    latest[name] = NextTicket();
    return latest[name];
  }
  FormatRequests::Step Step(const std::string &name) {
    return [this, name](WindowHandle, std::int32_t) { return Start(name); };
  }
  FormatRequests Requests() {
    FormatRequests requests;
    requests.stopFileBrowser = Step("stop");
    requests.createVolumes = [this](WindowHandle, std::int32_t, const VolumeSpec &first) {
      for (const VolumeSpec *volume = &first; volume != nullptr; volume = volume->next) {
        created.push_back(*volume);
      }
      return Start("create");
    };
    requests.readFormatState = Step("state");
    requests.remountDisks = Step("remount");
    requests.readRemountState = Step("check");
    requests.finishFormatting = Step("finish");
    return requests;
  }
};

struct Report : FormatChainObserver {
  Strings events;
  std::vector<int> percents;
  std::optional<FormatOutcome> outcome;
  int ends = 0;

  void OnStage(FormatStage stage) override {
    const char *names[] = {"stopping", "creating", "formatting", "finishing"};
    events.push_back(std::string("stage ") + names[static_cast<int>(stage)]);
  }
  void OnPercent(int percent) override { percents.push_back(percent); }
  void OnNotice(std::u16string_view text) override {
    events.push_back("notice " + Utf16ToUtf8(text));
  }
  void OnEnd(const FormatOutcome &ended) override {
    outcome = ended;
    ++ends;
  }
};

VolumeSpec Volume(std::int32_t number, const char *mode, std::int32_t size) {
  VolumeSpec request;
  request.volumeNumber = number;
  CopyToField(request.mode, sizeof request.mode, mode);
  CopyToField(request.fileSystem, sizeof request.fileSystem, "ext4");
  CopyToField(request.disks, sizeof request.disks, "sdasdb");
  request.size = size;
  return request;
}

const Strings kAllSteps{"stop", "create", "state", "remount", "check", "finish"};

class FormatChainTest : public ::testing::Test {
public:
  FormatChain &Chain() {
    if (!m_chain) {
      m_chain.emplace(m_host, m_report, 0, m_volumes, m_script.Requests());
    }
    return *m_chain;
  }
  Script &Requests() { return m_script; }

  bool Post(UINT message, WPARAM wParam, LPARAM lParam) {
    return Chain().OnMessage(Message{m_host.Window(), message, wParam, lParam});
  }
  bool Step(CommandIndex index, WPARAM res) {
    return Post(WM_DISK_STEP_RESULT, res, static_cast<LPARAM>(index));
  }
  bool Created(WPARAM res) {
    return Post(WM_FORMAT_CREATE_RESULT, res, static_cast<LPARAM>(CommandIndex::CreateVolumes));
  }
  bool State(FormatState state, LPARAM percent) {
    return Post(WM_FORMAT_PROGRESS, static_cast<WPARAM>(state), percent);
  }
  bool Unanswered(const std::string &request) {
    return Post(WM_REQUEST_UNANSWERED, static_cast<WPARAM>(m_script.latest.at(request)),
                static_cast<LPARAM>(QueryKind::DiskCommand));
  }
  bool Fire(int timer) { return m_host.Fire(Chain(), timer); }
  // The finish that restarts the file browser after a failure, answered;
  // false when it was not the request in flight.
  bool Restarted(WPARAM res) {
    if (m_script.calls.empty() || m_script.calls.back() != "finish" || m_report.outcome) {
      return false;
    }
    return Step(CommandIndex::FinishFormatting, res);
  }

  // Stopped and created: the state polling runs.
  void ThroughCreation() {
    Chain().Start();
    ASSERT_TRUE(Step(CommandIndex::StopFileBrowser, 1));
    ASSERT_TRUE(Created(1));
  }
  // One state poll answered with `state`: the remount follows.
  void ThroughFormatting(FormatState state) {
    ThroughCreation();
    ASSERT_TRUE(Fire(FormatChain::kPollTimer));
    ASSERT_TRUE(State(state, 100));
  }
  void ThroughRemount() {
    ThroughFormatting(FormatState::Finished);
    ASSERT_TRUE(Step(CommandIndex::RemountDisks, 1));
  }
  void ThroughCheck() {
    ThroughRemount();
    ASSERT_TRUE(Step(CommandIndex::ReadRemountState, 1));
  }

protected:
  ManualHost m_host;
  Script m_script;
  Report m_report;
  VolumeSpec m_volumes = Volume(1, "raid1", 997);
  std::optional<FormatChain> m_chain;
};

TEST_F(FormatChainTest, RunsEveryStepInOrderAndReportsThePercentages) {
  Chain().Start();
  EXPECT_EQ(m_script.calls, Strings{"stop"});
  EXPECT_TRUE(Step(CommandIndex::StopFileBrowser, 1));
  EXPECT_TRUE(Created(1));
  for (LPARAM percent : {0, 35, 100}) {
    ASSERT_TRUE(Fire(FormatChain::kPollTimer));
    EXPECT_TRUE(State(FormatState::Running, percent));
  }
  ASSERT_TRUE(Fire(FormatChain::kPollTimer));
  EXPECT_TRUE(State(FormatState::Finished, 100));
  EXPECT_FALSE(m_host.Pending(FormatChain::kPollTimer));
  EXPECT_TRUE(Step(CommandIndex::RemountDisks, 1));
  EXPECT_TRUE(Step(CommandIndex::ReadRemountState, 1));
  EXPECT_TRUE(Step(CommandIndex::FinishFormatting, 1));

  EXPECT_EQ(m_script.calls, (Strings{"stop", "create", "state", "state", "state", "state",
                                     "remount", "check", "finish"}));
  EXPECT_EQ(m_report.percents, (std::vector<int>{0, 35, 100})); // none for the end state
  EXPECT_EQ(m_report.events,
            (Strings{"stage stopping", "stage creating", "stage formatting", "stage finishing"}));
  EXPECT_FALSE(Chain().Running());
  EXPECT_FALSE(m_host.AnyPending());
  ASSERT_TRUE(m_report.outcome);
  EXPECT_TRUE(m_report.outcome->Succeeded());
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->title), "Complete");
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->message), kCompletion);
}

TEST_F(FormatChainTest, AFailedFormattingIsRemountedCheckedFinishedAndEndsAsAFailure) {
  ThroughFormatting(FormatState::Error);
  EXPECT_EQ(m_report.events.back(), "stage finishing");
  EXPECT_NE(std::find(m_report.events.begin(), m_report.events.end(), "notice format error."),
            m_report.events.end());
  ASSERT_TRUE(Step(CommandIndex::RemountDisks, 1));
  ASSERT_TRUE(Step(CommandIndex::ReadRemountState, 1));
  ASSERT_TRUE(Step(CommandIndex::FinishFormatting, 1));
  EXPECT_EQ(m_script.calls, kAllSteps);
  ASSERT_TRUE(m_report.outcome);
  EXPECT_EQ(m_report.ends, 1);
  EXPECT_TRUE(m_report.outcome->completed);
  EXPECT_FALSE(m_report.outcome->formatted);
  EXPECT_FALSE(m_report.outcome->Succeeded());
  // No congratulations for volumes the box did not make.
  EXPECT_TRUE(m_report.outcome->title.empty());
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->message), "format error.");
  EXPECT_FALSE(m_host.AnyPending());
}

struct EndCase {
  const char *label;
  std::function<void(FormatChainTest &)> script;
  const char *message;
  Strings calls;
};

void PrintTo(const EndCase &c, std::ostream *os) {
  *os << c.label;
}

class FormatChainEndTest : public FormatChainTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(FormatChainEndTest, EndsWithTheMessageAndStartsNothingMore) {
  const EndCase &c = GetParam();
  c.script(*this);
  ASSERT_TRUE(m_report.outcome) << "still running";
  EXPECT_EQ(m_report.ends, 1);
  EXPECT_FALSE(m_report.outcome->completed);
  EXPECT_TRUE(m_report.outcome->title.empty());
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->message), c.message);
  EXPECT_EQ(m_script.calls, c.calls);
  EXPECT_FALSE(Chain().Running());
  EXPECT_FALSE(m_host.AnyPending());
  // Whatever arrives afterwards is the owner's.
  EXPECT_FALSE(Step(CommandIndex::FinishFormatting, 1));
  EXPECT_FALSE(State(FormatState::Finished, 100));
}

const Strings kStop{"stop"};
const std::string kMayHaveBeenMade = Utf16ToUtf8(kChangeMayHaveBeenMadeText);
const Strings kCreate{"stop", "create"};
const std::string kStateLost = Utf16ToUtf8(kFormatStateLostText);
const std::string kTooLong = Utf16ToUtf8(kFormatTooLongText);
const Strings kRemount{"stop", "create", "state", "remount"};
const Strings kCheck{"stop", "create", "state", "remount", "check"};
// The same, then the finish that starts the file browser again.
const Strings kStopRestarted{"stop", "finish"};
const Strings kCreateRestarted{"stop", "create", "finish"};
const Strings kRemountRestarted{"stop", "create", "state", "remount", "finish"};
const Strings kCheckRestarted{"stop", "create", "state", "remount", "check", "finish"};

std::vector<EndCase> EndCases() {
  return {EndCase{"StopNotStarted",
                  [](auto &t) {
                    t.Requests().notStarted["stop"] = true;
                    t.Chain().Start();
                  },
                  "setting failed.", kStop},
          EndCase{"StopRefused",
                  [](auto &t) {
                    t.Chain().Start();
                    t.Step(CommandIndex::StopFileBrowser, 0);
                  },
                  "setting failed.", kStop},
          EndCase{"StopUnanswered",
                  [](auto &t) {
                    t.Chain().Start();
                    EXPECT_TRUE(t.Unanswered("stop"));
                    EXPECT_TRUE(t.Restarted(1)); // it may have stopped
                  },
                  "setting failed.", kStopRestarted},
          EndCase{"StopNeverAnswered",
                  [](auto &t) {
                    t.Chain().Start();
                    EXPECT_TRUE(t.Fire(FormatChain::kAnswerTimer));
                    EXPECT_TRUE(t.Restarted(0));
                  },
                  "setting failed.", kStopRestarted},
          EndCase{"CreateNotStarted",
                  [](auto &t) {
                    t.Requests().notStarted["create"] = true;
                    t.Chain().Start();
                    t.Step(CommandIndex::StopFileBrowser, 1);
                    EXPECT_TRUE(t.Restarted(1));
                  },
                  "setting failed.", kCreateRestarted},
          EndCase{"CreateRefused",
                  [](auto &t) {
                    t.Chain().Start();
                    t.Step(CommandIndex::StopFileBrowser, 1);
                    t.Created(0);
                    EXPECT_TRUE(t.Restarted(1));
                  },
                  "setting failed.", kCreateRestarted},
          EndCase{"CreateUnanswered",
                  [](auto &t) {
                    t.Chain().Start();
                    t.Step(CommandIndex::StopFileBrowser, 1);
                    EXPECT_TRUE(t.Unanswered("create"));
                  },
                  // The request may have reached the box: it may be formatting.
                  kMayHaveBeenMade.c_str(), kCreate},
          EndCase{"StateNeverAnswered",
                  [](auto &t) {
                    t.ThroughCreation();
                    t.Fire(FormatChain::kPollTimer);
                    EXPECT_TRUE(t.Unanswered("state"));
                    EXPECT_TRUE(t.Fire(FormatChain::kSilenceTimer));
                  },
                  kStateLost.c_str(),
                  {"stop", "create", "state"}},
          EndCase{"StatePollsSilentThroughTheSilenceLimit",
                  [](auto &t) {
                    t.ThroughCreation();
                    for (int tick = 0; tick < 5; ++tick) {
                      t.Fire(FormatChain::kPollTimer); // the one poll never ends
                    }
                    EXPECT_TRUE(t.Fire(FormatChain::kSilenceTimer));
                  },
                  kStateLost.c_str(),
                  {"stop", "create", "state"}},
          EndCase{"FormattingOutlastsTheTotalLimit",
                  [](auto &t) {
                    t.ThroughCreation();
                    t.Fire(FormatChain::kPollTimer);
                    t.State(FormatState::Running, 10);
                    EXPECT_TRUE(t.Fire(FormatChain::kTotalTimer));
                  },
                  kTooLong.c_str(),
                  {"stop", "create", "state"}},
          EndCase{"RemountNotStarted",
                  [](auto &t) {
                    t.Requests().notStarted["remount"] = true;
                    t.ThroughFormatting(FormatState::Finished);
                    EXPECT_TRUE(t.Restarted(1));
                  },
                  "setting failed.", kRemountRestarted},
          EndCase{"RemountRefused",
                  [](auto &t) {
                    t.ThroughFormatting(FormatState::Finished);
                    t.Step(CommandIndex::RemountDisks, 0);
                    EXPECT_TRUE(t.Restarted(0)); // refused too: the end all the same
                  },
                  "Set Remount failed.", kRemountRestarted},
          EndCase{"RemountUnanswered",
                  [](auto &t) {
                    t.ThroughFormatting(FormatState::Finished);
                    EXPECT_TRUE(t.Unanswered("remount"));
                    EXPECT_TRUE(t.Unanswered("finish"));
                  },
                  "Set Remount failed.", kRemountRestarted},
          EndCase{"CheckNotStarted",
                  [](auto &t) {
                    t.Requests().notStarted["check"] = true;
                    t.ThroughRemount();
                    EXPECT_TRUE(t.Restarted(1));
                  },
                  "CheckDiskRemountState failed.", kCheckRestarted},
          EndCase{"CheckRefused",
                  [](auto &t) {
                    t.ThroughRemount();
                    t.Step(CommandIndex::ReadRemountState, 0);
                    EXPECT_TRUE(t.Restarted(1));
                  },
                  "CheckDiskRemountState  failed.", kCheckRestarted},
          EndCase{"CheckNeverAnswered",
                  [](auto &t) {
                    t.ThroughRemount();
                    EXPECT_TRUE(t.Fire(FormatChain::kAnswerTimer));
                    EXPECT_TRUE(t.Fire(FormatChain::kAnswerTimer)); // the restart's too
                  },
                  "CheckDiskRemountState  failed.", kCheckRestarted},
          EndCase{"FinishNotStarted",
                  [](auto &t) {
                    t.Requests().notStarted["finish"] = true;
                    t.ThroughCheck();
                  },
                  "setting failed.", kAllSteps},
          EndCase{"FinishRefused",
                  [](auto &t) {
                    t.ThroughCheck();
                    t.Step(CommandIndex::FinishFormatting, 0);
                  },
                  "setting failed.", kAllSteps},
          EndCase{"FinishUnanswered",
                  [](auto &t) {
                    t.ThroughCheck();
                    EXPECT_TRUE(t.Unanswered("finish"));
                  },
                  "setting failed.", kAllSteps}};
}

INSTANTIATE_TEST_SUITE_P(Ends, FormatChainEndTest, ::testing::ValuesIn(EndCases()),
                         [](const auto &testCase) { return std::string(testCase.param.label); });

// A refused creation leaves the box with its file browser stopped: the
// chain starts it again (the finish step) and reports the refusal only once
// that was answered.
TEST_F(FormatChainTest, ARefusedCreationRestartsTheFileBrowserBeforeItsEnd) {
  Chain().Start();
  ASSERT_TRUE(Step(CommandIndex::StopFileBrowser, 1));
  ASSERT_TRUE(Created(0));
  EXPECT_EQ(m_script.calls, (Strings{"stop", "create", "finish"}));
  EXPECT_TRUE(Chain().Running());
  EXPECT_FALSE(m_report.outcome);
  EXPECT_TRUE(m_host.Pending(FormatChain::kAnswerTimer));
  // A state answer or another step's answer does not end the wait.
  EXPECT_TRUE(State(FormatState::Finished, 100));
  EXPECT_TRUE(Step(CommandIndex::RemountDisks, 1));
  EXPECT_FALSE(m_report.outcome);
  ASSERT_TRUE(Step(CommandIndex::FinishFormatting, 1));
  ASSERT_TRUE(m_report.outcome);
  EXPECT_EQ(m_report.ends, 1);
  EXPECT_FALSE(m_report.outcome->completed);
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->message), "setting failed.");
  EXPECT_FALSE(m_host.AnyPending());
  EXPECT_EQ(m_script.calls, (Strings{"stop", "create", "finish"}));
}

// A restart that cannot be sent ends the chain at once with its message.
TEST_F(FormatChainTest, ARestartThatCannotStartEndsWithTheFailure) {
  m_script.notStarted["finish"] = true;
  Chain().Start();
  ASSERT_TRUE(Step(CommandIndex::StopFileBrowser, 1));
  ASSERT_TRUE(Created(0));
  ASSERT_TRUE(m_report.outcome);
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->message), "setting failed.");
  EXPECT_FALSE(Chain().Running());
  EXPECT_FALSE(m_host.AnyPending());
}

// The person leaves while the chain runs: from wherever it has got to, no
// volume is created any more and only what leaves the box usable is sent.
TEST_F(FormatChainTest, AnInterruptionSendsOnlyWhatLeavesTheBoxUsable) {
  struct Case {
    const char *label;
    std::function<void(FormatChainTest &)> before; // up to the interruption
    std::function<void(FormatChainTest &)> after;  // the box's answers from there
    Strings calls;
  };
  const Case cases[] = {
      {"while the file browser stops",
       [](auto &t) { t.Chain().Start(); },
       [](auto &t) {
         EXPECT_TRUE(t.Step(CommandIndex::StopFileBrowser, 1));
         EXPECT_TRUE(t.Restarted(1));
       },
       {"stop", "finish"}},
      {"while the volumes are created",
       [](auto &t) {
         t.Chain().Start();
         t.Step(CommandIndex::StopFileBrowser, 1);
       },
       [](auto &t) {
         EXPECT_TRUE(t.Created(1)); // the box formats: the remount follows at once
         EXPECT_TRUE(t.Step(CommandIndex::RemountDisks, 0));
         EXPECT_TRUE(t.Restarted(0));
       },
       {"stop", "create", "remount", "finish"}},
      {"while the box formats",
       [](auto &t) {
         t.ThroughCreation();
         t.Fire(FormatChain::kPollTimer);
       },
       [](auto &t) {
         EXPECT_TRUE(t.State(FormatState::Running, 50)); // the poll that was out
         EXPECT_TRUE(t.Step(CommandIndex::RemountDisks, 1));
         EXPECT_TRUE(t.Step(CommandIndex::ReadRemountState, 1));
         EXPECT_TRUE(t.Step(CommandIndex::FinishFormatting, 1));
       },
       {"stop", "create", "state", "remount", "check", "finish"}},
      {"while the disks are remounted", [](auto &t) { t.ThroughFormatting(FormatState::Finished); },
       [](auto &t) {
         EXPECT_TRUE(t.Step(CommandIndex::RemountDisks, 1));
         EXPECT_TRUE(t.Step(CommandIndex::ReadRemountState, 1));
         EXPECT_TRUE(t.Step(CommandIndex::FinishFormatting, 1));
       },
       kAllSteps},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    m_chain.reset();
    m_script = Script{};
    m_report = Report{};
    c.before(*this);
    Chain().Interrupt();
    EXPECT_TRUE(Chain().Interrupted());
    EXPECT_FALSE(m_host.Pending(FormatChain::kPollTimer));
    c.after(*this);
    EXPECT_EQ(m_script.calls, c.calls);
    EXPECT_FALSE(Chain().Running());
    EXPECT_EQ(m_report.ends, 1);
    EXPECT_FALSE(m_host.AnyPending());
  }
}

TEST_F(FormatChainTest, ASlowBoxHasOnePollOutstandingAndOneRemount) {
  ThroughCreation();
  for (int tick = 0; tick < 3; ++tick) {
    ASSERT_TRUE(Fire(FormatChain::kPollTimer)); // the first poll is still out
  }
  EXPECT_EQ(m_script.calls, (Strings{"stop", "create", "state"}));
  ASSERT_TRUE(State(FormatState::Running, 30));
  ASSERT_TRUE(Fire(FormatChain::kPollTimer)); // answered: the next tick polls
  EXPECT_EQ(m_script.calls.back(), "state");
  EXPECT_EQ(std::count(m_script.calls.begin(), m_script.calls.end(), "state"), 2);
  // An answer beyond the poll outstanding changes nothing.
  ASSERT_TRUE(State(FormatState::Finished, 100));
  EXPECT_TRUE(State(FormatState::Finished, 100));
  EXPECT_TRUE(State(FormatState::Error, 0));
  EXPECT_TRUE(State(FormatState::Running, 50));
  EXPECT_EQ(std::count(m_script.calls.begin(), m_script.calls.end(), "remount"), 1);
  EXPECT_EQ(m_report.percents, std::vector<int>{30});
  EXPECT_EQ(std::count(m_report.events.begin(), m_report.events.end(), "notice format error."), 0);
  ASSERT_TRUE(Step(CommandIndex::RemountDisks, 1));
  EXPECT_EQ(m_script.calls.back(), "check");
}

TEST_F(FormatChainTest, AStateAnswerWithNoPollOutstandingIsIgnored) {
  ThroughCreation();
  EXPECT_TRUE(State(FormatState::Finished, 100)); // before any poll
  EXPECT_TRUE(Chain().Running());
  ASSERT_TRUE(Fire(FormatChain::kPollTimer));
  EXPECT_TRUE(Unanswered("state"));
  EXPECT_TRUE(State(FormatState::Error, 0)); // its poll had already ended
  EXPECT_EQ(m_script.calls, (Strings{"stop", "create", "state"}));
  EXPECT_TRUE(m_report.events.back() == "stage formatting");
}

TEST_F(FormatChainTest, AnswersOfOtherStepsAndForeignTicketsChangeNothing) {
  Chain().Start();
  // Results for steps not in flight, and an unknown state value.
  EXPECT_TRUE(Step(CommandIndex::RemountDisks, 1));
  EXPECT_TRUE(Step(CommandIndex::FinishFormatting, 1));
  EXPECT_TRUE(Created(1));
  EXPECT_TRUE(State(FormatState::Finished, 100));
  EXPECT_FALSE(Step(CommandIndex::ReadFormatState, 1));
  EXPECT_FALSE(Post(WM_REQUEST_UNANSWERED, static_cast<WPARAM>(NextTicket()), 5));
  EXPECT_FALSE(Post(WM_COMMAND_RESULT, kResultSuccess, 5));
  EXPECT_EQ(m_script.calls, Strings{"stop"});
  EXPECT_TRUE(Chain().Running());

  ASSERT_TRUE(Step(CommandIndex::StopFileBrowser, 1));
  ASSERT_TRUE(Created(1));
  ASSERT_TRUE(Fire(FormatChain::kPollTimer));
  EXPECT_TRUE(State(static_cast<FormatState>(7), 40));
  EXPECT_TRUE(m_host.Pending(FormatChain::kPollTimer));
  EXPECT_EQ(m_script.calls.back(), "state");
  EXPECT_FALSE(m_report.outcome);
}

TEST_F(FormatChainTest, PollsGoOnThroughPollsThatFailToStartOrToBeAnswered) {
  ThroughCreation();
  m_script.notStarted["state"] = true;
  ASSERT_TRUE(Fire(FormatChain::kPollTimer));
  EXPECT_EQ(m_report.events.back(), "notice setting failed.");
  m_script.notStarted["state"] = false;
  ASSERT_TRUE(Fire(FormatChain::kPollTimer));
  EXPECT_TRUE(Unanswered("state"));
  ASSERT_TRUE(Fire(FormatChain::kPollTimer));
  EXPECT_TRUE(State(FormatState::Running, 20));
  EXPECT_TRUE(Chain().Running());
  EXPECT_TRUE(m_host.Pending(FormatChain::kPollTimer));
  EXPECT_EQ(m_report.percents, std::vector<int>{20});
  EXPECT_EQ(m_script.calls, (Strings{"stop", "create", "state", "state", "state"}));
}

TEST_F(FormatChainTest, PercentagesOutsideTheRangeAreHeldToIt) {
  ThroughCreation();
  for (LPARAM percent : {-5, 150, 2147483647}) {
    ASSERT_TRUE(Fire(FormatChain::kPollTimer));
    ASSERT_TRUE(State(FormatState::Running, percent));
  }
  EXPECT_EQ(m_report.percents, (std::vector<int>{0, 100, 100}));
}

TEST_F(FormatChainTest, TheVolumesAreTheChainsOwnCopy) {
  VolumeSpec second = Volume(2, "linear", 994);
  m_volumes = Volume(1, "raid0", 1994);
  m_volumes.next = &second;
  Chain();
  // The caller's list changes (or goes) before the creation.
  second = Volume(2, "raid5", 1);
  m_volumes = Volume(9, "raid5", 1);
  Chain().Start();
  ASSERT_TRUE(Step(CommandIndex::StopFileBrowser, 1));
  ASSERT_EQ(m_script.created.size(), 2u);
  EXPECT_EQ(m_script.created[0].volumeNumber, 1);
  EXPECT_EQ(FieldText(m_script.created[0].mode, sizeof m_script.created[0].mode), "raid0");
  EXPECT_EQ(m_script.created[1].volumeNumber, 2);
  EXPECT_EQ(m_script.created[1].size, 994);
}

TEST_F(FormatChainTest, MoreThanTwoVolumesAreNotSentInPart) {
  VolumeSpec third = Volume(3, "standard", 10);
  VolumeSpec second = Volume(2, "standard", 10);
  second.next = &third;
  m_volumes.next = &second;
  Chain().Start();
  ASSERT_TRUE(Step(CommandIndex::StopFileBrowser, 1));
  EXPECT_TRUE(m_script.created.empty());
  // The file browser stopped for it starts again.
  EXPECT_EQ(m_script.calls, (Strings{"stop", "finish"}));
  ASSERT_TRUE(Restarted(1));
  ASSERT_TRUE(m_report.outcome);
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->message), "setting failed.");
}

TEST_F(FormatChainTest, AChainGoneWhileFormattingLeavesNoTimerPending) {
  ThroughCreation();
  EXPECT_TRUE(m_host.Pending(FormatChain::kPollTimer));
  m_chain.reset();
  EXPECT_FALSE(m_host.AnyPending());
}

} // namespace
} // namespace corvesta::test
