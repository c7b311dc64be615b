#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/xml/xml_document.h"
#include "worker/private_messages.h"

namespace corvesta {

ParseOutcome ParseDiskStep(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  if (!document.Parse(ReplyText(reply))) {
    return {1, CQuery::Disposition::Finished};
  }
  const std::int32_t res = document.FindChild(u"res") ? ReplyNumber(document.GetChildText()) : 0;
  query.Report(WM_DISK_STEP_RESULT, static_cast<WPARAM>(static_cast<std::int64_t>(res)),
               static_cast<LPARAM>(query.commandIndex));
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
