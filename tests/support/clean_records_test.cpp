// The reset between tests: every process-wide record a test can fill is
// empty afterwards, and a result nobody took is deleted, not leaked.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/replies/share_list.h"
#include "nas/replies/wizard_info.h"
#include "platform/text_codec.h"
#include "support/clean_records.h"
#include "worker/message_store.h"

using namespace corvesta;

namespace {

class Tracked : public CThread {
public:
  explicit Tracked(bool &deleted) : m_deleted(deleted) {}
  ~Tracked() override { m_deleted = true; }

private:
  bool &m_deleted;
};

struct RecordCase {
  const char *what;
  std::function<void()> fill;
  std::function<bool()> empty;
};

bool WizardInfoEmpty() {
  const WizardInfo info = CurrentWizardInfo();
  return FieldText(info.ip, sizeof info.ip).empty() &&
         FieldText(info.name, sizeof info.name).empty() && info.dhcp == 0 && info.timezone == 0;
}

} // namespace

TEST(CleanRecords, EveryRecordIsEmptyAfterTheReset) {
  const RecordCase cases[] = {
      {"device list",
       [] {
         DeviceList &list = DeviceList::Instance();
         list.Update(list.Generation(), [](std::vector<NasDevice> &devices) {
           NasDevice device;
           CopyToField(device.name, sizeof device.name, "left-over");
           devices.push_back(device);
         });
       },
       [] { return DeviceList::Instance().Count() == 0; }},
      {"current credentials", [] { SetCurrentCredentials(MakeCredentials("admin", "secret")); },
       [] { return CurrentCredentials() == Credentials{}; }},
      {"wizard information",
       [] {
         WizardInfo info;
         CopyToField(info.ip, sizeof info.ip, "10.0.0.2");
         CopyToField(info.name, sizeof info.name, "box");
         info.dhcp = 1;
         info.timezone = 7;
         SetCurrentWizardInfo(info);
       },
       WizardInfoEmpty},
      {"share list",
       [] {
         ShareList::Instance().Append({u"Public", u"select"});
       },
       [] { return ShareList::Instance().Count() == 0; }},
      {"message store", [] { CMsg::Instance().Put(nullptr, 0); },
       [] { return CMsg::Instance().Size() == 0; }},
  };
  for (const RecordCase &c : cases) {
    SCOPED_TRACE(c.what);
    c.fill();
    ASSERT_FALSE(c.empty()) << "the case fills its record";
    test::ResetProcessRecords();
    EXPECT_TRUE(c.empty());
  }
}

TEST(CleanRecords, AResultNobodyTookIsDeleted) {
  bool deleted = false;
  {
    test::CleanRecords clean;
    CMsg::Instance().Put(std::make_unique<Tracked>(deleted), 0);
  }
  EXPECT_TRUE(deleted);
  EXPECT_EQ(CMsg::Instance().Size(), 0u);
}
