#pragma once
// What a query asks of a box (its kind: transport and who reports the
// outcome) and, for the HTTP kinds, which command it runs (the index that
// selects the endpoint path and the reply parser).

#include <cstdint>

namespace corvesta {

enum class QueryKind : std::uint32_t {
  None = 0,
  Discovery = 1,       // UDP; WM_QUERY_RESULT
  CredentialCheck = 2, // UDP; WM_QUERY_RESULT on acceptance; on refusal a message box,
                       // then WM_REQUEST_UNANSWERED
  SetupCommand = 3,    // HTTP; WM_COMMAND_RESULT posted by the run
  AddressChange = 4,   // UDP; WM_SETIP_RESULT
  DiskCommand = 5,     // HTTP; the reply parsers report
  VolumeList = 6,      // HTTP; WM_QUERY_RESULT from the parser
  UserAccess = 8,      // HTTP; WM_QUERY_RESULT from the parser
  ShareList = 9,       // HTTP; WM_QUERY_RESULT from the parser
  LoginLogout = 10,    // HTTP; WM_QUERY_RESULT, or WM_COMMAND_RESULT for a wizard login
};

// True for the kinds that travel by datagram.
constexpr bool IsUdpKind(QueryKind kind) {
  return kind == QueryKind::Discovery || kind == QueryKind::CredentialCheck ||
         kind == QueryKind::AddressChange;
}

enum class CommandIndex : std::uint32_t {
  None = 0,
  ChangePassword = 1,
  ReadWizard = 2,
  SetDeviceIdentity = 3,
  SetTimeZone = 4,
  SetNetwork = 5,
  ReadLanAddress = 6,
  LockAddress = 7,
  ReadShareList = 8,
  ReadDiskInfo = 9,
  StopFileBrowser = 10,
  CreateVolumes = 11,
  ReadFormatState = 12,
  RemountDisks = 13,
  ReadRemountState = 14,
  FinishFormatting = 15,
  ReadVolumeList = 16,
  UsbDevice = 17,
  ReadUserAccess = 18,
  LogIn = 19,
  LogOut = 20,
};

inline constexpr std::uint32_t kCommandIndexCount = 21;

} // namespace corvesta
