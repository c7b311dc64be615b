#include "nas/replies/share_list.h"

namespace corvesta {

void ShareList::Clear() {
  std::lock_guard guard(m_lock);
  m_entries.clear();
}

void ShareList::Append(ShareEntry entry) {
  std::lock_guard guard(m_lock);
  m_entries.push_back(std::move(entry));
}

std::size_t ShareList::Count() const {
  std::lock_guard guard(m_lock);
  return m_entries.size();
}

std::vector<ShareEntry> ShareList::Snapshot() const {
  std::lock_guard guard(m_lock);
  return m_entries;
}

bool ShareList::SetLabel(std::size_t index, std::u16string label) {
  std::lock_guard guard(m_lock);
  if (index >= m_entries.size()) {
    return false;
  }
  m_entries[index].label = std::move(label);
  return true;
}

} // namespace corvesta
