// The network drive commands: drives, map, unmap and reconnect.

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/remembered_settings.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/login_session.h"
#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/http/command_set.h"
#include "nas/replies/share_list.h"
#include "platform/network_drives.h"
#include "platform/text_codec.h"
#include "setup/drive_cause_text.h"

namespace corvesta::cli {

namespace {

constexpr std::u16string_view kMountSucceededText = u"Mount is successful.";
constexpr std::u16string_view kMountFailedText = u"Mount is failed.";
constexpr std::u16string_view kUnmountSucceededText = u"Unmount is successful.";
constexpr std::u16string_view kUnmountFailedText = u"Umount is failed.";

std::shared_ptr<NetworkDrives> Drives() {
  std::shared_ptr<NetworkDrives> drives = CurrentNetworkDrives();
  if (!drives) {
    Err(Utf16ToUtf8(DriveFailureMessage(kMountFailedText, DriveCause::NoDesktopService)));
  }
  return drives;
}

// "Z", "z", "Z:" or "z:"; 0 for anything else.
char LetterWord(const std::string &word) {
  if (word.empty() || word.size() > 2 || (word.size() == 2 && word[1] != ':')) {
    return 0;
  }
  const char letter =
      word[0] >= 'a' && word[0] <= 'z' ? static_cast<char>(word[0] - 'a' + 'A') : word[0];
  return IsDriveLetter(letter) ? letter : 0;
}

std::string Location(const DriveMapping &mapping) {
  return "\\\\" + mapping.server + "\\" + mapping.share;
}

void Detail(const DriveResult &result) {
  if (!result.detail.empty()) {
    Err("(" + result.detail + ")");
  }
}

void Fail(std::u16string_view headline, const DriveResult &result) {
  Err(Utf16ToUtf8(DriveFailureMessage(headline, result.cause)));
  Detail(result);
}

// The drive records could not be read: the cause alone, no headline.
void Unreadable(const DriveResult &result) {
  Err(Tr(DriveCauseText(result.cause)));
  Detail(result);
}

} // namespace

ExitStatus RunDrives(Context &context) {
  const std::shared_ptr<NetworkDrives> drives = Drives();
  if (!drives) {
    return ExitStatus::Failed;
  }
  std::vector<DriveMapping> mappings;
  const DriveResult read = drives->List(mappings);
  if (!read.Ok()) {
    // Never "No network drives." for records that could not be read.
    Unreadable(read);
    return ExitStatus::Failed;
  }
  if (context.args.Has("json")) {
    std::vector<std::string> items;
    for (const DriveMapping &mapping : mappings) {
      items.push_back(JsonObject()
                          .Text("letter", std::string(1, mapping.letter) + ":")
                          .Text("server", mapping.server)
                          .Text("share", mapping.share)
                          .Text("user", mapping.user)
                          .Text("box", mapping.box)
                          .Bool("remembered", mapping.remembered)
                          .Bool("connected", mapping.connected)
                          .Text("folder", mapping.folder)
                          .Str());
    }
    Out(JsonArray(items));
    return ExitStatus::Success;
  }
  if (mappings.empty()) {
    Out("No network drives.");
  }
  for (const DriveMapping &mapping : mappings) {
    Out(std::string(1, mapping.letter) + ":  " + Location(mapping) + "  " + mapping.user + "  " +
        (mapping.box.empty() ? "-" : mapping.box) + "  " +
        (mapping.remembered ? "remembered" : "this session") + "  " +
        (mapping.connected ? "connected" : "not connected") +
        (mapping.folder.empty() ? "" : "  " + mapping.folder));
  }
  return ExitStatus::Success;
}

ExitStatus RunMap(Context &context) {
  char letter = 0;
  if (context.args.words.size() == 3) {
    letter = LetterWord(context.args.Word(2));
    if (letter == 0) {
      Err("The drive letter must be one of A to Z.");
      return ExitStatus::Usage;
    }
  }
  const std::shared_ptr<NetworkDrives> drives = Drives();
  if (!drives) {
    return ExitStatus::Failed;
  }
  LoginSession session(context);
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  // The share as the box spells it, among those this user may use.
  const Ticket ticket = StartReadShareList(context.window.Handle(), session.Index(), 0);
  if (ticket == 0) {
    Err(Tr(u"Get wizard information failed."));
    return ExitStatus::Failed;
  }
  const std::optional<bool> read =
      context.window.WaitForCommand(ticket, CommandIndex::ReadShareList, limits::kWebRequest);
  if (!read || !*read) {
    Err(Tr(u"get the NAS share file error."));
    return ExitStatus::Failed;
  }
  const std::u16string wanted = Utf8ToUtf16(context.args.Word(1));
  const std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  const auto share = std::find_if(shares.begin(), shares.end(),
                                  [&](const ShareEntry &s) { return s.name == wanted; });
  if (share == shares.end()) {
    Fail(kMountFailedText, {DriveCause::NoSuchShare, {}});
    return ExitStatus::Failed;
  }
  // Without a letter the drives take the last free one under their lock,
  // so that two maps at once do not both pick it.
  const Credentials credentials = CurrentCredentials();
  DriveMapRequest request;
  request.letter = letter;
  request.server = FieldString(session.Device().ip);
  request.share = Utf16ToUtf8(share->name);
  request.user = std::string(credentials.UserName());
  request.password = std::string(credentials.Password());
  request.box = session.BoxName();
  request.remember = true;
  session.Close();
  const DriveResult result = drives->Map(request, {});
  if (!result.Ok()) {
    Fail(kMountFailedText, result);
    return ExitStatus::Failed;
  }
  Out(Tr(kMountSucceededText) + " " + std::string(1, result.letter) + ": \\\\" + request.server +
      "\\" + request.share);
  return ExitStatus::Success;
}

ExitStatus RunUnmap(Context &context) {
  const char letter = LetterWord(context.args.Word(0));
  if (letter == 0) {
    Err("The drive letter must be one of A to Z.");
    return ExitStatus::Usage;
  }
  const std::shared_ptr<NetworkDrives> drives = Drives();
  if (!drives) {
    return ExitStatus::Failed;
  }
  const DriveResult result = drives->Unmap(letter, {});
  if (!result.Ok()) {
    Fail(kUnmountFailedText, result);
    return ExitStatus::Failed;
  }
  Out(Tr(kUnmountSucceededText));
  return ExitStatus::Success;
}

ExitStatus RunReconnect(Context &) {
  const std::shared_ptr<NetworkDrives> drives = Drives();
  if (!drives) {
    return ExitStatus::Failed;
  }
  std::vector<std::string> failures;
  std::vector<DriveMapping> mappings;
  const DriveResult read = drives->List(mappings);
  for (const DriveMapping &mapping : mappings) {
    if (!mapping.remembered) {
      continue;
    }
    // The keyring's password first; the box's remembered login when the
    // keyring has none. Nobody is asked.
    DriveLogin login;
    if (!mapping.box.empty()) {
      const StoredLogin stored = RememberedLogin(mapping.box);
      if (!stored.user.empty() && stored.user == mapping.user) {
        login = {stored.user, stored.password, true};
      }
    }
    // A box that is still starting is given a while to answer.
    const auto giveUp = std::chrono::steady_clock::now() + limits::kDriveReconnectPatience;
    DriveResult result = drives->Reconnect(mapping, login, {});
    while (result.cause == DriveCause::NoAnswer && std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(limits::kDriveReconnectPause);
      result = drives->Reconnect(mapping, login, {});
    }
    if (!result.Ok()) {
      failures.push_back(std::string(1, mapping.letter) + ": " + Location(mapping) + ": " +
                         Tr(DriveCauseText(result.cause)));
    }
  }
  for (const std::string &failure : failures) {
    Err(failure);
  }
  if (!read.Ok()) {
    // What could be read was reconnected; the rest is unknown.
    Unreadable(read);
    return ExitStatus::Failed;
  }
  return failures.empty() ? ExitStatus::Success : ExitStatus::Failed;
}

} // namespace corvesta::cli
