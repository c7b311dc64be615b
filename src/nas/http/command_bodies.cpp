#include "nas/http/command_bodies.h"

#include "nas/replies/volume_lines.h"
#include "platform/base64.h"
#include "platform/text_codec.h"

namespace corvesta::body {

namespace {

template <std::size_t N> std::string_view Text(const char (&field)[N]) {
  return FieldText(field, N);
}

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) {
    text += part;
  }
  return text;
}

} // namespace

std::string ChangePassword(std::string_view userName, std::string_view oldPassword,
                           std::string_view newPassword) {
  return Concat(
      {"cmd=cgi_chg_user_pw&uname=", userName, "&opw=", oldPassword, "&pw=", newPassword});
}

std::string ReadWizard() {
  return "cmd=cgi_get_wizard";
}

std::string SetDeviceIdentity(const DeviceIdentity &identity) {
  return Concat({"cmd=cgi_device&description=", Text(identity.description),
                 "&hostname=", Text(identity.hostname), "&workgroup=", Text(identity.workgroup)});
}

std::string SetTimeZone(std::int32_t zone) {
  return "cmd=cgi_timezone&f_timezone=" + std::to_string(zone);
}

std::string SetNetwork(const NetSettings &settings) {
  const std::string dhcp = std::to_string(settings.dhcp);
  return Concat({"cmd=cgi_ip&f_dhcp_enable=", dhcp, "&f_ip=", Text(settings.ip),
                 "&f_gateway=", Text(settings.gateway), "&f_netmask=", Text(settings.netmask),
                 "&f_dns1=", Text(settings.dns1), "&f_dns2=", Text(settings.dns2),
                 "&vlan_enable=0&vlan_id=0&lan=0"});
}

std::string ReadLanAddress() {
  return "cmd=cgi_get_lan_xml2&lan=0";
}

std::string LockAddress() {
  return "cmd=cgi_setip_lock&lan=0";
}

std::string ReadShareList(std::string_view userName, std::int32_t usbFlag) {
  return Concat({"cmd=cgi_get_share_info2&name=", userName, "&usb=", std::to_string(usbFlag)});
}

std::string StopFileBrowser() {
  return "cmd=cgi_AJAXPlorer_Stop";
}

std::optional<std::string> CreateVolumes(const VolumeSpec &first) {
  const std::optional<std::string> lines = FormatVolumeLines(first);
  if (!lines) {
    return std::nullopt;
  }
  return Concat({"cmd=cgi_FMT_Create_DiskMGR&f_create_volume_info=", *lines,
                 "&f_create_type=1&f_auto_sync=", std::to_string(first.autoSync)});
}

std::string RemountDisks() {
  return "cmd=cgi_Disk_Remount";
}

std::string ReadRemountState() {
  return "cmd=cgi_Check_Disk_Remount_State";
}

std::string FinishFormatting() {
  return "cmd=cgi_FMT_Disk_Finish";
}

std::string ReadVolumeList() {
  return "cmd=cgi_Status_Volume_Info";
}

std::string ReadUserAccess(std::string_view userName) {
  return Concat({"cmd=cgi_get_user_access&name=", userName});
}

std::string LogIn(std::string_view userName, std::string_view password) {
  return Concat(
      {"cmd=login&username=", userName, "&pwd=", Base64Encode(password), "&ssl=0&port=0"});
}

std::string LogOut(std::string_view userName) {
  return Concat({"cmd=logout&name=", userName, "&os=Windows"});
}

} // namespace corvesta::body
