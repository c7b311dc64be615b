#include "ui/skin/address_accessible.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QStringList>

#include "ui/skin/gdip_ip_addr_ctl.h"

namespace corvesta {
namespace {

class AddressAccessible : public QAccessibleWidget {
public:
  explicit AddressAccessible(CGdipIpAddrCtl *control)
      : QAccessibleWidget(control, QAccessible::EditableText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) {
      const auto *control = static_cast<const CGdipIpAddrCtl *>(widget());
      if (control->IsBlank()) {
        return QString();
      }
      QStringList parts;
      for (int i = 0; i < kAddressFieldCount; ++i) {
        parts << control->Field(i)->text();
      }
      return parts.join(QLatin1Char('.'));
    }
    return QAccessibleWidget::text(t);
  }
};

} // namespace

QAccessibleInterface *MakeAddressAccessible(CGdipIpAddrCtl *control) {
  return new AddressAccessible(control);
}

} // namespace corvesta
