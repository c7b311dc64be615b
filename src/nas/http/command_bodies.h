#pragma once
// The form bodies of the web commands. Values go in as they are: texts are
// not percent-encoded, numbers are decimal.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "nas/http/request_records.h"

namespace corvesta::body {

std::string ChangePassword(std::string_view userName, std::string_view oldPassword,
                           std::string_view newPassword);
std::string ReadWizard();
std::string SetDeviceIdentity(const DeviceIdentity &identity);
std::string SetTimeZone(std::int32_t zone);
std::string SetNetwork(const NetSettings &settings);
std::string ReadLanAddress();
std::string LockAddress();
std::string ReadShareList(std::string_view userName, std::int32_t usbFlag);
std::string StopFileBrowser();
// Nothing when the volume lines cannot be built (see volume_lines.h).
std::optional<std::string> CreateVolumes(const VolumeSpec &first);
std::string RemountDisks();
std::string ReadRemountState();
std::string FinishFormatting();
std::string ReadVolumeList();
std::string ReadUserAccess(std::string_view userName);
// The password goes as standard Base64, its "+", "/" and "=" unescaped.
std::string LogIn(std::string_view userName, std::string_view password);
std::string LogOut(std::string_view userName);

} // namespace corvesta::body
