#pragma once
// The process-wide records that requests fill and windows read: the device
// list, the current credentials, the wizard information, the share list and
// the message store. Tests in one binary share them, so a test that leaves a
// record filled changes what the next one sees.

namespace corvesta::test {

// Empties every one of those records. Queries left in the message store
// (results nobody took) are deleted.
void ResetProcessRecords();

// Resets the records when made and again when it goes away, so that a test
// starts clean and leaves nothing behind. Declare it as the first member of
// a fixture: it then resets before the other members are made and after
// they are gone.
class CleanRecords {
public:
  CleanRecords();
  ~CleanRecords();
  CleanRecords(const CleanRecords &) = delete;
  CleanRecords &operator=(const CleanRecords &) = delete;
};

} // namespace corvesta::test
