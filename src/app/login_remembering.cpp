#include "app/login_remembering.h"

#include "app/remembered_settings.h"

namespace corvesta {

bool RememberLoginStart(std::string_view box, LoginMemory memory) {
  if (memory == LoginMemory::Forget) {
    return RememberConnection(box, false, {}, {});
  }
  return SetLastBox(box);
}

bool RememberAcceptedLogin(std::string_view box, LoginMemory memory, std::string_view user,
                           std::string_view password) {
  if (memory != LoginMemory::Remember) {
    return true;
  }
  return RememberConnection(box, true, user, password);
}

bool PendingLoginMemory::Begin(std::string_view box, LoginMemory memory, std::string_view user,
                               std::string_view password) {
  m_box = box;
  m_memory = memory;
  m_user = user;
  m_password = password;
  m_waiting = true;
  return RememberLoginStart(box, memory);
}

bool PendingLoginMemory::Accepted() {
  if (!m_waiting) {
    return true;
  }
  m_waiting = false;
  const bool written = RememberAcceptedLogin(m_box, m_memory, m_user, m_password);
  Drop();
  return written;
}

void PendingLoginMemory::Drop() {
  m_waiting = false;
  m_password.assign(m_password.size(), '\0');
  m_password.clear();
  m_user.clear();
  m_box.clear();
}

} // namespace corvesta
