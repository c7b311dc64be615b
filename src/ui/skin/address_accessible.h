#pragma once
// What assistive technology reads of an address control: an editable text
// named by the control's accessible name, whose value is the address as its
// four number fields show it ("192.168.1.", with an empty field left empty),
// and whose children are the four fields ("name, part N of 4"). The control
// takes the Tab stop and hands the focus straight to its first field.

class QAccessibleInterface;

namespace corvesta {

class CGdipIpAddrCtl;

QAccessibleInterface *MakeAddressAccessible(CGdipIpAddrCtl *control);

} // namespace corvesta
