#include "ui/main/nas_info_dialog.h"

#include <QPainter>

#include "ui/main/main_ids.h"
#include "ui/main/main_layout.h"
#include "ui/main/ui_text.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/volume_info_ctrl.h"

namespace corvesta {

namespace {
constexpr int kNameHeight = 22;
constexpr int kLineHeight = 14;
const QColor kLineColor(190, 190, 190);
} // namespace

CNASInfoDialog::CNASInfoDialog(QWidget *parent)
    : QWidget(parent), m_icon(new CGdipIconStatic(this)), m_folders(new CFolderListCtrl(this)) {
  SetDlgCtrlID(this, main_ids::kInfoPanel);
  m_icon->SetImage(skin::kNasIcon);
  m_icon->setGeometry(layout::kInfoIcon);

  const int ids[] = {main_ids::kInfoName, main_ids::kInfoAddress, main_ids::kInfoMask,
                     main_ids::kInfoGateway};
  for (int i = 0; i < 4; ++i) {
    auto *line = new CTransStatic(this);
    SetDlgCtrlID(line, ids[i]);
    line->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    if (i == 0) {
      line->setGeometry(layout::kInfoName);
      line->SetTextHeight(kNameHeight);
      line->SetTextWeight(skin::kWeightBold);
    } else {
      line->setGeometry(layout::kInfoLine.translated(0, (i - 1) * layout::kInfoLinePitch));
      line->SetTextHeight(kLineHeight);
      line->SetTextColor(kLineColor);
    }
    m_lines[i] = line;
  }

  for (int i = 0; i < kMaxVolumes; ++i) {
    auto *volume = new CVolumeInfoCtrl(this);
    SetDlgCtrlID(volume, main_ids::kInfoVolumes[i]);
    volume->hide();
    m_volumes[i] = volume;
  }
  PlaceVolumes();

  SetDlgCtrlID(m_folders, main_ids::kInfoFolders);
  // Named as the main window's button that shows it.
  m_folders->setAccessibleName(UiText(u"Folder"));
  m_folders->setGeometry(layout::kInfoFolders);
  m_folders->hide();
}

void CNASInfoDialog::PlaceVolumes() {
  for (int i = 0; i < kMaxVolumes; ++i) {
    m_volumes[i]->setGeometry(
        QRect(layout::kFirstVolume + QPoint(0, i * layout::kVolumePitch), CVolumeInfoCtrl::kSize));
  }
}

void CNASInfoDialog::SetInfo(const QString &name, const QString &address, const QString &mask,
                             const QString &gateway) {
  // The box's texts, each on its own line whatever they hold.
  m_lines[0]->SetText(OneLineText(name));
  // The address line is the same in every language.
  m_lines[1]->SetText(QStringLiteral("IP:") + OneLineText(address));
  m_lines[2]->SetText(UiText(u"Mask:%s", OneLineText(mask)));
  m_lines[3]->SetText(UiText(u"Gateway:%s", OneLineText(gateway)));
  for (CTransStatic *line : m_lines) {
    line->setAccessibleName(line->Text());
  }
}

QString CNASInfoDialog::LineText(int line) const {
  return m_lines.at(line)->Text();
}

void CNASInfoDialog::ClearVolumes() {
  m_volumeCount = 0;
  for (CVolumeInfoCtrl *volume : m_volumes) {
    volume->ClearVolume();
    volume->setAccessibleName(QString());
    volume->update();
    volume->hide();
  }
}

void CNASInfoDialog::AddVolume(const QString &label, int totalGb, int usedGb) {
  if (m_volumeCount >= kMaxVolumes) {
    return;
  }
  CVolumeInfoCtrl *volume = m_volumes[m_volumeCount++];
  volume->SetVolume(totalGb, usedGb, label);
  volume->setAccessibleName(label + QLatin1Char(' ') + volume->UsageField()->Text());
  volume->setVisible(!m_folderView);
}

void CNASInfoDialog::ShowVolumeView() {
  m_folderView = false;
  m_folders->hide();
  for (int i = 0; i < kMaxVolumes; ++i) {
    m_volumes[i]->setVisible(i < m_volumeCount);
  }
}

void CNASInfoDialog::ShowFolderView() {
  m_folderView = true;
  for (CVolumeInfoCtrl *volume : m_volumes) {
    volume->hide();
  }
  m_folders->show();
}

void CNASInfoDialog::paintEvent(QPaintEvent *) {
  // A light veil over the window's background, and a double white rule under
  // the address lines.
  QPainter painter(this);
  painter.fillRect(rect(), QColor(255, 255, 255, layout::kInfoVeilAlpha));
  painter.setPen(QColor(255, 255, 255, 90));
  painter.drawLine(layout::kInfoSeparatorLeft, layout::kInfoSeparatorY, layout::kInfoSeparatorRight,
                   layout::kInfoSeparatorY);
  painter.setPen(QColor(255, 255, 255, 40));
  painter.drawLine(layout::kInfoSeparatorLeft, layout::kInfoSeparatorY + 1,
                   layout::kInfoSeparatorRight, layout::kInfoSeparatorY + 1);
}

} // namespace corvesta
