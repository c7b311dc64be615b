// disks and format: the box's disks, and turning them into volumes.

#include <optional>

#include "app/program_info.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/login_session.h"
#include "cli/signal_logout.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/visible_text.h"
#include "cli/volume_report.h"
#include "cli/wait_limits.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "nas/replies/hd_info.h"
#include "nas/replies/volume_lines.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/format_chain.h"
#include "setup/queue_sequence_host.h"
#include "setup/volume_plan.h"
#include "worker/private_messages.h"

namespace corvesta::cli {

namespace {

// The disk report: WM_DISK_INFO with the record, then the command's result.
std::optional<HdInfo> ReadDisks(CliWindow &window, std::int32_t index) {
  const Ticket ticket = StartReadDiskInfo(window.Handle(), index);
  if (ticket == 0) {
    Err(Tr(u"Get wizard information failed."));
    return std::nullopt;
  }
  auto message = window.WaitForEnd(
      ticket,
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
    Out("Disk 1: " + VisibleText(FieldString(disks.disk1Name)) + "  " +
        std::to_string(disks.disk1Size) + " GiB");
  }
  if (disks.deviceCount >= 2) {
    Out("Disk 2: " + VisibleText(FieldString(disks.disk2Name)) + "  " +
        std::to_string(disks.disk2Size) + " GiB");
  }
  if (disks.deviceCount == 1) {
    Out("Disk modes: standalone");
  } else if (disks.deviceCount == 2) {
    Out("Disk modes: standalone, jbod, raid0, raid1");
  }
}

// What the formatting chain reports, on the terminal.
class FormatReport : public FormatChainObserver {
public:
  void OnStage(FormatStage stage) override {
    m_stage = stage;
    switch (stage) {
    case FormatStage::StoppingService:
      m_progress.emplace(Tr(kFormatRunningTitle));
      break;
    case FormatStage::Creating:
      m_progress.reset();
      break;
    case FormatStage::Formatting:
      m_progress.emplace(Tr(kFormatRunningTitle));
      m_progress->Percent(0);
      break;
    case FormatStage::Finishing:
      // After the box reported an error the disks are remounted all the
      // same, but nothing is complete.
      m_progress.emplace(Tr(m_lastNotice.empty() ? kFormatCompleteTitle : kFormatRunningTitle));
      break;
    }
  }
  void OnPercent(int percent) override {
    if (m_progress) {
      m_progress->Percent(percent);
    }
  }
  void OnNotice(std::u16string_view text) override {
    m_lastNotice = text;
    Err(Tr(text));
  }
  void OnEnd(const FormatOutcome &outcome) override {
    m_progress.reset();
    m_outcome = outcome;
  }
  // Steps without a measure of how far they are show that work goes on.
  void Tick() {
    if (m_progress && m_stage != FormatStage::Formatting) {
      m_progress->Tick();
    }
  }
  const std::optional<FormatOutcome> &Outcome() const { return m_outcome; }
  const std::u16string &LastNotice() const { return m_lastNotice; }

private:
  FormatStage m_stage = FormatStage::StoppingService;
  std::optional<Progress> m_progress;
  std::optional<FormatOutcome> m_outcome;
  std::u16string m_lastNotice;
};

ExitStatus RunFormatChain(CliWindow &window, std::int32_t index, VolumePlan &plan) {
  FormatReport report;
  QueueSequenceHost host(window.Queue());
  FormatChain chain(host, report, index, plan.Chain());
  SetFormatting(true);
  chain.Start();
  host.Run(chain, limits::kFormatChain, &CliWindow::Discard, [&] {
    report.Tick();
    if (FormatInterruptWanted()) {
      chain.Interrupt(); // a signal: only what leaves the box usable is sent
    }
  });
  SetFormatting(false);
  if (chain.Interrupted()) {
    AwaitSignalEnd(); // the signal's watcher logs out and ends the program
  }
  const std::optional<FormatOutcome> &outcome = report.Outcome();
  if (!outcome) {
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  if (!outcome->Succeeded()) {
    // "format error." was told when the box reported it, before the remount.
    if (outcome->message != report.LastNotice()) {
      Err(Tr(outcome->message));
    }
    return ExitStatus::Failed;
  }
  // The completion text asks for the window's OK button.
  Out(Tr(outcome->title));
  Out(Tr(kCliFormatCompleteText));
  return ExitStatus::Success;
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
  // The volume list as the box reads it, for whoever wants to see the wire.
  if (auto lines = FormatVolumeLines(plan->Chain()); lines && context.args.Has("verbose")) {
    Out("Volumes to create: " + *lines);
  }
  // The window's warning asks for its OK button; here --yes answers.
  if (ShowMessageBox(0, Translate(kCliRebuildQuestionText), Translate(u"Warning"),
                     MessageBoxButtons::OkCancel,
                     MessageBoxIcon::Warning) != MessageBoxResult::Ok) {
    Err("Nothing was changed.");
    return ExitStatus::Failed;
  }
  Out(Tr(kFormatRunningText));
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
