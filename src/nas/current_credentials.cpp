#include "nas/current_credentials.h"

#include "platform/text_codec.h"
#include "worker/guarded_value.h"

namespace corvesta {

namespace {

GuardedValue<Credentials> g_current;

} // namespace

std::string_view Credentials::UserName() const {
  return FieldText(userName, sizeof userName);
}

std::string_view Credentials::Password() const {
  return FieldText(password, sizeof password);
}

bool Credentials::operator==(const Credentials &other) const {
  return UserName() == other.UserName() && Password() == other.Password();
}

Credentials MakeCredentials(std::string_view userName, std::string_view password) {
  Credentials credentials;
  CopyToField(credentials.userName, sizeof credentials.userName, userName);
  CopyToField(credentials.password, sizeof credentials.password, password);
  return credentials;
}

Credentials CurrentCredentials() {
  return g_current.Get();
}

void SetCurrentCredentials(const Credentials &credentials) {
  g_current.Set(credentials);
}

void ClearCurrentCredentials() {
  g_current.Set(Credentials{});
}

bool ClearCurrentCredentialsIf(const Credentials &expected) {
  return g_current.Update([&](Credentials &current) {
    if (!(current == expected)) {
      return false;
    }
    current = Credentials{};
    return true;
  });
}

} // namespace corvesta
