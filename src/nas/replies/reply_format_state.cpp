#include "nas/replies/format_state.h"
#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/xml/xml_document.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

// The text of the next child named `name`, or nothing when there is none.
std::u16string ChildTextOrEmpty(CXmlDocument &document, std::u16string_view name) {
  return document.FindChild(name) ? document.GetChildText() : std::u16string();
}

} // namespace

ParseOutcome ParseFormatState(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  if (!document.Parse(ReplyText(reply))) {
    return {1, CQuery::Disposition::Finished};
  }
  std::u16string finished;
  std::u16string errcode;
  std::u16string percent;
  if (document.FindChild(u"dm_state")) {
    document.IntoChild();
    finished = ChildTextOrEmpty(document, u"finished");
    errcode = ChildTextOrEmpty(document, u"errcode");
    percent = ChildTextOrEmpty(document, u"percent");
  }
  FormatState state = FormatState::Running;
  if (finished == u"1") {
    state = FormatState::Finished;
  }
  if (errcode != u"1") {
    state = FormatState::Error;
  }
  query.Report(WM_FORMAT_PROGRESS, static_cast<WPARAM>(state), ReplyNumber(percent));
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
