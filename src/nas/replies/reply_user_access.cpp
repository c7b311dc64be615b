#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/xml/xml_document.h"
#include "worker/private_messages.h"

namespace corvesta {

ParseOutcome ParseUserAccess(CQuery &query, std::string_view reply) {
  query.accessText.clear();
  CXmlDocument document;
  if (!document.Parse(ReplyText(reply))) {
    return {1, CQuery::Disposition::Finished};
  }
  if (document.FindChild(u"authority")) {
    query.accessText = document.GetChildText();
  }
  return {0, query.HandOver(kResultSuccess)};
}

} // namespace corvesta
