// Every reply parser over any reply text: the first byte chooses the
// command, the rest is the reply as the worker hands it over (up to its
// first zero byte). Whatever a box sends, the fixed-width fields stay
// terminated, the volume list stays a proper chain, and every query and
// disk information copy is freed exactly once (the sanitizers check).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "nas/device_list.h"
#include "nas/http/http_status_line.h"
#include "nas/query.h"
#include "nas/replies/reply_dispatch.h"
#include "nas/replies/share_list.h"
#include "nas/replies/volume_info.h"
#include "nas/replies/wizard_info.h"
#include "platform/text_codec.h"

using namespace corvesta;

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

template <std::size_t N> void CheckTerminated(const char (&field)[N]) {
  Check(field[N - 1] == 0);
}

struct Command {
  QueryKind kind;
  CommandIndex index;
};

constexpr Command kCommands[] = {
    {QueryKind::SetupCommand, CommandIndex::ChangePassword},
    {QueryKind::SetupCommand, CommandIndex::ReadWizard},
    {QueryKind::SetupCommand, CommandIndex::SetDeviceIdentity},
    {QueryKind::SetupCommand, CommandIndex::ReadLanAddress},
    {QueryKind::SetupCommand, CommandIndex::ReadShareList},
    {QueryKind::SetupCommand, CommandIndex::ReadDiskInfo},
    {QueryKind::DiskCommand, CommandIndex::StopFileBrowser},
    {QueryKind::DiskCommand, CommandIndex::CreateVolumes},
    {QueryKind::DiskCommand, CommandIndex::ReadFormatState},
    {QueryKind::DiskCommand, CommandIndex::RemountDisks},
    {QueryKind::VolumeList, CommandIndex::ReadVolumeList},
    {QueryKind::UserAccess, CommandIndex::ReadUserAccess},
    {QueryKind::ShareList, CommandIndex::ReadShareList},
    {QueryKind::LoginLogout, CommandIndex::LogIn},
    {QueryKind::LoginLogout, CommandIndex::LogOut},
    {QueryKind::AddressChange, CommandIndex::None},
};

std::uint64_t OneDevice() {
  const std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [](std::vector<NasDevice> &devices) {
    NasDevice device;
    CopyToField(device.ip, sizeof device.ip, "127.0.0.2");
    devices.push_back(device);
  });
  return generation;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const std::uint64_t generation = OneDevice();
  if (size == 0) {
    return 0;
  }
  const Command command = kCommands[data[0] % std::size(kCommands)];
  std::string_view reply(reinterpret_cast<const char *>(data + 1), size - 1);
  reply = reply.substr(0, reply.find('\0'));
  StatusLineAccepted(reply);

  ShareList::Instance().Clear();
  auto volumes = std::make_shared<VolumeInfo>();
  // No window: a hand-over finds the window gone and deletes the query.
  auto query = std::make_unique<CQuery>(WindowHandle{0});
  query->kind = command.kind;
  query->commandIndex = command.index;
  query->deviceIndex = 0;
  query->discoveryGeneration = generation;
  query->wizardLogin = data[0] & 0x80 ? 1 : 0;
  query->resultList = volumes;
  CQuery *raw = query.release();
  const ParseOutcome outcome = ParseReply(*raw, reply);
  if (outcome.disposition == CQuery::Disposition::Finished) {
    delete raw;
  }

  const WizardInfo info = CurrentWizardInfo();
  CheckTerminated(info.ip);
  CheckTerminated(info.netmask);
  CheckTerminated(info.gateway);
  CheckTerminated(info.dns1);
  CheckTerminated(info.dns2);
  CheckTerminated(info.name);
  CheckTerminated(info.workgroup);
  CheckTerminated(info.description);
  const NasDevice device = *DeviceList::Instance().At(0);
  CheckTerminated(device.ip);
  CheckTerminated(device.netmask);
  CheckTerminated(device.gateway);
  std::size_t nodes = 0;
  for (const VolumeInfo *node = volumes.get(); node != nullptr; node = node->next.get()) {
    Check(++nodes <= reply.size() + 1);
  }
  return 0;
}
