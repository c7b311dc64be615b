#include "web_requests.h"

#include <array>
#include <cstdio>

#include "form_body.h"
#include "platform/base64.h"
#include "web_commands.h"
#include "xml_writer.h"

namespace corvesta::sim {

namespace {

using Handler = HttpReply (*)(CommandContext &, const Values &);

struct Command {
  std::string_view path;
  std::string_view name; // the cmd value; for the XML files their file name
  std::vector<std::string_view> keys;
  Handler handler;
};

constexpr std::string_view kAccountPath = "/cgi-bin/account_mgr.cgi";
constexpr std::string_view kWizardPath = "/cgi-bin/wizard_mgr.cgi";
constexpr std::string_view kSystemPath = "/cgi-bin/system_mgr.cgi";
constexpr std::string_view kNetworkPath = "/cgi-bin/network_mgr.cgi";
constexpr std::string_view kDiskPath = "/cgi-bin/hd_config.cgi";
constexpr std::string_view kLoginPath = "/cgi-bin/login_mgr.cgi";
constexpr std::string_view kUsbPath = "/cgi-bin/usb_device.cgi";
constexpr std::string_view kDiskInfoPath = "/xml/current_hd_info.xml";
constexpr std::string_view kFormatStatePath = "/xml/dm_read_state.xml";
constexpr std::string_view kRedirectPath = "/web/utility_redirect.html";

const std::vector<Command> &Commands() {
  static const std::vector<Command> commands = {
      {kAccountPath, "cgi_chg_user_pw", {"uname", "opw", "pw"}, ChangePassword},
      {kAccountPath, "cgi_get_share_info2", {"name", "usb"}, ShareList},
      {kAccountPath, "cgi_get_user_access", {"name"}, UserAccess},
      {kWizardPath, "cgi_get_wizard", {}, WizardInfo},
      {kSystemPath, "cgi_device", {"description", "hostname", "workgroup"}, SetDevice},
      {kSystemPath, "cgi_timezone", {"f_timezone"}, SetTimezone},
      {kNetworkPath,
       "cgi_ip",
       {"f_dhcp_enable", "f_ip", "f_gateway", "f_netmask", "f_dns1", "f_dns2", "vlan_enable",
        "vlan_id", "lan"},
       SetNetwork},
      {kNetworkPath, "cgi_get_lan_xml2", {"lan"}, LanAddress},
      {kNetworkPath, "cgi_setip_lock", {"lan"}, LockAddress},
      {kDiskPath, "cgi_AJAXPlorer_Stop", {}, StopFileBrowser},
      {kDiskPath,
       "cgi_FMT_Create_DiskMGR",
       {"f_create_volume_info", "f_create_type", "f_auto_sync"},
       CreateVolumes},
      {kDiskPath, "cgi_Disk_Remount", {}, Remount},
      {kDiskPath, "cgi_Check_Disk_Remount_State", {}, RemountState},
      {kDiskPath, "cgi_FMT_Disk_Finish", {}, FinishFormat},
      {kDiskPath, "cgi_Status_Volume_Info", {}, VolumeList},
      {kLoginPath, "login", {"username", "pwd", "ssl", "port"}, Login},
      {kLoginPath, "logout", {"name", "os"}, Logout},
      {kDiskInfoPath, "current_hd_info.xml", {}, DiskInfo},
      {kFormatStatePath, "dm_read_state.xml", {}, FormatState},
  };
  return commands;
}

bool IsKnownPath(std::string_view path) {
  for (const Command &command : Commands()) {
    if (command.path == path) {
      return true;
    }
  }
  return path == kUsbPath;
}

bool IsXmlFile(std::string_view path) {
  return path == kDiskInfoPath || path == kFormatStatePath;
}

HttpReply Refusal(int status, std::string_view faultKey, const std::string &reason) {
  HttpReply reply;
  reply.status = status;
  reply.xml = false;
  reply.contentType = "text/plain";
  reply.body = reason + "\n";
  reply.faultKey = std::string(faultKey);
  if (status == 401) {
    reply.extraHeaders.emplace_back("WWW-Authenticate", "Basic realm=\"NAS\"");
  }
  return reply;
}

// The user named by "username=" in the Cookie header.
std::string CookieUser(const HttpRequest &request) {
  const std::string cookie = request.Header("Cookie");
  std::size_t start = 0;
  while (start <= cookie.size()) {
    std::size_t end = cookie.find(';', start);
    if (end == std::string::npos) {
      end = cookie.size();
    }
    std::string_view part = std::string_view(cookie).substr(start, end - start);
    while (!part.empty() && part.front() == ' ') {
      part.remove_prefix(1);
    }
    constexpr std::string_view kKey = "username=";
    if (part.substr(0, kKey.size()) == kKey) {
      return std::string(part.substr(kKey.size()));
    }
    start = end + 1;
  }
  return {};
}

// Basic authorisation as the boxes check it: the user part is always admin,
// the password is that of the user named in the cookie.
bool Authorized(const SimBox &box, const HttpRequest &request, const std::string &user,
                std::string &reason) {
  const Account *account = box.state.FindAccount(user);
  if (account == nullptr) {
    reason = "the cookie names no user of this box";
    return false;
  }
  constexpr std::string_view kBasic = "Basic ";
  const std::string header = request.Header("Authorization");
  if (header.substr(0, kBasic.size()) != kBasic) {
    reason = "no Basic authorisation";
    return false;
  }
  const auto decoded = Base64Decode(std::string_view(header).substr(kBasic.size()));
  if (!decoded || *decoded != "admin:" + account->password) {
    reason = "the authorisation does not carry admin and the password of user \"" + user + "\"";
    return false;
  }
  return true;
}

} // namespace

HttpReply XmlReply(std::string body, int status) {
  HttpReply reply;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

HttpReply StatusReply(bool accepted, std::string_view reason) {
  XmlWriter xml("config");
  xml.Element("res", accepted ? 1 : 0);
  if (!reason.empty()) {
    xml.Element("reason", reason);
  }
  return XmlReply(xml.Finish(), accepted ? 200 : 400);
}

HttpReply HandleWebRequest(Simulator &simulator, SimBox &box, const HttpRequest &request,
                           const std::string &peerIp) {
  if (request.path == kRedirectPath) {
    return RedirectPage(box, request);
  }
  if (!IsKnownPath(request.path)) {
    return Refusal(404, "", "no such page: " + request.path);
  }
  const bool xmlFile = IsXmlFile(request.path);
  const auto name =
      xmlFile ? std::optional<std::string>(request.path.substr(request.path.rfind('/') + 1))
              : CommandName(request.body);
  const std::string faultKey = name.value_or("");
  if (request.method != "POST" && !(xmlFile && request.method == "GET")) {
    return Refusal(405, faultKey, "the box takes POST requests here");
  }
  if (!name) {
    return Refusal(400, faultKey, "the body does not begin with cmd=");
  }
  const Command *command = nullptr;
  for (const Command &candidate : Commands()) {
    if (candidate.path == request.path && candidate.name == *name) {
      command = &candidate;
    }
  }
  if (command == nullptr) {
    return Refusal(400, faultKey, "no command \"" + *name + "\" at " + request.path);
  }
  const std::string user = CookieUser(request);
  std::string reason;
  if (!Authorized(box, request, user, reason)) {
    return Refusal(401, faultKey, reason);
  }
  Values values;
  if (!xmlFile) {
    auto parsed = FormValues(request.body, command->keys, reason);
    if (!parsed) {
      std::fprintf(stderr, "nas-sim: box \"%s\": %s: %s\n", box.state.name.c_str(), name->c_str(),
                   reason.c_str());
      return Refusal(400, faultKey, reason);
    }
    values = std::move(*parsed);
  }
  CommandContext context{simulator, box, request, peerIp, user};
  HttpReply reply = command->handler(context, values);
  reply.faultKey = faultKey;
  return reply;
}

} // namespace corvesta::sim
