// disks and format: the box's disks, and turning them into volumes.

#include <optional>

#include "app/program_info.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/login_session.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/volume_report.h"
#include "cli/wait_limits.h"
#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "nas/replies/format_state.h"
#include "nas/replies/hd_info.h"
#include "nas/replies/volume_lines.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/volume_plan.h"
#include "worker/private_messages.h"

namespace corvesta::cli {

namespace {

using Clock = std::chrono::steady_clock;

// The disk report: WM_DISK_INFO with the record, then the command's result.
std::optional<HdInfo> ReadDisks(CliWindow &window, std::int32_t index) {
  if (StartReadDiskInfo(window.Handle(), index) == 0) {
    Err(Tr(u"Get wizard information failed."));
    return std::nullopt;
  }
  auto message = window.Wait(
      [](const Message &m) {
        return m.message == WM_DISK_INFO ||
               (m.message == WM_COMMAND_RESULT &&
                m.lParam == static_cast<LPARAM>(CommandIndex::ReadDiskInfo));
      },
      limits::kWebRequest);
  if (!message || message->message != WM_DISK_INFO) {
    Err(Tr(u"Get wizard information failed."));
    return std::nullopt;
  }
  std::unique_ptr<HdInfo> info = TakeHdInfo(message->wParam);
  return *info;
}

void PrintDisks(const HdInfo &disks) {
  if (disks.deviceCount >= 1) {
    Out("Disk 1: " + FieldString(disks.disk1Name) + "  " + std::to_string(disks.disk1Size) +
        " GiB");
  }
  if (disks.deviceCount >= 2) {
    Out("Disk 2: " + FieldString(disks.disk2Name) + "  " + std::to_string(disks.disk2Size) +
        " GiB");
  }
  if (disks.deviceCount == 1) {
    Out("Disk modes: standalone");
  } else if (disks.deviceCount == 2) {
    Out("Disk modes: standalone, jbod, raid0, raid1");
  }
}

// One step of the chain: WM_DISK_STEP_RESULT for `index`; true when accepted.
bool RunStep(CliWindow &window, Ticket ticket, CommandIndex index, std::chrono::milliseconds limit,
             Progress &progress) {
  if (ticket == 0) {
    return false;
  }
  auto message = window.Wait(
      [&](const Message &m) {
        return m.message == WM_DISK_STEP_RESULT && m.lParam == static_cast<LPARAM>(index);
      },
      limit, [&] { progress.Tick(); });
  return message && message->wParam != 0;
}

// Polls the format state once a second until the box reports an end.
// Nothing when the box stopped answering; otherwise whether it succeeded.
std::optional<bool> FollowFormatting(CliWindow &window, std::int32_t index, Progress &progress) {
  const auto started = Clock::now();
  auto lastAnswer = started;
  auto nextPoll = started;
  progress.Percent(0);
  while (Clock::now() - started < limits::kFormatTotal &&
         Clock::now() - lastAnswer < limits::kFormatSilence) {
    if (Clock::now() >= nextPoll) {
      if (StartReadFormatState(window.Handle(), index) == 0) {
        Err(Tr(u"setting failed."));
      }
      nextPoll += limits::kFormatPollPeriod;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(nextPoll - Clock::now());
    auto message = window.Wait([](const Message &m) { return m.message == WM_FORMAT_PROGRESS; },
                               std::max(left, std::chrono::milliseconds(1)), {},
                               /*endWhenIdle=*/false);
    if (!message) {
      continue;
    }
    lastAnswer = Clock::now();
    switch (static_cast<FormatState>(message->wParam)) {
    case FormatState::Running:
      progress.Percent(static_cast<int>(message->lParam));
      break;
    case FormatState::Finished:
      progress.Done();
      return true;
    case FormatState::Error:
      progress.Done();
      Err(Tr(u"format error."));
      return false;
    default:
      break;
    }
  }
  progress.Done();
  return std::nullopt;
}

ExitStatus RunFormatChain(CliWindow &window, std::int32_t index, VolumePlan &plan) {
  Progress stopping(Tr(u"Format Hard Drives"));
  if (!RunStep(window, StartStopFileBrowser(window.Handle(), index), CommandIndex::StopFileBrowser,
               limits::kStopFileBrowser, stopping)) {
    stopping.Done();
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  stopping.Done();
  const Ticket create = StartCreateVolumes(window.Handle(), index, plan.Chain());
  if (create == 0) {
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  auto created = window.Wait([](const Message &m) { return m.message == WM_FORMAT_CREATE_RESULT; },
                             limits::kWebRequest);
  if (!created || created->wParam == 0) {
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  Progress formatting(Tr(u"Format Hard Drives"));
  const std::optional<bool> formatted = FollowFormatting(window, index, formatting);
  if (!formatted) {
    Err("The NAS stopped reporting the state of the formatting.");
    return ExitStatus::Failed;
  }
  // The disks are remounted also after a failed formatting.
  Progress finishing(Tr(u"Complete"));
  const Ticket remount = StartRemountDisks(window.Handle(), index);
  if (remount == 0) {
    finishing.Done();
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  if (!RunStep(window, remount, CommandIndex::RemountDisks, limits::kWebRequest, finishing)) {
    finishing.Done();
    Err(Tr(u"Set Remount failed."));
    return ExitStatus::Failed;
  }
  const Ticket check = StartReadRemountState(window.Handle(), index);
  if (check == 0) {
    finishing.Done();
    Err(Tr(u"CheckDiskRemountState failed."));
    return ExitStatus::Failed;
  }
  if (!RunStep(window, check, CommandIndex::ReadRemountState, limits::kWebRequest, finishing)) {
    finishing.Done();
    Err(Tr(u"CheckDiskRemountState  failed."));
    return ExitStatus::Failed;
  }
  if (!RunStep(window, StartFinishFormatting(window.Handle(), index),
               CommandIndex::FinishFormatting, limits::kWebRequest, finishing)) {
    finishing.Done();
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  finishing.Done();
  Out(Tr(u"Complete"));
  Out(Tr(u"Congratulations!! The Formation process is complete.Please enter the OK button to "
         u"finish the Wizard. Thanks."));
  return *formatted ? ExitStatus::Success : ExitStatus::Failed;
}

} // namespace

ExitStatus RunDisks(Context &context) {
  LoginSession session(context);
  session.RequireAdministrator();
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const auto disks = ReadDisks(context.window, session.Index());
  if (!disks) {
    return ExitStatus::Failed;
  }
  if (context.args.Has("json")) {
    std::vector<std::string> items;
    if (disks->deviceCount >= 1) {
      items.push_back(JsonObject()
                          .Text("device", FieldString(disks->disk1Name))
                          .Number("size_gib", disks->disk1Size)
                          .Str());
    }
    if (disks->deviceCount >= 2) {
      items.push_back(JsonObject()
                          .Text("device", FieldString(disks->disk2Name))
                          .Number("size_gib", disks->disk2Size)
                          .Str());
    }
    Out(JsonObject()
            .Number("count", disks->deviceCount)
            .Raw("disks", JsonArray(items, true))
            .Str());
  }
  if (disks->deviceCount != 1 && disks->deviceCount != 2) {
    Err(Tr(u"No hard disk is detected."));
    return ExitStatus::Failed;
  }
  if (!context.args.Has("json")) {
    PrintDisks(*disks);
  }
  return ExitStatus::Success;
}

ExitStatus RunFormat(Context &context) {
  const auto mode = DiskModeFromWord(context.args.Word(1));
  if (!mode || context.args.words.size() != 2) {
    Err("Name the NAS and the disk mode: standalone, jbod, raid0 or raid1.");
    return ExitStatus::Usage;
  }
  LoginSession session(context);
  session.RequireAdministrator();
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const auto disks = ReadDisks(context.window, session.Index());
  if (!disks) {
    return ExitStatus::Failed;
  }
  std::u16string problem;
  auto plan = PlanVolumes(*disks, *mode, problem);
  if (!plan) {
    Err(Utf16ToUtf8(problem));
    return ExitStatus::Failed;
  }
  PrintDisks(*disks);
  if (auto lines = FormatVolumeLines(plan->Chain())) {
    Out("Volumes to create: " + *lines);
  }
  if (ShowMessageBox(0,
                     Translate(u"It will rebuild you disk, be sure you want to do it and press "
                               u"\"OK\" button to continue..."),
                     Translate(u"Warning"), MessageBoxButtons::OkCancel,
                     MessageBoxIcon::Warning) != MessageBoxResult::Ok) {
    Err("Nothing was changed.");
    return ExitStatus::Failed;
  }
  Out(Tr(u"Please be patient while KS-310 creates your volume(s). Do not turn off the NAS at "
         u"this stage."));
  const ExitStatus formatted = RunFormatChain(context.window, session.Index(), *plan);
  if (formatted != ExitStatus::Success) {
    return formatted;
  }
  const auto volumes = ReadVolumes(context.window, session.Index());
  if (!volumes) {
    return ExitStatus::Failed;
  }
  for (const VolumeLine &volume : *volumes) {
    Out(VolumeText(volume));
  }
  return ExitStatus::Success;
}

} // namespace corvesta::cli
