#include <new>

#include "app/program_info.h"
#include "i18n/translate.h"
#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/replies/volume_info.h"
#include "nas/xml/xml_document.h"
#include "platform/message_box.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

// One item: volume, total_size and use_size, in that order.
void ReadVolume(CXmlDocument &document, VolumeInfo &node) {
  document.IntoChild();
  node.volume = document.FindChild(u"volume") ? ReplyNumber(document.GetChildText()) : 0;
  node.total = document.FindChild(u"total_size") ? ReplyNumber64(document.GetChildText()) : 0;
  node.used = document.FindChild(u"use_size") ? ReplyNumber64(document.GetChildText()) : 0;
  document.OutToParent();
}

} // namespace

ParseOutcome ParseVolumeList(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  if (!document.Parse(ReplyText(reply))) {
    return {1, CQuery::Disposition::Finished};
  }
  VolumeInfo *const first = query.resultList.get();
  VolumeInfo *last = first;
  while (last != nullptr && last->next) {
    last = last->next.get();
  }
  bool firstFilled = false;
  while (document.FindChild(u"item")) {
    if (first == nullptr) {
      break; // the caller handed over no list to fill
    }
    if (!firstFilled) {
      ReadVolume(document, *first);
      firstFilled = true;
      continue;
    }
    std::unique_ptr<VolumeInfo> node(new (std::nothrow) VolumeInfo());
    if (!node) {
      ShowMessageBox(query.window, Translate(u"nas_volume_info malloc failed."),
                     std::u16string(kProgramTitle), MessageBoxButtons::Ok, MessageBoxIcon::Error);
      break;
    }
    ReadVolume(document, *node);
    last->next = std::move(node);
    last = last->next.get();
  }
  return {0, query.HandOver(kResultSuccess)};
}

} // namespace corvesta
