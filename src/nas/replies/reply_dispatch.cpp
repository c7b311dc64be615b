#include "nas/replies/reply_dispatch.h"

namespace corvesta {

namespace {

// A parser whose result the command does not use: its outcome with `result`.
ParseOutcome WithResult(ParseOutcome outcome, std::uint32_t result) {
  outcome.result = result;
  return outcome;
}

ParseOutcome SetupCommand(CQuery &query, std::string_view reply) {
  switch (query.commandIndex) {
  case CommandIndex::ChangePassword:
    return ParsePasswordChange(query, reply);
  case CommandIndex::ReadWizard:
    return ParseWizardInfo(query, reply);
  case CommandIndex::ReadLanAddress:
    return ParseLanAddress(query, reply);
  case CommandIndex::ReadShareList:
    return ParseShareList(query, reply);
  case CommandIndex::ReadDiskInfo:
    return ParseDiskInfo(query, reply);
  default:
    return {0, CQuery::Disposition::Finished};
  }
}

ParseOutcome DiskCommand(CQuery &query, std::string_view reply) {
  switch (query.commandIndex) {
  case CommandIndex::StopFileBrowser:
    return ParseFileBrowserStop(query, reply);
  case CommandIndex::CreateVolumes:
    return ParseFormatCreation(query, reply);
  case CommandIndex::ReadFormatState:
    return ParseFormatState(query, reply);
  case CommandIndex::RemountDisks:
  case CommandIndex::ReadRemountState:
  case CommandIndex::FinishFormatting:
    return ParseDiskStep(query, reply);
  default:
    return {0, CQuery::Disposition::Finished};
  }
}

} // namespace

ParseOutcome ParseReply(CQuery &query, std::string_view reply) {
  const CommandIndex index = query.commandIndex;
  switch (query.kind) {
  case QueryKind::SetupCommand:
    return SetupCommand(query, reply);
  case QueryKind::AddressChange:
    return {1, CQuery::Disposition::Finished};
  case QueryKind::DiskCommand:
    return DiskCommand(query, reply);
  case QueryKind::VolumeList:
    if (index == CommandIndex::ReadVolumeList) {
      return ParseVolumeList(query, reply);
    }
    return {0, CQuery::Disposition::Finished};
  case QueryKind::UserAccess:
    if (index == CommandIndex::ReadUserAccess) {
      return WithResult(ParseUserAccess(query, reply), 0);
    }
    return {0, CQuery::Disposition::Finished};
  case QueryKind::ShareList:
    return WithResult(ParseShareList(query, reply), 0);
  case QueryKind::LoginLogout:
    if (index == CommandIndex::LogIn) {
      return WithResult(ParseLogin(query, reply), 1);
    }
    if (index == CommandIndex::LogOut) {
      return WithResult(ParseLogout(query, reply), 1);
    }
    return {0, CQuery::Disposition::Finished};
  default:
    return {1, CQuery::Disposition::Finished};
  }
}

} // namespace corvesta
