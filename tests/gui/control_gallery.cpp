// The control gallery: the address field, the report list with its header and
// in-place chooser, the folder grid and the volume gauge, each on the
// background of the window that uses it, written as PNG files next to the
// skin gallery's sheets, so the controls can be looked at without a box.
//
//   control_gallery <folder> [scale]
//
// With scale 2 the files are rendered at device pixel ratio 2 and named
// <sheet>@2x.png. The exit code is 0 when every image loaded and every file
// was written.

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "gallery_support.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_dialog.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/gdip_list_combo_box.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/skin/gdip_process_ctrl.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/volume_info_ctrl.h"

using namespace corvesta;
namespace ids = corvesta::skin;

namespace {

using gallery::Fail;
using gallery::Save;
using gallery::Settle;
using gallery::Shoot;

CTransStatic *Label(QWidget *parent, const QString &text, QRect where, int height = 17,
                    int weight = ids::kWeightRegular, QColor color = Qt::white) {
  auto *label = new CTransStatic(text, parent);
  label->setGeometry(where);
  label->SetTextHeight(height);
  label->SetTextWeight(weight);
  label->SetTextColor(color);
  label->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  return label;
}

void Picture(QWidget *parent, int id, QRect where) {
  auto *picture = new CGdipIconStatic(parent);
  if (!picture->SetImage(id)) {
    Fail(QStringLiteral("picture %1").arg(id));
  }
  picture->setGeometry(where);
}

void Dialog(CGdipDialog &dialog, QSize size, int background, const QString &title) {
  dialog.resize(size);
  if (!dialog.SetBackgroundImage(background)) {
    Fail(QStringLiteral("background %1").arg(background));
  }
  Label(&dialog, title, QRect(18, 13, 400, 26), 19, ids::kWeightBold);
  dialog.SetWindowOutline(CGdipDialog::RoundedOutline(size, 10));
}

// ---------------------------------------------------------------- sheets

void AddressSheet() {
  CGdipDialog dialog;
  Dialog(dialog, {460, 300}, ids::kLoginBackground, QStringLiteral("Address fields"));
  struct Row {
    const char *label;
    int bytes[4];
    int state; // 0 filled, 1 focused, 2 disabled, 3 blank
  } rows[] = {{"IP ADDress", {192, 168, 1, 20}, 0},
              {"Subnet Mask", {255, 255, 255, 0}, 1},
              {"Gateway IP", {192, 168, 1, 1}, 2},
              {"DNS 1", {0, 0, 0, 0}, 3}};
  CGdipIpAddrCtl *focused = nullptr;
  int y = 70;
  for (const Row &row : rows) {
    Label(&dialog, QString::fromLatin1(row.label), QRect(40, y, 120, 26), 15);
    auto *address = new CGdipIpAddrCtl(&dialog);
    if (!address->ImageLoaded()) {
      Fail(QStringLiteral("address field image"));
    }
    address->setGeometry(170, y, 180, 26);
    if (row.state != 3) {
      address->SetAddress(
          static_cast<std::uint8_t>(row.bytes[0]), static_cast<std::uint8_t>(row.bytes[1]),
          static_cast<std::uint8_t>(row.bytes[2]), static_cast<std::uint8_t>(row.bytes[3]));
    }
    if (row.state == 1) {
      focused = address;
    }
    address->setEnabled(row.state != 2);
    Label(&dialog,
          QString::fromLatin1(row.state == 1   ? "focused"
                              : row.state == 2 ? "disabled"
                              : row.state == 3 ? "blank"
                                               : ""),
          QRect(364, y, 80, 26), 13, ids::kWeightRegular, QColor(170, 170, 170));
    y += 46;
  }
  gallery::Show(dialog);
  focused->setFocus(Qt::TabFocusReason);
  focused->Field(3)->setFocus();
  focused->Field(3)->selectAll();
  Save(Shoot(dialog), QStringLiteral("control_address"));
}

void TimeZoneListSheet() {
  CGdipDialog dialog;
  Dialog(dialog, {560, 340}, ids::kWizardBackground, QStringLiteral("TimeZone"));
  Picture(&dialog, ids::kListPanel, QRect(30, 56, 500, 262));
  auto *list = new CGdipListCtrl(&dialog);
  list->setGeometry(40, 62, 480, 22 + 8 * 30);
  list->InsertColumn(0, QStringLiteral("Location"), ColumnAlign::Left, 400);
  list->InsertColumn(1, QStringLiteral("TimeZone"), ColumnAlign::Center, 80);
  list->SetColumnStyle(0, 18, Qt::white);
  list->SetColumnStyle(1, 14, QColor(0xAA, 0xAA, 0xAA));
  const char *zones[][2] = {{"Dublin, Edinburgh, Lisbon, London", "GMT 00:00"},
                            {"Monrovia, Reykjavik", "GMT 00:00"},
                            {"West Central Africa", "GMT+01:00"},
                            {"Brussels, Copenhagen, Madrid, Paris", "GMT+01:00"},
                            {"Belgrade, Bratislava, Budapest, Ljubljana, Prague", "GMT+01:00"},
                            {"Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna", "GMT+01:00"},
                            {"Sarajevo, Skopje, Warsaw, Zagreb", "GMT+01:00"},
                            {"Amman", "GMT+02:00"},
                            {"Beirut", "GMT+02:00"},
                            {"Minsk", "GMT+02:00"}};
  int row = 0;
  for (const auto &zone : zones) {
    list->InsertItem(row, QString::fromLatin1(zone[0]));
    list->SetItemText(row, 1, QString::fromLatin1(zone[1]));
    ++row;
  }
  list->HideVerticalScrollBar();
  list->SetSelectedRow(2);
  Save(Shoot(dialog), QStringLiteral("control_list_time_zone"));
}

void DriveMappingListSheet() {
  CGdipDialog dialog;
  Dialog(dialog, {560, 340}, ids::kWizardBackground, QStringLiteral("DriveMapping"));
  Picture(&dialog, ids::kListPanel, QRect(30, 56, 500, 262));
  auto *list = new CGdipListCtrl(&dialog);
  list->setGeometry(40, 62, 480, 22 + 8 * 30);
  list->InsertColumn(0, QStringLiteral("Name"), ColumnAlign::Left, 305);
  list->InsertColumn(1, QStringLiteral("Location"), ColumnAlign::Left, 130);
  list->SetColumnStyle(0, 18, Qt::white);
  list->SetColumnStyle(1, 18, Qt::white);
  list->EnableChoiceColumn();
  const char *shares[][2] = {{"public", "Z:"},
                             {"media", "select"},
                             {"backup", "select"},
                             {"photos of the family 2019", "Y:"}};
  int row = 0;
  for (const auto &share : shares) {
    list->InsertItem(row, QString::fromLatin1(share[0]));
    list->SetItemText(row, 1, QString::fromLatin1(share[1]));
    ++row;
  }
  gallery::Show(dialog);
  list->SetSelectedRow(1);
  // The chooser open on the second share, its list dropped down below it.
  list->OpenChooser(1, 1);
  CGdipListComboBox *chooser = CGdipListCtrl::Chooser();
  const QStringList letters = {QStringLiteral("select"), QStringLiteral("X:"), QStringLiteral("W:"),
                               QStringLiteral("V:"), QStringLiteral("U:")};
  chooser->addItems(letters);
  chooser->setCurrentIndex(0);
  chooser->showPopup();
  Settle();
  QImage shot = dialog.grab().toImage();
  QWidget *popup = chooser->view()->window();
  if (popup != nullptr && popup->isVisible()) {
    const QImage dropped = popup->grab().toImage();
    const QPoint at = dialog.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0)));
    QPainter painter(&shot);
    painter.drawImage(at, dropped);
  }
  Save(shot, QStringLiteral("control_list_drive_mapping"));
  // The chooser's face over the cell with its list closed up.
  if (popup != nullptr) {
    popup->hide();
  }
  chooser->setCurrentIndex(1);
  Settle();
  Save(dialog.grab().toImage(), QStringLiteral("control_list_chooser"));
  chooser->Close(true);
}

// Selects an entry of the folder grid as a click on it does.
void Click(CFolderListCtrl *folders, int index) {
  const QPoint at = folders->CellRect(index).center() - QPoint(0, folders->ScrollOffset());
  QMouseEvent press(QEvent::MouseButtonPress, at, folders->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, folders->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(folders, &press);
  QCoreApplication::sendEvent(folders, &release);
  if (folders->GetSelected() != index) {
    Fail(QStringLiteral("folder selection"));
  }
}

void NasInfoSheet() {
  CGdipDialog dialog;
  Dialog(dialog, {600, 470}, ids::kMainBackground, QStringLiteral("KS-310"));
  const struct {
    int total;
    int used;
  } volumes[] = {{931, 412}, {1863, 12}};
  int y = 50;
  int number = 1;
  for (const auto &v : volumes) {
    Picture(&dialog, ids::kVolumeIcon, QRect(30, y + 6, 40, 40));
    auto *gauge = new CVolumeInfoCtrl(&dialog);
    gauge->move(40, y);
    gauge->SetVolume(v.total, v.used, QStringLiteral("Volume_%1").arg(number++));
    if (!gauge->Bar()->ImagesLoaded()) {
      Fail(QStringLiteral("gauge images"));
    }
    y += 56;
  }
  auto *folders = new CFolderListCtrl(&dialog);
  folders->setGeometry(40, 176, 530, 200);
  const char *shares[] = {"public", "media",       "backup",    "photos", "Documents and Settings",
                          "music",  "home_movies", "usb-disk-1"};
  for (const char *share : shares) {
    folders->AddFolder(QString::fromLatin1(share));
  }
  dialog.show();
  Settle();
  Click(folders, 1);
  Save(Shoot(dialog), QStringLiteral("control_nas_info"));
  // The grid scrolled to its end, the long name shortened and selected.
  QWheelEvent wheel(QPointF(50, 50), folders->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, -3 * 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(folders, &wheel);
  Click(folders, 4);
  Save(Shoot(dialog), QStringLiteral("control_nas_info_scrolled"));
}

} // namespace

int main(int argc, char *argv[]) {
  return gallery::Run(argc, argv, "control_gallery",
                      {AddressSheet, TimeZoneListSheet, DriveMappingListSheet, NasInfoSheet});
}
