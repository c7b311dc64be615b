#pragma once
// The commands of the boxes' web service. Each takes the request's context
// and the values of its form fields (in the command's order) and answers as
// a box would, changing the box's state.

#include <string>
#include <string_view>
#include <vector>

#include "http_message.h"
#include "sim_box.h"

namespace corvesta::sim {

class Simulator;

struct CommandContext {
  Simulator &simulator;
  SimBox &box;
  const HttpRequest &request;
  const std::string &peerIp;
  const std::string &user; // the user named in the cookie
};

using Values = std::vector<std::string>;

// A reply with an XML body; `status` other than 200 marks a refusal.
HttpReply XmlReply(std::string body, int status = 200);
// The reply of the commands whose body nobody reads: <res>1</res> or a refusal
// with the reason.
HttpReply StatusReply(bool accepted, std::string_view reason = {});

// Accounts and sessions (account_commands.cpp).
HttpReply ChangePassword(CommandContext &context, const Values &values);
HttpReply ShareList(CommandContext &context, const Values &values);
HttpReply UserAccess(CommandContext &context, const Values &values);
HttpReply Login(CommandContext &context, const Values &values);
HttpReply Logout(CommandContext &context, const Values &values);

// Set-up values and the network (setup_commands.cpp).
HttpReply WizardInfo(CommandContext &context, const Values &values);
HttpReply SetDevice(CommandContext &context, const Values &values);
HttpReply SetTimezone(CommandContext &context, const Values &values);
HttpReply SetNetwork(CommandContext &context, const Values &values);
HttpReply LanAddress(CommandContext &context, const Values &values);
HttpReply LockAddress(CommandContext &context, const Values &values);

// Disks, formatting and volumes (disk_commands.cpp).
HttpReply DiskInfo(CommandContext &context, const Values &values);
HttpReply StopFileBrowser(CommandContext &context, const Values &values);
HttpReply CreateVolumes(CommandContext &context, const Values &values);
HttpReply FormatState(CommandContext &context, const Values &values);
HttpReply Remount(CommandContext &context, const Values &values);
HttpReply RemountState(CommandContext &context, const Values &values);
HttpReply FinishFormat(CommandContext &context, const Values &values);
HttpReply VolumeList(CommandContext &context, const Values &values);

// The page a browser is sent to for a web center (redirect_page.cpp).
HttpReply RedirectPage(const SimBox &box, const HttpRequest &request);

} // namespace corvesta::sim
