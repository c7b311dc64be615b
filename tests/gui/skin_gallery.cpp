// The skin gallery: renders every skinned control in its states on the
// dialogs' backgrounds, the layouts of the windows not built yet, and a sheet
// of every image, and writes them as PNG files, so the skin can be looked at
// without a box. The main window and the login dialog are shot as they are
// by the window gallery (window_gallery.cpp), the wizard's pages and the
// format progress dialog by the wizard gallery (wizard_gallery.cpp).
//
//   skin_gallery <folder> [scale]
//
// With scale 2 the files are rendered at device pixel ratio 2 and named
// <sheet>@2x.png. The exit code is 0 when every image loaded and every file
// was written.

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPainter>
#include <functional>

#include "gallery_support.h"
#include "ui/skin/bottom_icon_button.h"
#include "ui/skin/dialog_group.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_dialog.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/gdip_slider.h"
#include "ui/skin/process_button.h"
#include "ui/skin/shortcut_button.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/skin_image_table.h"
#include "ui/skin/skin_tool_tip.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/underline_button.h"

using namespace corvesta;
namespace ids = corvesta::skin;

namespace {

using gallery::Fail;
using gallery::Save;
using gallery::Shoot;

void Hover(QWidget *widget) {
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QCoreApplication::sendEvent(widget, &enter);
}

CTransStatic *Label(QWidget *parent, const QString &text, QRect where, int height = 17,
                    int weight = ids::kWeightRegular, QColor color = Qt::white) {
  auto *label = new CTransStatic(text, parent);
  label->setGeometry(where);
  label->SetTextHeight(height);
  label->SetTextWeight(weight);
  label->SetTextColor(color);
  return label;
}

CGdipButton *Button(QWidget *parent, const QString &text, QRect where, int normal, int hover,
                    int pressed, ButtonKind kind = ButtonKind::PushButton) {
  auto *button = new CGdipButton(kind, parent);
  if (!button->LoadImages(normal, hover, pressed)) {
    Fail(QStringLiteral("button images %1 %2 %3").arg(normal).arg(hover).arg(pressed));
  }
  button->setText(text);
  button->setGeometry(where);
  return button;
}

CGdipIconStatic *Picture(QWidget *parent, int id, QRect where) {
  auto *picture = new CGdipIconStatic(parent);
  if (!picture->SetImage(id)) {
    Fail(QStringLiteral("picture %1").arg(id));
  }
  picture->setGeometry(where);
  return picture;
}

QLineEdit *Field(QWidget *parent, int frame, QRect where, const QString &text,
                 bool password = false) {
  Picture(parent, frame, where);
  auto *edit = new QLineEdit(text, parent);
  edit->setFrame(false);
  edit->setGeometry(where.adjusted(6, 4, -6, -4));
  edit->setFont(ids::SkinFont(16));
  edit->setStyleSheet(QStringLiteral("background: transparent; color: #323232;"));
  if (password) {
    edit->setEchoMode(QLineEdit::Password);
  }
  return edit;
}

void TitleButtons(QWidget *dialog, int right, int y, bool withTools) {
  int x = right - 28;
  Button(dialog, QString(), QRect(x, y, 28, 28), ids::kCloseNormal, ids::kCloseHover,
         ids::kClosePressed);
  if (withTools) {
    const int sets[][3] = {{ids::kMinimiseNormal, ids::kMinimiseHover, ids::kMinimisePressed},
                           {ids::kLogoutNormal, ids::kLogoutHover, ids::kLogoutPressed},
                           {ids::kSettingsNormal, ids::kSettingsHover, ids::kSettingsPressed},
                           {ids::kHelpNormal, ids::kHelpHover, ids::kHelpPressed}};
    for (const auto &set : sets) {
      x -= 32;
      Button(dialog, QString(), QRect(x, y, 28, 28), set[0], set[1], set[2]);
    }
  }
}

// ---------------------------------------------------------------- sheets

void SetIpSheet() {
  CGdipDialog dialog;
  dialog.resize(460, 360);
  dialog.SetBackgroundImage(ids::kLoginBackground);
  Label(&dialog, QStringLiteral("Set IP"), QRect(18, 13, 200, 24), 19, ids::kWeightBold);
  TitleButtons(&dialog, 448, 10, false);
  Picture(&dialog, ids::kSetIpPicture, QRect(24, 88, 120, 120));
  auto *dhcp = Button(&dialog, QStringLiteral("DHCP"), QRect(170, 66, 200, 22), ids::kRadioOff,
                      ids::kRadioOn, ids::kRadioOn, ButtonKind::RadioButton);
  SetGroupStart(dhcp, true);
  Button(&dialog, QStringLiteral("Static IP Address"), QRect(170, 94, 220, 22), ids::kRadioOff,
         ids::kRadioOn, ids::kRadioOn, ButtonKind::RadioButton)
      ->SetCheck(true);
  const char *labels[] = {"IP ADDress", "Subnet Mask", "Gateway IP"};
  const char *values[] = {"192 . 168 .   1 .  20", "255 . 255 . 255 .   0",
                          "192 . 168 .   1 .   1"};
  for (int i = 0; i < 3; ++i) {
    auto *label =
        Label(&dialog, QString::fromLatin1(labels[i]), QRect(170, 130 + 40 * i, 100, 26), 15);
    label->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    Field(&dialog, ids::kIpAddressField, QRect(268, 130 + 40 * i, 180, 26),
          QString::fromLatin1(values[i]));
  }
  auto *ok = Button(&dialog, QStringLiteral("OK"), QRect(110, 310, 110, 32), ids::kTextButtonNormal,
                    ids::kTextButtonActive, ids::kTextButtonActive);
  ok->setDown(true);
  Button(&dialog, QStringLiteral("Cancel"), QRect(240, 310, 110, 32), ids::kTextButtonNormal,
         ids::kTextButtonActive, ids::kTextButtonActive)
      ->setEnabled(false);
  dialog.SetWindowOutline(CGdipDialog::RoundedOutline(dialog.size(), 10));
  Save(Shoot(dialog), QStringLiteral("set_ip"));
}

void SettingsSheet() {
  CGdipDialog dialog;
  dialog.resize(720, 520);
  dialog.SetBackgroundImage(ids::kWizardBackground);
  Label(&dialog, QStringLiteral("Settings"), QRect(20, 16, 200, 26), 22, ids::kWeightBold);
  TitleButtons(&dialog, 708, 14, false);
  auto *tab = new CUnderLineButton(&dialog);
  tab->setText(QStringLiteral("Logout Time"));
  tab->setGeometry(0, 76, 240, 32);
  Hover(tab);
  Picture(&dialog, ids::kSettingsPicture, QRect(60, 170, 120, 120));
  Label(&dialog, QStringLiteral("Log out automatically when idle for:"), QRect(260, 136, 400, 24),
        17);
  const char *times[] = {" 5 Min", "15 Min", "30 Min", "60 Min", "Never Logout"};
  for (int i = 0; i < 5; ++i) {
    auto *radio = Button(&dialog, QString::fromLatin1(times[i]), QRect(280, 176 + 36 * i, 200, 22),
                         ids::kRadioOff, ids::kRadioOn, ids::kRadioOn, ButtonKind::RadioButton);
    SetGroupStart(radio, i == 0);
    if (i == 2) {
      radio->SetCheck(true);
    }
  }
  Button(&dialog, QStringLiteral("OK"), QRect(240, 466, 110, 32), ids::kTextButtonNormal,
         ids::kTextButtonActive, ids::kTextButtonActive);
  Button(&dialog, QStringLiteral("Cancel"), QRect(370, 466, 110, 32), ids::kTextButtonNormal,
         ids::kTextButtonActive, ids::kTextButtonActive);
  dialog.SetWindowOutline(CGdipDialog::RoundedOutline(dialog.size(), 10));
  Save(Shoot(dialog), QStringLiteral("settings"));
}

// Every control kind in every state, one row each.
void StatesSheet() {
  const QStringList states = {QStringLiteral("normal"),  QStringLiteral("hover"),
                              QStringLiteral("pressed"), QStringLiteral("checked"),
                              QStringLiteral("focused"), QStringLiteral("disabled")};
  using Make = std::function<QWidget *(QWidget *, int state)>;
  struct Row {
    QString name;
    QSize size;
    Make make;
  };
  auto push = [](int n, int h, int p, QSize size, const QString &text) {
    return [=](QWidget *parent, int) -> QWidget * {
      return Button(parent, text, QRect(QPoint(0, 0), size), n, h, p);
    };
  };
  const std::vector<Row> rows = {
      {QStringLiteral("text button"),
       {110, 32},
       push(ids::kTextButtonNormal, ids::kTextButtonActive, ids::kTextButtonActive, {110, 32},
            QStringLiteral("Connect"))},
      {QStringLiteral("wizard button"),
       {96, 30},
       push(ids::kWizardButtonNormal, ids::kWizardButtonHover, ids::kWizardButtonPressed, {96, 30},
            QStringLiteral("Next"))},
      {QStringLiteral("help"),
       {28, 28},
       push(ids::kHelpNormal, ids::kHelpHover, ids::kHelpPressed, {28, 28}, QString())},
      {QStringLiteral("settings"),
       {28, 28},
       push(ids::kSettingsNormal, ids::kSettingsHover, ids::kSettingsPressed, {28, 28}, QString())},
      {QStringLiteral("logout"),
       {28, 28},
       push(ids::kLogoutNormal, ids::kLogoutHover, ids::kLogoutPressed, {28, 28}, QString())},
      {QStringLiteral("minimise"),
       {28, 28},
       push(ids::kMinimiseNormal, ids::kMinimiseHover, ids::kMinimisePressed, {28, 28}, QString())},
      {QStringLiteral("close"),
       {28, 28},
       push(ids::kCloseNormal, ids::kCloseHover, ids::kClosePressed, {28, 28}, QString())},
      {QStringLiteral("up / down"),
       {28, 20},
       push(ids::kScrollUpNormal, ids::kScrollUpHover, ids::kScrollUpPressed, {28, 20}, QString())},
      {QStringLiteral("check box"),
       {150, 22},
       [](QWidget *parent, int state) -> QWidget * {
         auto *b = Button(parent, QStringLiteral("Remember Me"), QRect(0, 0, 150, 22),
                          ids::kCheckBox, ids::kCheckMark, ids::kCheckMark, ButtonKind::CheckBox);
         b->SetCheck(state == 3 || state == 5);
         return b;
       }},
      {QStringLiteral("radio"),
       {150, 22},
       [](QWidget *parent, int state) -> QWidget * {
         auto *b = Button(parent, QStringLiteral("15 Min"), QRect(0, 0, 150, 22), ids::kRadioOff,
                          ids::kRadioOn, ids::kRadioOn, ButtonKind::RadioButton);
         SetGroupStart(b, true); // each alone, so checking one leaves the others
         b->SetCheck(state == 3 || state == 5);
         return b;
       }},
      {QStringLiteral("shortcut"),
       {190, 52},
       [](QWidget *parent, int state) -> QWidget * {
         auto *b = new CShortCutButton(parent);
         b->LoadImages(ids::kShortcutNormal, ids::kShortcutPressed, ids::kShortcutHover,
                       ids::kDownloadShortcut, ids::kDownloadShortcutLit);
         b->setText(QStringLiteral("Download Center"));
         b->setGeometry(0, 0, 190, 52);
         b->SetSelected(state == 3);
         return b;
       }},
      {QStringLiteral("step"),
       {110, 40},
       [](QWidget *parent, int state) -> QWidget * {
         auto *b = new CProcessButton(parent);
         b->setText(QStringLiteral("TimeZone"));
         b->setGeometry(0, 0, 110, 40);
         b->SetState(state == 0   ? StepState::Pending
                     : state == 3 ? StepState::Done
                                  : StepState::Current);
         return b;
       }},
      {QStringLiteral("underline"),
       {200, 30},
       [](QWidget *parent, int) -> QWidget * {
         auto *b = new CUnderLineButton(parent);
         b->setText(QStringLiteral("Logout Time"));
         b->setGeometry(0, 0, 200, 30);
         return b;
       }},
      {QStringLiteral("bottom text"),
       {180, 22},
       [](QWidget *parent, int) -> QWidget * {
         auto *b = new CBottomIconButton(parent);
         b->setText(QStringLiteral("Select NAS/Short Cut"));
         b->setGeometry(0, 0, 180, 22);
         return b;
       }},
      {QStringLiteral("drop-down"),
       {260, 30},
       [](QWidget *parent, int) -> QWidget * {
         auto *c = new CGdipComboBox(parent);
         c->SetFaceImage(ids::kComboFace);
         c->addItem(QStringLiteral("KS-310"));
         c->setGeometry(0, 0, 260, 30);
         return c;
       }},
  };
  const int cellWidth = 290;
  const int labelWidth = 130;
  int height = 40;
  for (const Row &row : rows) {
    height += row.size.height() + 24;
  }
  CGdipDialog sheet;
  // Wider than any background image: the controls stand on the dialogs'
  // plain body colour here; the window sheets show them on their images.
  sheet.resize(labelWidth + cellWidth * int(states.size()) + 20, height);
  for (int s = 0; s < states.size(); ++s) {
    Label(&sheet, states[s], QRect(labelWidth + cellWidth * s, 12, cellWidth, 20), 16,
          ids::kWeightBold, QColor(0, 160, 255));
  }
  QWidget *focused = nullptr;
  int y = 44;
  for (const Row &row : rows) {
    Label(&sheet, row.name, QRect(12, y, labelWidth - 12, row.size.height()), 15,
          ids::kWeightRegular, QColor(170, 170, 170))
        ->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    for (int s = 0; s < states.size(); ++s) {
      QWidget *control = row.make(&sheet, s);
      control->move(labelWidth + cellWidth * s, y);
      auto *button = qobject_cast<QAbstractButton *>(control);
      switch (s) {
      case 1:
        Hover(control);
        break;
      case 2:
        if (button != nullptr) {
          button->setDown(true);
        }
        break;
      case 4:
        // Only one control can hold the focus: the sheet is shot once per
        // focused control below.
        break;
      case 5:
        control->setEnabled(false);
        break;
      default:
        break;
      }
      if (s == 4) {
        control->setProperty("galleryFocus", true);
      }
    }
    y += row.size.height() + 24;
  }
  // Compose: the sheet once for each focused cell, copying that cell in.
  sheet.show();
  sheet.activateWindow();
  QCoreApplication::processEvents();
  QImage composed = Shoot(sheet);
  const qreal ratio = composed.devicePixelRatio();
  for (QWidget *control : sheet.findChildren<QWidget *>()) {
    if (!control->property("galleryFocus").toBool()) {
      continue;
    }
    focused = control;
    focused->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    const QImage shot = sheet.grab().toImage();
    const QRect area(focused->geometry().topLeft() * ratio, focused->geometry().size() * ratio);
    QPainter painter(&composed);
    painter.drawImage(area.topLeft() / ratio, shot.copy(area));
  }
  Save(composed, QStringLiteral("states"));
}

// Every image of the skin on a neutral ground with its id.
void ImagesSheet() {
  const int columns = 1500;
  const qreal ratio = gallery::PixelRatio();
  struct Placed {
    int id;
    QRect where;
  };
  std::vector<Placed> placed;
  int x = 10;
  int y = 10;
  int rowHeight = 0;
  for (const skin::SkinImageInfo &info : skin::SkinImages()) {
    const QSize shown(std::max(info.width, 40), info.height + 16);
    if (x + shown.width() > columns) {
      x = 10;
      y += rowHeight + 12;
      rowHeight = 0;
    }
    placed.push_back({info.id, QRect(QPoint(x, y), shown)});
    x += shown.width() + 12;
    rowHeight = std::max(rowHeight, shown.height());
  }
  QImage sheet(QSize(columns, y + rowHeight + 10) * ratio, QImage::Format_ARGB32);
  sheet.setDevicePixelRatio(ratio);
  sheet.fill(QColor(0x3a, 0x3f, 0x46));
  QPainter painter(&sheet);
  painter.setFont(ids::SkinFont(13));
  for (const Placed &p : placed) {
    CGdiPlusBitmapResource image;
    if (!image.LoadFromResource(p.id, ratio)) {
      Fail(QStringLiteral("image %1").arg(p.id));
      continue;
    }
    painter.fillRect(QRect(p.where.topLeft(), image.Size()), QColor(0x2a, 0x2e, 0x34));
    painter.drawPixmap(p.where.topLeft(), image.Pixmap());
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(QRect(p.where.left(), p.where.top() + image.Height(), p.where.width(), 16),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::number(p.id));
  }
  painter.end();
  Save(sheet, QStringLiteral("images"));
}

} // namespace

int main(int argc, char *argv[]) {
  return gallery::Run(argc, argv, "skin_gallery",
                      {ImagesSheet, StatesSheet, SetIpSheet, SettingsSheet});
}
