#include "ui/wizard/wizard_launch.h"

#include "ui/main/ui_text.h"
#include "ui/wizard/drive_mapping_page.h"
#include "ui/wizard/network_page.h"
#include "ui/wizard/raid_page.h"
#include "ui/wizard/time_zone_page.h"
#include "ui/wizard/user_group_page.h"
#include "ui/wizard/user_name_page.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_page.h"

namespace corvesta {

using namespace wizard_ids;

namespace {

struct PageEntry {
  int templateId;
  std::u16string_view name;
  std::u16string_view hint;
  bool everyone;
};
constexpr std::array<PageEntry, WizardPageSet::kCount> kPageTable{{
    {kPasswordTemplate, u"Password", u"* You may change the password here.", true},
    {kDeviceInfoTemplate, u"WorkGroup", u"* You may assign name/description for the storage here.",
     false},
    {kTimeZoneTemplate, u"TimeZone", u"* Select your time zone from the list.", false},
    {kNetworkTemplate, u"Network", u"* Enter your Network information here.", false},
    {kDiskModeTemplate, u"RAID", u"", false},
    {kDriveMappingTemplate, u"DriveMapping", u"", true},
}};

} // namespace

WizardPageSet::WizardPageSet() {
  m_pages[0] = std::make_unique<CUserNamePage>();
  m_pages[1] = std::make_unique<CUserGroupPage>();
  m_pages[2] = std::make_unique<CTimeZonePage>();
  m_pages[3] = std::make_unique<CNetworkPage>();
  m_pages[4] = std::make_unique<CRaidPage>();
  m_pages[5] = std::make_unique<CDriveMappingPage>();
}

WizardPageSet::~WizardPageSet() = default;

void AddWizardPages(WizardPageSink &frame, const WizardPageSet &pages, bool administrator,
                    std::int32_t boxIndex) {
  for (std::size_t i = 0; i < kPageTable.size(); ++i) {
    const PageEntry &entry = kPageTable[i];
    if (administrator || entry.everyone) {
      frame.AddPage(pages.Page(i), entry.templateId, boxIndex, UiText(entry.name),
                    entry.hint.empty() ? QString() : UiText(entry.hint));
    }
  }
}

} // namespace corvesta
