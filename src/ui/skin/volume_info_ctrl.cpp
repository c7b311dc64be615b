#include "ui/skin/volume_info_ctrl.h"

#include "setup/volume_usage.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_process_ctrl.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"

namespace corvesta {
namespace {

constexpr int kNameHeight = 18;
constexpr int kUsageHeight = 13;
constexpr int kPercentHeight = 17;
constexpr int kFullBar = 100;
constexpr int kInitialBar = 50;

CTransStatic *MakeField(QWidget *parent, int id, int height, int flags) {
  auto *field = new CTransStatic(parent);
  SetDlgCtrlID(field, id);
  field->SetTextHeight(height);
  field->SetFormat(flags | Qt::TextSingleLine);
  return field;
}

} // namespace

CVolumeInfoCtrl::CVolumeInfoCtrl(QWidget *parent)
    : QWidget(parent),
      m_name(MakeField(this, kNameId, kNameHeight, Qt::AlignRight | Qt::AlignBottom)),
      m_usage(MakeField(this, kUsageId, kUsageHeight, Qt::AlignLeft | Qt::AlignBottom)),
      m_percent(MakeField(this, kPercentId, kPercentHeight, Qt::AlignRight | Qt::AlignBottom)),
      m_bar(new CGdipProcessCtrl(this)) {
  SetDlgCtrlID(m_bar, kBarId);
  m_bar->SetBarImages(skin::kGaugeBackground, skin::kGaugeLeftEnd, skin::kGaugeMiddle,
                      skin::kGaugeRightEnd);
  m_bar->SetRange(0, kFullBar);
  m_bar->SetPos(kInitialBar);
  m_name->setGeometry(kNameRect);
  m_usage->setGeometry(kUsageRect);
  m_percent->setGeometry(kPercentRect);
  m_bar->setGeometry(kBarRect);
  resize(kSize);
}

void CVolumeInfoCtrl::SetVolume(int totalGb, int usedGb, const QString &name) {
  const int percent = UsedPercent(totalGb, usedGb);
  m_name->SetText(name);
  m_usage->SetText(ToQString(UsageText(VolumeUsage{0, totalGb, usedGb})));
  m_percent->SetText(ToQString(PercentText(percent)));
  m_bar->SetPos(percent);
  update();
}

void CVolumeInfoCtrl::ClearVolume() {
  m_name->SetText(QString());
  m_usage->SetText(QString());
  m_percent->SetText(QString());
  update();
}

void CVolumeInfoCtrl::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  m_name->setGeometry(kNameRect);
  m_usage->setGeometry(kUsageRect);
  m_percent->setGeometry(kPercentRect);
  m_bar->setGeometry(kBarRect);
}

} // namespace corvesta
