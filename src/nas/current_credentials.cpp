#include "nas/current_credentials.h"

#include <mutex>

#include "platform/text_codec.h"

namespace corvesta {

namespace {

std::mutex g_lock;
Credentials g_current;

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
  std::lock_guard guard(g_lock);
  return g_current;
}

void SetCurrentCredentials(const Credentials &credentials) {
  std::lock_guard guard(g_lock);
  g_current = credentials;
}

void ClearCurrentCredentials() {
  std::lock_guard guard(g_lock);
  g_current = Credentials{};
}

bool ClearCurrentCredentialsIf(const Credentials &expected) {
  std::lock_guard guard(g_lock);
  if (!(g_current == expected)) {
    return false;
  }
  g_current = Credentials{};
  return true;
}

} // namespace corvesta
