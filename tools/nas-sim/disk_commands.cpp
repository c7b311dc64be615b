// Disks, the formatting chain and the volume list.

#include <cstdio>

#include "faults.h"
#include "simulator.h"
#include "web_commands.h"
#include "xml_writer.h"

namespace corvesta::sim {

namespace {

HttpReply StepReply(bool accepted, std::string_view reason = {}) {
  // The disk steps always answer 200: the verdict is the res element.
  XmlWriter xml("config");
  xml.Element("res", accepted ? 1 : 0);
  if (!reason.empty()) {
    xml.Element("reason", reason);
  }
  return XmlReply(xml.Finish());
}

void Refuse(const SimBox &box, std::string_view command, const std::string &reason) {
  std::fprintf(stderr, "nas-sim: box \"%s\": %.*s refused: %s\n", box.state.name.c_str(),
               static_cast<int>(command.size()), command.data(), reason.c_str());
}

// Whether the fault switches make this disk step answer res 0.
bool RefusedOnDemand(const SimBox &box, std::string_view command) {
  if (!HttpFaultFor(box.state.faults, command).refuse) {
    return false;
  }
  Refuse(box, command, "refused on demand");
  return true;
}

// Ends a running format: volumes are made when it went well, and none are
// left when it failed.
void EndFormat(SimBox &box) {
  FormatChain &chain = box.format;
  if (chain.phase != FormatChain::Phase::kRunning) {
    return;
  }
  chain.phase = FormatChain::Phase::kFinished;
  chain.errcode = box.state.faults.formatErrcode;
  box.state.volumes = chain.errcode == kFormatNoError ? chain.planned : std::vector<Volume>{};
}

} // namespace

HttpReply DiskInfo(CommandContext &context, const Values &) {
  const Box &box = context.box.state;
  XmlWriter xml("config");
  xml.Open("hd_info").Open("device_info");
  xml.Element("device_num", box.diskCount.value_or(static_cast<int>(box.disks.size())));
  for (const Disk &disk : box.disks) {
    xml.Open("item").Element("device_name", disk.device).Element("hd_GiB_size", disk.sizeGib);
    xml.Close("item");
  }
  xml.Close("device_info").Close("hd_info");
  return XmlReply(xml.Finish());
}

HttpReply StopFileBrowser(CommandContext &context, const Values &) {
  if (RefusedOnDemand(context.box, "cgi_AJAXPlorer_Stop")) {
    return StepReply(false, "refused on demand");
  }
  context.box.format.fileBrowserStopped = true;
  return StepReply(true);
}

HttpReply CreateVolumes(CommandContext &context, const Values &values) {
  SimBox &box = context.box;
  FormatChain &chain = box.format;
  std::string reason;
  if (HttpFaultFor(box.state.faults, "cgi_FMT_Create_DiskMGR").refuse) {
    reason = "refused on demand";
  } else if (chain.phase == FormatChain::Phase::kRunning) {
    reason = "a format is running";
  } else if (!chain.fileBrowserStopped) {
    reason = "the file browser still runs (cgi_AJAXPlorer_Stop first)";
  } else if (values[1] != "1") {
    reason = "f_create_type must be 1";
  } else if (values[2] != "0" && values[2] != "1") {
    reason = "f_auto_sync must be 0 or 1";
  }
  std::optional<std::vector<Volume>> volumes;
  if (reason.empty()) {
    volumes = ParseVolumeLine(values[0], box.state.disks, reason);
  }
  if (!volumes) {
    Refuse(box, "cgi_FMT_Create_DiskMGR", reason);
    return StepReply(false, reason);
  }
  chain.phase = FormatChain::Phase::kRunning;
  chain.started = Clock::now();
  chain.durationMs = box.state.formatSeconds * 1000;
  // A format that will fail ends part-way, at the fault's percent.
  const bool failing = box.state.faults.formatErrcode != kFormatNoError;
  chain.endPercent = failing ? box.state.faults.formatFailPercent : 100;
  chain.endMs = static_cast<int>(static_cast<long long>(chain.durationMs) * chain.endPercent / 100);
  chain.planned = std::move(*volumes);
  chain.remounted = false;
  chain.remountChecked = false;
  const unsigned run = ++chain.run;
  box.state.volumes.clear(); // the disks are being rebuilt
  SimBox *target = &box;
  context.simulator.Loop().After(std::chrono::milliseconds(chain.endMs), [target, run] {
    if (target->format.run == run) {
      EndFormat(*target);
    }
  });
  return StepReply(true);
}

HttpReply FormatState(CommandContext &context, const Values &) {
  SimBox &box = context.box;
  const auto now = Clock::now();
  if (box.format.phase == FormatChain::Phase::kRunning &&
      now - box.format.started >= std::chrono::milliseconds(box.format.endMs)) {
    EndFormat(box); // the timer may not have run yet
  }
  const FormatReport report = ReportOf(box.format, now);
  XmlWriter xml("config");
  xml.Open("dm_state")
      .Element("finished", report.finished ? 1 : 0)
      .Element("errcode", report.errcode)
      .Element("percent", report.percent)
      .Close("dm_state");
  return XmlReply(xml.Finish());
}

HttpReply Remount(CommandContext &context, const Values &) {
  if (RefusedOnDemand(context.box, "cgi_Disk_Remount")) {
    return StepReply(false, "refused on demand");
  }
  FormatChain &chain = context.box.format;
  if (chain.phase != FormatChain::Phase::kFinished) {
    Refuse(context.box, "cgi_Disk_Remount", "no finished format");
    return StepReply(false, "no finished format");
  }
  chain.remounted = true;
  return StepReply(true);
}

HttpReply RemountState(CommandContext &context, const Values &) {
  if (RefusedOnDemand(context.box, "cgi_Check_Disk_Remount_State")) {
    return StepReply(false, "refused on demand");
  }
  FormatChain &chain = context.box.format;
  if (!chain.remounted) {
    Refuse(context.box, "cgi_Check_Disk_Remount_State", "no remount");
    return StepReply(false, "no remount");
  }
  chain.remountChecked = true;
  return StepReply(true);
}

HttpReply FinishFormat(CommandContext &context, const Values &) {
  if (RefusedOnDemand(context.box, "cgi_FMT_Disk_Finish")) {
    return StepReply(false, "refused on demand");
  }
  FormatChain &chain = context.box.format;
  // After a format, only once its remount was checked; without one, it
  // starts a stopped file browser again.
  const bool afterFormat = chain.phase != FormatChain::Phase::kIdle;
  if (afterFormat ? !chain.remountChecked : !chain.fileBrowserStopped) {
    const char *reason =
        afterFormat ? "the remount was not checked" : "the file browser was not stopped";
    Refuse(context.box, "cgi_FMT_Disk_Finish", reason);
    return StepReply(false, reason);
  }
  // The file browser runs again; the box is ready for another format.
  const unsigned run = chain.run;
  chain = FormatChain{};
  chain.run = run;
  return StepReply(true);
}

HttpReply VolumeList(CommandContext &context, const Values &) {
  XmlWriter xml("config");
  for (const Volume &volume : context.box.state.volumes) {
    xml.Open("item")
        .Element("volume", volume.number)
        .Element("total_size", volume.totalKib)
        .Element("use_size", volume.usedKib)
        .Close("item");
  }
  return XmlReply(xml.Finish());
}

} // namespace corvesta::sim
