#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

constexpr std::u16string_view kSuccess = u"success";
constexpr std::u16string_view kFlag = u"flag";
// The reason digit stands this far behind the start of "flag" ("flag>5").
constexpr std::size_t kFlagDigitOffset = 5;

} // namespace

ParseOutcome ParseLogin(CQuery &query, std::string_view reply) {
  const std::u16string text = ReplyText(reply);
  const bool success = text.find(kSuccess) != std::u16string::npos;
  if (!success) {
    const std::size_t flag = text.find(kFlag);
    if (flag != std::u16string::npos) {
      const std::size_t digit = flag + kFlagDigitOffset;
      query.loginFlag =
          digit < text.size() ? ReplyNumber(std::u16string_view(text).substr(digit, 1)) : 0;
    }
  }
  const WPARAM result = success ? kResultSuccess : kResultFailure;
  if (query.wizardLogin == 1) {
    query.Report(WM_COMMAND_RESULT, result, static_cast<LPARAM>(CommandIndex::LogIn));
    return {1, CQuery::Disposition::Finished};
  }
  return {1, query.HandOver(result)};
}

ParseOutcome ParseLogout(CQuery &query, std::string_view reply) {
  const bool success = ReplyText(reply).find(kSuccess) != std::u16string::npos;
  return {1, query.HandOver(success ? kResultSuccess : kResultFailure)};
}

} // namespace corvesta
