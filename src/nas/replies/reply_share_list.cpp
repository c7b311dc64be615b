#include "i18n/translate.h"
#include "nas/replies/reply_parsers.h"
#include "nas/replies/share_list.h"
#include "nas/replies/utf8_reply_decoder.h"
#include "nas/xml/xml_document.h"
#include "worker/private_messages.h"

namespace corvesta {

ParseOutcome ParseShareList(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  if (!document.Parse(DecodeUtf8Reply(reply))) {
    return {1, CQuery::Disposition::Finished};
  }
  const std::u16string label = Translate(u"select");
  while (document.FindChild(u"item")) {
    ShareList::Instance().Append(ShareEntry{document.GetChildText(), label});
  }
  if (query.kind == QueryKind::ShareList) {
    return {0, query.HandOver(kResultSuccess)};
  }
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
