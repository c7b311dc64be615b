#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/ini_document.h"
#include "app/program_info.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "i18n/current_language.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/udp/credential_check.h"
#include "platform/message_box.h"
#include "support/clean_records.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "udp_sim_helpers.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr char kMacA[] = "00:11:22:33:44:0a";
constexpr char kMacB[] = "00:11:22:33:44:0b";

class CredentialCheckTest : public ::testing::Test {
protected:
  test::CleanRecords records; // first: reset before the others exist, after they are gone
  MessageQueueTarget window;
  NasSimProcess sim;
  test::ScopedAppDataFolder appData;
  ScopedMessageBoxRecorder boxes;
  std::int64_t liveBefore = CQuery::LiveCount();
  int boxA = -1;
  int boxB = -1;

  // Two boxes; box-a is the one connected to last, with remembered
  // credentials in the settings file.
  void StartBoxes(json a = NasSimProcess::MakeBox("box-a", "127.0.0.2", kMacA, "secret"),
                  json b = NasSimProcess::MakeBox("box-b", "127.0.0.3", kMacB, "other")) {
    ASSERT_TRUE(sim.Start(NasSimProcess::MakeState({a, b}))) << sim.Error();
    {
      timing::ScopedTimeScale faster(0.25);
      ASSERT_TRUE(test::Discover(window));
    }
    boxA = test::DeviceIndexByName("box-a");
    boxB = test::DeviceIndexByName("box-b");
    ASSERT_GE(boxA, 0);
    ASSERT_GE(boxB, 0);
    ASSERT_TRUE(settings::Write(settings::kSectionCurrent, settings::kKeyServName, u"box-a"));
    ASSERT_TRUE(settings::Write(u"box-a", settings::kKeyUserName, u"admin"));
    ASSERT_TRUE(settings::Write(u"box-a", settings::kKeyPassWord, u"c2VjcmV0"));
  }

  std::optional<std::u16string> Stored(std::u16string_view section, std::u16string_view key) {
    std::ifstream in(appData.SettingsFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return IniDocument::Parse(text.str()).Get(section, key);
  }

  // Waits until every query has ended (a refused check deletes its own) and
  // every worker has posted its last message.
  bool AllQueriesEnded() {
    return test::WaitUntil(
        [&] { return CQuery::LiveCount() == liveBefore && CQuery::RunningCount() == 0; }, 10s);
  }

  // Expects the queue to hold exactly the unanswered end of `ticket`.
  void ExpectEndedUnanswered(Ticket ticket) {
    const std::vector<Message> messages = window.TakeAll();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_REQUEST_UNANSWERED);
    EXPECT_EQ(messages[0].wParam, ticket);
    EXPECT_EQ(messages[0].lParam, static_cast<LPARAM>(QueryKind::CredentialCheck));
  }

  // Expects the queue to hold exactly the refusal of `ticket`.
  void ExpectEndedRefused(Ticket ticket) {
    auto message = window.WaitForMessage(WM_QUERY_RESULT, 5s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->wParam, kResultFailure);
    auto query = TakeQuery(*message);
    ASSERT_TRUE(query);
    EXPECT_EQ(query->ticket, ticket);
  }

  // The first credential check the box logged after its first `skip` requests.
  std::optional<test::SimRequest> LoggedCheck(std::size_t skip = 0) {
    std::optional<test::SimRequest> found;
    test::WaitUntil(
        [&] {
          std::vector<test::SimRequest> all = sim.Requests();
          for (std::size_t i = skip; i < all.size(); ++i) {
            if (all[i].transport == "udp" && !all[i].bytes.empty() && all[i].bytes[0] == 0x03) {
              found = all[i];
              return true;
            }
          }
          return false;
        },
        5s);
    return found;
  }
};

} // namespace

TEST_F(CredentialCheckTest, AcceptedGivesTheQueryToTheWindow) {
  StartBoxes();
  Ticket ticket = StartCredentialCheck(window.Handle(), u"admin", u"secret", boxA);
  ASSERT_NE(ticket, 0u);
  auto message = window.WaitForMessage(WM_QUERY_RESULT, 5s);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->wParam, kResultSuccess);
  auto query = TakeQuery(*message);
  ASSERT_TRUE(query);
  EXPECT_EQ(query->ticket, ticket);
  EXPECT_EQ(query->kind, QueryKind::CredentialCheck);
  EXPECT_EQ(query->deviceIndex, boxA);
  EXPECT_STREQ(query->targetIp, "127.0.0.2");
  EXPECT_EQ(CurrentCredentials().UserName(), "admin");
  EXPECT_EQ(CurrentCredentials().Password(), "secret");
  EXPECT_EQ(boxes->Count(), 0u);
  EXPECT_EQ(Stored(u"box-a", settings::kKeyPassWord), u"c2VjcmV0");
}

TEST_F(CredentialCheckTest, AcceptedWhenTheBoxAnswersByUnicast) {
  json a = NasSimProcess::MakeBox("box-a", "127.0.0.2", kMacA, "secret");
  a["faults"] = {{"udp", {{"*", {{"unicast", true}}}}}};
  StartBoxes(a);
  ASSERT_NE(StartCredentialCheck(window.Handle(), u"admin", u"secret", boxA), 0u);
  auto message = window.WaitForMessage(WM_QUERY_RESULT, 5s);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->wParam, kResultSuccess);
  EXPECT_TRUE(TakeQuery(*message));
}

struct RefusalCase {
  const char *what;
  const char16_t *user;
  const char16_t *password;
  json faults;
  bool forgotten; // the remembered admin/secret is emptied
};

// A refusal is an answer: WM_QUERY_RESULT with wParam 1. The remembered
// login goes only when the box refused exactly that pair.
TEST_F(CredentialCheckTest, RefusedEmptiesTheCredentialsShowsTheErrorAndForgetsOnlyThatPair) {
  const RefusalCase cases[] = {
      {"the remembered pair refused", u"admin", u"secret", {{"refuse_credentials", true}}, true},
      {"a mistyped password", u"admin", u"wrong", json::object(), false},
      {"a one-off other user", u"anna", u"anna", json::object(), false},
  };
  StartBoxes();
  for (const RefusalCase &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(sim.SetFaults("box-a", c.faults));
    ASSERT_TRUE(settings::Write(u"box-a", settings::kKeyUserName, u"admin"));
    ASSERT_TRUE(settings::Write(u"box-a", settings::kKeyPassWord, u"c2VjcmV0"));
    boxes->Clear();
    const Ticket ticket = StartCredentialCheck(window.Handle(), c.user, c.password, boxA);
    ASSERT_NE(ticket, 0u);
    ASSERT_TRUE(boxes->WaitForCount(1, 5s));
    ExpectEndedRefused(ticket);
    ASSERT_TRUE(AllQueriesEnded());
    MessageBoxRequest shown = boxes->Requests().at(0);
    EXPECT_EQ(shown.text, u"Username or password error.");
    EXPECT_EQ(shown.caption, kProgramTitle);
    EXPECT_EQ(shown.buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(Stored(u"box-a", settings::kKeyUserName), c.forgotten ? u"" : u"admin");
    EXPECT_EQ(Stored(u"box-a", settings::kKeyPassWord), c.forgotten ? u"" : u"c2VjcmV0");
    EXPECT_EQ(CurrentCredentials().UserName(), "");
    EXPECT_EQ(CurrentCredentials().Password(), "");
  }
}

TEST_F(CredentialCheckTest, TheRefusalIsTranslatedWhenALanguageIsActive) {
  StartBoxes();
  ASSERT_TRUE(SelectLanguage(1)); // French
  const Ticket ticket = StartCredentialCheck(window.Handle(), u"admin", u"wrong", boxA);
  ASSERT_NE(ticket, 0u);
  ASSERT_TRUE(boxes->WaitForCount(1, 5s));
  std::u16string shown = boxes->Requests().at(0).text;
  ClearCurrentLanguage();
  EXPECT_EQ(shown, u"Nom d'utilisateur ou mot de passe incorrect.");
  ExpectEndedRefused(ticket);
  ASSERT_TRUE(AllQueriesEnded());
}

// Both boxes answer to the group, so each check also hears the other box's
// verdict: box-b accepts, box-a refuses, and neither check takes the other's.
TEST_F(CredentialCheckTest, AnotherBoxsVerdictIsIgnored) {
  StartBoxes();
  Ticket refused = StartCredentialCheck(window.Handle(), u"admin", u"wrong", boxA);
  Ticket accepted = StartCredentialCheck(window.Handle(), u"admin", u"other", boxB);
  ASSERT_NE(refused, 0u);
  ASSERT_NE(accepted, 0u);
  ASSERT_TRUE(boxes->WaitForCount(1, 5s));
  // Both end with their own verdict, in either order.
  std::map<Ticket, WPARAM> verdicts;
  for (int i = 0; i < 2; ++i) {
    auto message = window.WaitForMessage(WM_QUERY_RESULT, 5s);
    ASSERT_TRUE(message);
    auto query = TakeQuery(*message);
    ASSERT_TRUE(query);
    verdicts[query->ticket] = message->wParam;
  }
  EXPECT_EQ(verdicts,
            (std::map<Ticket, WPARAM>{{accepted, kResultSuccess}, {refused, kResultFailure}}));
  ASSERT_TRUE(AllQueriesEnded());
  EXPECT_EQ(boxes->Count(), 1u);
  // The late refusal of box-a leaves the credentials of the newer check.
  EXPECT_EQ(CurrentCredentials().Password(), "other");
}

// No verdict within the check's waits is no refusal: nothing is shown,
// the remembered login stays and the request ends unanswered (the count of
// waits and pauses is tested through the check's wait seam, without a box).
TEST_F(CredentialCheckTest, NoVerdictEndsUnansweredAndForgetsNothing) {
  const std::pair<const char *, json> silences[] = {
      {"silent", {{"udp", {{"cred_check", {{"silent", true}}}}}}},
      {"stale tag", {{"udp", {{"cred_check", {{"stale_tag", true}}}}}}},
      {"slow box", {{"udp", {{"cred_check", {{"delay_ms", 2500}}}}}}},
  };
  StartBoxes();
  for (const auto &[what, faults] : silences) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(sim.SetFaults("box-a", faults));
    const std::size_t logged = sim.Requests().size();
    const Ticket ticket = StartCredentialCheck(window.Handle(), u"admin", u"secret", boxA);
    ASSERT_NE(ticket, 0u);
    EXPECT_TRUE(LoggedCheck(logged)) << "the check was sent";
    ASSERT_TRUE(AllQueriesEnded());
    ExpectEndedUnanswered(ticket);
    EXPECT_EQ(boxes->Count(), 0u) << "no refusal is shown";
    EXPECT_EQ(Stored(u"box-a", settings::kKeyUserName), u"admin");
    EXPECT_EQ(Stored(u"box-a", settings::kKeyPassWord), u"c2VjcmV0");
    EXPECT_EQ(CurrentCredentials().Password(), "");
  }
}

struct BytesCase {
  const char16_t *user;
  const char16_t *password;
  std::string userBytes;
  std::string passwordBytes;
  std::size_t size;
};

TEST_F(CredentialCheckTest, TheDatagramAsTheBoxReceivedIt) {
  const BytesCase cases[] = {
      {u"abcdefghijklmnop", u"ABCDEFGHIJKLMNOP", "abcdefghijklmnop", "ABCDEFGHIJKLMNOP", 62},
      {u"admin", u"", "admin", "", 35},
      {u"\u00e9t\u00e9", u"p&=w", "\xc3\xa9t\xc3\xa9", "p&=w", 39},
  };
  StartBoxes();
  for (const BytesCase &c : cases) {
    SCOPED_TRACE(c.userBytes);
    std::size_t before = sim.Requests().size();
    const Ticket ticket = StartCredentialCheck(window.Handle(), c.user, c.password, boxA);
    ASSERT_NE(ticket, 0u);
    auto logged = LoggedCheck(before);
    ASSERT_TRUE(logged);
    std::string expected = std::string("\x03", 1) + test::CurrentTagBytes() +
                           test::WireIdBytes(kMacA, "127.0.0.2") + std::string("\x04\0\0", 3) +
                           test::LittleEndian32(static_cast<std::uint32_t>(
                               c.userBytes.size() + c.passwordBytes.size() + 2)) +
                           c.userBytes + "\x55\xaa" + c.passwordBytes;
    EXPECT_EQ(logged->bytes.size(), c.size);
    EXPECT_EQ(logged->bytes, expected);
    ASSERT_TRUE(boxes->WaitForCount(1, 5s)) << "every case's password is wrong";
    ExpectEndedRefused(ticket);
    ASSERT_TRUE(AllQueriesEnded());
    boxes->Clear();
  }
}

TEST_F(CredentialCheckTest, ADeviceIndexOutsideTheListStartsNothing) {
  StartBoxes();
  EXPECT_EQ(StartCredentialCheck(window.Handle(), u"admin", u"secret", 2), 0u);
  EXPECT_EQ(StartCredentialCheck(window.Handle(), u"admin", u"secret", -1), 0u);
  EXPECT_EQ(CQuery::LiveCount(), liveBefore);
}
