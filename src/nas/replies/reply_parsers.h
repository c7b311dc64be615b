#pragma once
// The reply parsers, one per reply shape. Each reads the few elements it
// relies on, stores what it read and posts the messages of its command; the
// result is the exchange's (0 success). A parser that hands the query to its
// window says so in the outcome: the query is then no longer the worker's.
//
// Element searches move forward only: children are read in the order the
// box writes them. Where a search is not checked, a missing element leaves
// the text of the element found last at that level (or nothing).

#include <cstdint>
#include <string_view>

#include "nas/query.h"

namespace corvesta {

struct ParseOutcome {
  std::uint32_t result = 1;
  CQuery::Disposition disposition = CQuery::Disposition::Finished;
};

// cgi_chg_user_pw: root/status "1" makes the query's new password current.
ParseOutcome ParsePasswordChange(CQuery &query, std::string_view reply);
// cgi_get_wizard (UTF-8): root/lan, then root/system, into WizardInfo.
// Fails, with the record emptied, when the reply does not decode to its end,
// is not well formed, or lacks lan or system (system before lan included).
ParseOutcome ParseWizardInfo(CQuery &query, std::string_view reply);
// cgi_get_lan_xml2: root info with ip1, netmask1, gateway1, into the device
// and WizardInfo; ip1 "0.0.0.0" fails.
ParseOutcome ParseLanAddress(CQuery &query, std::string_view reply);
// cgi_get_share_info2 (UTF-8): every root/item onto the share list.
ParseOutcome ParseShareList(CQuery &query, std::string_view reply);
// current_hd_info.xml: HdInfo posted with WM_DISK_INFO.
ParseOutcome ParseDiskInfo(CQuery &query, std::string_view reply);
// cgi_AJAXPlorer_Stop: any well-formed reply; WM_DISK_STEP_RESULT after a pause.
ParseOutcome ParseFileBrowserStop(CQuery &query, std::string_view reply);
// cgi_FMT_Create_DiskMGR: root/res with WM_FORMAT_CREATE_RESULT.
ParseOutcome ParseFormatCreation(CQuery &query, std::string_view reply);
// dm_read_state.xml: root/dm_state with WM_FORMAT_PROGRESS.
ParseOutcome ParseFormatState(CQuery &query, std::string_view reply);
// cgi_Disk_Remount, cgi_Check_Disk_Remount_State, cgi_FMT_Disk_Finish:
// root/res with WM_DISK_STEP_RESULT.
ParseOutcome ParseDiskStep(CQuery &query, std::string_view reply);
// cgi_Status_Volume_Info: every root/item into the caller's volume list.
ParseOutcome ParseVolumeList(CQuery &query, std::string_view reply);
// cgi_get_user_access: root/authority into the query's access text.
ParseOutcome ParseUserAccess(CQuery &query, std::string_view reply);
// login: "success" anywhere, otherwise the digit of the first "flag".
ParseOutcome ParseLogin(CQuery &query, std::string_view reply);
// logout: "success" anywhere.
ParseOutcome ParseLogout(CQuery &query, std::string_view reply);

} // namespace corvesta
