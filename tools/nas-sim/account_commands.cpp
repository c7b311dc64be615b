// Accounts and sessions: password change, share list, access rights, login
// and logout.

#include <algorithm>

#include "form_body.h"
#include "platform/base64.h"
#include "web_commands.h"
#include "xml_writer.h"

namespace corvesta::sim {

namespace {
constexpr char kFlagWrongPassword = '1';
constexpr char kFlagInUse = '5'; // the account is used from another address

HttpReply LoginFailure(char flag) {
  XmlWriter xml("config");
  xml.Element("flag", std::string(1, flag));
  return XmlReply(xml.Finish());
}
} // namespace

HttpReply ChangePassword(CommandContext &context, const Values &values) {
  // A password may hold "&pw=" itself: take the split whose old password is
  // the account's.
  const std::string &user = values[0];
  Account *account = context.box.state.FindAccount(user);
  const std::string *newPassword = nullptr;
  std::vector<std::vector<std::string>> splits;
  if (account != nullptr) {
    splits = AllFormSplits(context.request.body, {"uname", "opw", "pw"});
    for (const auto &split : splits) {
      if (split[0] == user && split[1] == account->password) {
        newPassword = &split[2];
        break;
      }
    }
  }
  bool changed = false;
  if (newPassword != nullptr && newPassword->size() <= kAuthMaxBytes) {
    account->password = *newPassword;
    changed = true;
  }
  XmlWriter xml("config");
  xml.Element("status", changed ? 1 : 0);
  return XmlReply(xml.Finish());
}

HttpReply ShareList(CommandContext &context, const Values &values) {
  const std::string &user = values[0];
  const bool withUsb = values[1] == "1";
  if (values[1] != "0" && values[1] != "1") {
    return StatusReply(false, "usb must be 0 or 1");
  }
  XmlWriter xml("config");
  for (const Share &share : context.box.state.shares) {
    const bool visible = share.users.empty() || std::find(share.users.begin(), share.users.end(),
                                                          user) != share.users.end();
    if (visible && (withUsb || !share.usb)) {
      xml.Element("item", share.name);
    }
  }
  return XmlReply(xml.Finish());
}

HttpReply UserAccess(CommandContext &context, const Values &values) {
  const Account *account = context.box.state.FindAccount(values[0]);
  XmlWriter xml("config");
  xml.Element("authority", account != nullptr ? account->access : std::string());
  return XmlReply(xml.Finish());
}

HttpReply Login(CommandContext &context, const Values &values) {
  const std::string &user = values[0];
  const Account *account = context.box.state.FindAccount(user);
  const auto password = Base64Decode(values[1]);
  if (account == nullptr || !password || *password != account->password) {
    return LoginFailure(kFlagWrongPassword);
  }
  std::vector<Session> &sessions = context.box.state.sessions;
  for (const Session &session : sessions) {
    if (session.user == user && session.peer != context.peerIp) {
      return LoginFailure(kFlagInUse);
    }
  }
  const bool already = std::any_of(sessions.begin(), sessions.end(), [&](const Session &s) {
    return s.user == user && s.peer == context.peerIp;
  });
  if (!already) {
    sessions.push_back(Session{user, context.peerIp});
  }
  XmlWriter xml("config");
  xml.Element("res", "success");
  return XmlReply(xml.Finish());
}

HttpReply Logout(CommandContext &context, const Values &values) {
  // Only the session of this address ends: a refused login that logs out
  // must not end somebody else's session.
  std::vector<Session> &sessions = context.box.state.sessions;
  std::erase_if(sessions, [&](const Session &session) {
    return session.user == values[0] && session.peer == context.peerIp;
  });
  XmlWriter xml("config");
  xml.Element("res", "success");
  return XmlReply(xml.Finish());
}

} // namespace corvesta::sim
