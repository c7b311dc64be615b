#include "cli/credential_source.h"

#include <cstdlib>
#include <utility>

#include "app/remembered_settings.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/visible_text.h"
#include "i18n/own_texts.h"
#include "nas/current_credentials.h"

namespace corvesta::cli {

std::optional<LoginInput> GatherLogin(const Arguments &arguments, const std::string &section,
                                      const std::string &boxLabel,
                                      const std::optional<std::string> &presetPassword,
                                      ExitStatus &failure) {
  const StoredLogin remembered = RememberedLogin(section);
  LoginInput login;
  if (auto user = arguments.Value("user")) {
    login.user = *user;
  } else if (!remembered.user.empty()) {
    login.user = remembered.user;
  } else {
    login.user = kDefaultUser;
  }
  if (login.user.empty()) {
    Err(Tr(u"User name couldn't be empty."));
    failure = ExitStatus::Usage;
    return std::nullopt;
  }

  if (presetPassword) {
    login.password = *presetPassword;
  } else if (arguments.Has("password-stdin")) {
    BoundedLine line = ReadSecretLine({});
    if (line.end != LineEnd::Line) {
      Err(BoundedLineProblem(line.end, "--password-stdin"));
      failure = ExitStatus::Usage;
      return std::nullopt;
    }
    login.password = std::move(line.text);
  } else if (const auto fromEnvironment = SecretVariable(kPasswordEnvironment)) {
    login.password = *fromEnvironment;
  } else if (!remembered.user.empty() && remembered.user == login.user) {
    login.password = remembered.password;
  } else if (InputIsTerminal()) {
    BoundedLine line =
        ReadSecretLine("Password for " + login.user + " on " + VisibleText(boxLabel) + ": ");
    if (line.end == LineEnd::TooLong || line.end == LineEnd::ZeroByte) {
      Err(BoundedLineProblem(line.end, "Password"));
      failure = ExitStatus::Usage;
      return std::nullopt;
    }
    login.password = std::move(line.text);
  } else {
    // An empty password would be sent to the box and refused as a wrong one.
    Err(Tr(kNoPasswordSourceText));
    failure = ExitStatus::Usage;
    return std::nullopt;
  }

  if (login.user.size() > kCredentialMaxBytes || login.password.size() > kCredentialMaxBytes) {
    Err(Tr(kCredentialsTooLongText));
    failure = ExitStatus::Usage;
    return std::nullopt;
  }
  return login;
}

} // namespace corvesta::cli
