#pragma once
// Names an address control and its four number fields in the interface
// language: the control is called `name`, each field "name, part N of 4".

#include <QString>

namespace corvesta {

class CGdipIpAddrCtl;

void NameAddressControl(CGdipIpAddrCtl *control, const QString &name);

} // namespace corvesta
