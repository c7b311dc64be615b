#pragma once
// One volume of a box: its name, "12G Used/931G Available", the share in use
// as a percentage and as a bar.

#include <QWidget>

namespace corvesta {

class CGdipProcessCtrl;
class CTransStatic;

class CVolumeInfoCtrl : public QWidget {
  Q_OBJECT
public:
  static constexpr int kNameId = 1;
  static constexpr int kUsageId = 2;
  static constexpr int kPercentId = 3;
  static constexpr int kBarId = 4;
  // The name and the percentage sit on their rects' bottom edges; the rects
  // are as high as a line of their text.
  static constexpr QRect kNameRect{48, 12, 77, 18};
  static constexpr QRect kUsageRect{141, 35, 272, 14};
  static constexpr QRect kPercentRect{422, 14, 46, 17};
  static constexpr QRect kBarRect{140, 16, 272, 14};
  static constexpr QSize kSize{480, 60};

  explicit CVolumeInfoCtrl(QWidget *parent = nullptr);

  // Total and used size in whole GB; the percentage is the core's
  // (UsedPercent, setup/volume_usage.h).
  void SetVolume(int totalGb, int usedGb, const QString &name);
  // Empties the three texts (the bar keeps its place).
  void ClearVolume();

  CTransStatic *NameField() const { return m_name; }
  CTransStatic *UsageField() const { return m_usage; }
  CTransStatic *PercentField() const { return m_percent; }
  CGdipProcessCtrl *Bar() const { return m_bar; }

  QSize sizeHint() const override { return kSize; }

protected:
  void resizeEvent(QResizeEvent *event) override;

private:
  CTransStatic *m_name;
  CTransStatic *m_usage;
  CTransStatic *m_percent;
  CGdipProcessCtrl *m_bar;
};

} // namespace corvesta
