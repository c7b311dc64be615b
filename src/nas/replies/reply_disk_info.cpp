#include "nas/replies/hd_info.h"
#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/xml/xml_document.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

// One item: device_name and hd_GiB_size, in that order.
void ReadDisk(CXmlDocument &document, char (&name)[10], std::int32_t &size) {
  document.IntoChild();
  document.FindChild(u"device_name");
  StoreReplyText(name, document.GetChildText());
  document.FindChild(u"hd_GiB_size");
  size = ReplyNumber(document.GetChildText());
  document.OutToParent();
}

} // namespace

ParseOutcome ParseDiskInfo(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  if (!document.Parse(ReplyText(reply))) {
    return {1, CQuery::Disposition::Finished};
  }
  auto info = std::make_unique<HdInfo>();
  if (document.FindChild(u"hd_info")) {
    document.IntoChild();
    if (document.FindChild(u"device_info")) {
      document.IntoChild();
    }
    if (document.FindChild(u"device_num")) {
      info->deviceCount = ReplyNumber(document.GetChildText());
    }
    if (document.FindChild(u"item")) {
      ReadDisk(document, info->disk1Name, info->disk1Size);
      if (document.FindChild(u"item")) {
        ReadDisk(document, info->disk2Name, info->disk2Size);
      }
    }
  }
  const WPARAM copy = HdInfoToWParam(std::move(info));
  if (!query.Report(WM_DISK_INFO, copy, static_cast<LPARAM>(CommandIndex::ReadDiskInfo))) {
    TakeHdInfo(copy); // nobody received it
  }
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
