#pragma once
// The process-wide list of a box's shares, filled by the share list reply in
// reply order. Whoever starts a share list request empties it first (the
// start operation does); windows read it after the request's result message.

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "worker/singleton.h"

namespace corvesta {

struct ShareEntry {
  std::u16string name;  // the share's name
  std::u16string label; // "select" translated; the drive mapping page puts a drive here
};

class ShareList : public Singleton<ShareList> {
public:
  void Clear();
  void Append(ShareEntry entry);
  std::size_t Count() const;
  std::vector<ShareEntry> Snapshot() const;
  // Replaces the label of the entry at `index`; false outside the list.
  bool SetLabel(std::size_t index, std::u16string label);

private:
  friend class Singleton<ShareList>;
  ShareList() = default;

  mutable std::mutex m_lock;
  std::vector<ShareEntry> m_entries;
};

} // namespace corvesta
