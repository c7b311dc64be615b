#include "ui/main/address_names.h"

#include "i18n/own_texts.h"
#include "ui/main/ui_text.h"
#include "ui/skin/gdip_ip_addr_ctl.h"

namespace corvesta {

void NameAddressControl(CGdipIpAddrCtl *control, const QString &name) {
  control->SetAccessibleNames(name, [&name](int field) {
    return UiText(kAddressPartText, name, QString::number(field + 1));
  });
}

} // namespace corvesta
