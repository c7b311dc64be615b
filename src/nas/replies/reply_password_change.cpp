#include "nas/current_credentials.h"
#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/xml/xml_document.h"
#include "platform/text_codec.h"

namespace corvesta {

ParseOutcome ParsePasswordChange(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  document.Parse(ReplyText(reply));
  if (!document.FindChild(u"status")) {
    return {1, CQuery::Disposition::Finished};
  }
  document.IntoChild();
  if (document.GetText() != u"1") {
    return {1, CQuery::Disposition::Finished};
  }
  const Credentials current = CurrentCredentials();
  SetCurrentCredentials(
      MakeCredentials(current.UserName(), FieldText(query.newPassword, sizeof query.newPassword)));
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
