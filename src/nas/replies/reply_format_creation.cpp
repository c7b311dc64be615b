#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/xml/xml_document.h"
#include "worker/private_messages.h"

namespace corvesta {

ParseOutcome ParseFormatCreation(CQuery &query, std::string_view reply) {
  constexpr auto kIndex = static_cast<LPARAM>(CommandIndex::CreateVolumes);
  CXmlDocument document;
  if (!document.Parse(ReplyText(reply))) {
    query.Report(WM_FORMAT_CREATE_RESULT, 0, kIndex);
    return {1, CQuery::Disposition::Finished};
  }
  const std::int32_t res = document.FindChild(u"res") ? ReplyNumber(document.GetChildText()) : 0;
  query.Report(WM_FORMAT_CREATE_RESULT, static_cast<WPARAM>(static_cast<std::int64_t>(res)),
               kIndex);
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
