// connect, shares and center: what a logged-in user sees and opens.

#include <array>

#include "app/program_info.h"
#include "app/remembered_settings.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/login_session.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/visible_text.h"
#include "cli/volume_report.h"
#include "cli/wait_limits.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/http/command_set.h"
#include "nas/replies/share_list.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "platform/text_codec.h"
#include "setup/access_rights.h"
#include "setup/center_link.h"
#include "setup/welcome_texts.h"

namespace corvesta::cli {

namespace {

// The first successful login on this PC offers the set-up steps, once. The
// offer needs a person at a terminal; elsewhere it is kept for later.
void OfferFirstRunSetup(const std::string &user, const std::string &box) {
  if (FirstRunOfferMade() || !CanAsk()) {
    return;
  }
  MarkFirstRunOfferMade();
  if (ShowMessageBox(0, FirstRunQuestion(Utf8ToUtf16(user)), Translate(kProgramTitle),
                     MessageBoxButtons::OkCancel,
                     MessageBoxIcon::Question) != MessageBoxResult::Ok) {
    return;
  }
  Out("The set-up steps, in order:");
  for (const char *step : {"password", "identity", "timezone", "network", "format"}) {
    Out(std::string("  corvesta-cli ") + step + " " + VisibleText(box) + " ...");
  }
}

std::string RightsJson(const CenterRights &rights) {
  return JsonObject()
      .Bool("download", rights.download)
      .Bool("backup", rights.backup)
      .Bool("management", rights.management)
      .Bool("surveillance", rights.surveillance)
      .Str();
}

} // namespace

namespace {

// What connect shows as the login goes on: the box's lines once logged in,
// a user's access rights, and the volumes kept for the end.
class ConnectReport : public LoginObserver {
public:
  ConnectReport(const LoginSession &session, bool json) : m_session(session), m_json(json) {}

  void OnLoggedIn() override {
    m_user = std::string(CurrentCredentials().UserName());
    if (m_json) {
      return;
    }
    const NasDevice &device = m_session.Device();
    Out(Utf16ToUtf8(WelcomeText(Utf8ToUtf16(m_user))));
    Out(VisibleText(m_session.BoxName()));
    Out(Fill(Tr(u"IP:%s"), {VisibleText(FieldString(device.ip))}));
    Out(Fill(Tr(u"Mask:%s"), {VisibleText(FieldString(device.netmask))}));
    Out(Fill(Tr(u"Gateway:%s"), {VisibleText(FieldString(device.gateway))}));
  }

  void OnAccessRights(std::u16string_view access) override {
    m_rights = RightsFromAccessText(access);
    if (m_json) {
      return;
    }
    if (access.empty()) {
      Out("Access rights: none");
      return;
    }
    auto yesNo = [](bool open) { return open ? "yes" : "no"; };
    Out(std::string("Access rights: ") + Tr(u"Management Center") + " " +
        yesNo(m_rights->management) + ", " + Tr(u"Download Center") + " " +
        yesNo(m_rights->download) + ", " + Tr(u"Backup Center") + " " + yesNo(m_rights->backup) +
        ", " + Tr(u"Surveillance Center") + " " + yesNo(m_rights->surveillance));
  }

  void OnVolumes(const std::vector<VolumeUsage> &volumes) override { m_volumes = volumes; }

  void OnLoginFinished(const LoginOutcome &) override {}

  const std::string &User() const { return m_user; }
  const std::optional<CenterRights> &Rights() const { return m_rights; }
  const std::vector<VolumeLine> &Volumes() const { return m_volumes; }

private:
  const LoginSession &m_session;
  const bool m_json;
  std::string m_user;
  std::optional<CenterRights> m_rights;
  std::vector<VolumeLine> m_volumes;
};

} // namespace

ExitStatus RunConnect(Context &context) {
  LoginSession session(context);
  const bool json = context.args.Has("json");
  ConnectReport report(session, json);
  session.ReadSessionInfo(report);
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const std::string &user = report.User();
  const NasDevice &device = session.Device();
  const std::vector<VolumeLine> &volumes = report.Volumes();
  if (json) {
    std::vector<std::string> items;
    for (const VolumeLine &volume : volumes) {
      items.push_back(JsonObject()
                          .Number("volume", volume.volume)
                          .Number("total_gb", volume.totalGb)
                          .Number("used_gb", volume.usedGb)
                          .Str());
    }
    JsonObject object;
    object.Text("name", session.BoxName())
        .Text("ip", FieldString(device.ip))
        .Text("netmask", FieldString(device.netmask))
        .Text("gateway", FieldString(device.gateway))
        .Text("user", user)
        .Bool("administrator", session.IsAdministrator());
    if (report.Rights()) {
      object.Raw("access", RightsJson(*report.Rights()));
    }
    object.Raw("volumes", JsonArray(items, true));
    Out(object.Str());
  } else {
    if (volumes.empty()) {
      Out("No volumes.");
    }
    for (const VolumeLine &volume : volumes) {
      Out(VolumeText(volume));
    }
  }
  OfferFirstRunSetup(user, session.BoxName());
  return ExitStatus::Success;
}

ExitStatus RunShares(Context &context) {
  LoginSession session(context);
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const Ticket ticket = StartReadShareList(context.window.Handle(), session.Index(), 1);
  if (ticket == 0) {
    Err(Tr(u"GetUSBInfo failed."));
    return ExitStatus::Failed;
  }
  auto result = context.window.WaitForQuery(ticket, limits::kWebRequest);
  if (!result || !result->Succeeded()) {
    Err(Tr(u"get the NAS share file error."));
    return ExitStatus::Failed;
  }
  const std::u16string ip = Utf8ToUtf16(FieldString(session.Device().ip));
  const std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  if (context.args.Has("json")) {
    std::vector<std::string> items;
    for (const ShareEntry &share : shares) {
      const std::string name = Utf16ToUtf8(share.name);
      items.push_back(JsonObject()
                          .Text("name", name)
                          .Text("path", Utf16ToUtf8(ShareNetworkPath(ip, share.name)))
                          .Str());
    }
    Out(JsonArray(items));
    return ExitStatus::Success;
  }
  if (shares.empty()) {
    Out("No shares.");
  }
  for (const ShareEntry &share : shares) {
    Out(VisibleText(Utf16ToUtf8(share.name)) + "  " +
        VisibleText(Utf16ToUtf8(ShareNetworkPath(ip, share.name))));
  }
  return ExitStatus::Success;
}

ExitStatus RunCenter(Context &context) {
  const std::optional<WebCenter> center = WebCenterFromWord(context.args.Word(1));
  if (!center || context.args.words.size() != 2) {
    Err("Name the NAS and the center: management, download, backup, file or surveillance.");
    return ExitStatus::Usage;
  }
  LoginSession session(context);
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const Credentials current = CurrentCredentials();
  const std::string link =
      CenterLink(*center, FieldString(session.Device().ip), current.UserName(), current.Password());
  if (context.args.Has("print")) {
    Out(link);
    return ExitStatus::Success;
  }
  if (!ShellOpenLink(Utf8ToUtf16(link))) {
    Err("The browser could not be started; open this link yourself:");
    Out(link);
    return ExitStatus::Failed;
  }
  // The browser's page logs in from this PC: the session stays open for it.
  session.SkipLogout();
  Out("Opened in the browser (the link holds the password; --print shows it).");
  return ExitStatus::Success;
}

} // namespace corvesta::cli
