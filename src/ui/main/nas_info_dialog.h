#pragma once
// The information panel of the main window: the connected box's name,
// address, mask and gateway on four lines, up to four volume gauges (the
// volume view) and the folder grid of its shares (the folder view). It holds
// no protocol logic: the main window fills it.

#include <QString>
#include <QWidget>
#include <array>

namespace corvesta {

class CFolderListCtrl;
class CGdipIconStatic;
class CTransStatic;
class CVolumeInfoCtrl;

class CNASInfoDialog : public QWidget {
  Q_OBJECT
public:
  static constexpr int kMaxVolumes = 4;

  explicit CNASInfoDialog(QWidget *parent);

  // Line 1 the name, line 2 "IP:%s" (not translated), lines 3 and 4 the
  // translated "Mask:%s" and "Gateway:%s".
  void SetInfo(const QString &name, const QString &address, const QString &mask,
               const QString &gateway);
  QString LineText(int line) const; // line 0 to 3

  // Marks every gauge unused, empties and hides it.
  void ClearVolumes();
  // Fills and shows the next unused gauge; ignored once four are in use.
  // Sizes in whole GB.
  void AddVolume(const QString &label, int totalGb, int usedGb);
  int VolumeCount() const { return m_volumeCount; }
  CVolumeInfoCtrl *Volume(int index) const { return m_volumes.at(index); }

  // The volume view shows the gauges in use and hides the folder grid; the
  // folder view hides the gauges and shows the grid.
  void ShowVolumeView();
  void ShowFolderView();
  bool InFolderView() const { return m_folderView; }
  CFolderListCtrl *FolderList() const { return m_folders; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  void PlaceVolumes();

  CGdipIconStatic *m_icon;
  std::array<CTransStatic *, 4> m_lines{};
  std::array<CVolumeInfoCtrl *, kMaxVolumes> m_volumes{};
  CFolderListCtrl *m_folders;
  int m_volumeCount = 0;
  bool m_folderView = false;
};

} // namespace corvesta
