#include "cli/credential_source.h"

#include <cstdlib>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "nas/current_credentials.h"
#include "platform/text_codec.h"
#include "platform/base64.h"

namespace corvesta::cli {

LoginInput RememberedLogin(const std::string &section) {
  LoginInput login;
  if (section.empty()) {
    return login;
  }
  const std::u16string name = Utf8ToUtf16(section);
  std::u16string value;
  if (settings::Read(name, settings::kKeyUserName, value)) {
    login.user = Utf16ToUtf8(value);
  }
  value.clear();
  if (settings::Read(name, settings::kKeyPassWord, value)) {
    // A value edited by hand that is not Base64 counts as no password.
    if (auto bytes = Base64Decode(Utf16ToUtf8(value))) {
      login.password = *bytes;
    }
  }
  return login;
}

std::optional<LoginInput> GatherLogin(const Arguments &arguments, const std::string &section,
                                      const std::string &boxLabel,
                                      const std::optional<std::string> &presetPassword,
                                      ExitStatus &failure) {
  const LoginInput remembered = RememberedLogin(section);
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
    auto line = ReadSecretLine({});
    if (!line) {
      Err("--password-stdin: standard input holds no line with the password.");
      failure = ExitStatus::Usage;
      return std::nullopt;
    }
    login.password = *line;
  } else if (const char *fromEnvironment = std::getenv(kPasswordEnvironment)) {
    login.password = fromEnvironment;
  } else if (!remembered.user.empty() && remembered.user == login.user) {
    login.password = remembered.password;
  } else if (InputIsTerminal()) {
    auto line = ReadSecretLine("Password for " + login.user + " on " + boxLabel + ": ");
    login.password = line.value_or(std::string());
  }

  if (login.user.size() > kCredentialMaxBytes || login.password.size() > kCredentialMaxBytes) {
    Err("The user name and the password may hold at most 16 bytes each.");
    failure = ExitStatus::Usage;
    return std::nullopt;
  }
  return login;
}

void StoreLogin(const std::string &section, const LoginInput &login) {
  if (section.empty()) {
    return;
  }
  const std::u16string name = Utf8ToUtf16(section);
  settings::Write(name, settings::kKeyUserName, Utf8ToUtf16(login.user));
  const std::string encoded = Base64Encode(login.password);
  if (encoded.empty()) {
    settings::WriteEmpty(name, settings::kKeyPassWord);
  } else {
    settings::Write(name, settings::kKeyPassWord, Utf8ToUtf16(encoded));
  }
}

void ForgetLogin(const std::string &section) {
  if (section.empty()) {
    return;
  }
  const std::u16string name = Utf8ToUtf16(section);
  settings::WriteEmpty(name, settings::kKeyUserName);
  settings::WriteEmpty(name, settings::kKeyPassWord);
}

} // namespace corvesta::cli
