#include "support/clean_records.h"

#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/replies/share_list.h"
#include "nas/replies/wizard_info.h"
#include "worker/message_store.h"

namespace corvesta::test {

void ResetProcessRecords() {
  DeviceList::Instance().Clear();
  ClearCurrentCredentials();
  SetCurrentWizardInfo(WizardInfo{});
  ShareList::Instance().Clear();
  CMsg::Instance().Clear();
}

CleanRecords::CleanRecords() {
  ResetProcessRecords();
}

CleanRecords::~CleanRecords() {
  ResetProcessRecords();
}

} // namespace corvesta::test
