#include "nas/protocol_timing.h"
#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/xml/xml_document.h"
#include "worker/private_messages.h"

namespace corvesta {

ParseOutcome ParseFileBrowserStop(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  if (!document.Parse(ReplyText(reply))) {
    return {1, CQuery::Disposition::Finished};
  }
  if (!query.PauseFor(timing::Scaled(timing::kFileBrowserStopPause))) {
    return {1, CQuery::Disposition::Finished}; // stopped: nobody waits for the answer
  }
  query.Report(WM_DISK_STEP_RESULT, 1, static_cast<LPARAM>(CommandIndex::StopFileBrowser));
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
