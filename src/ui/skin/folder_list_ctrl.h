#pragma once
// The box's shares as a grid of folders: four 130-pixel cells a row, the
// selected one on a highlight, long names shortened, a slider at the right
// once a second row is needed. A click (press and release at the same point)
// selects, a double-click opens: WM_SKIN_ITEM_OPEN (entry index, 0) is posted
// to the nearest ancestor with a window handle. From the keyboard the arrows,
// Home and End select (the grid scrolls to the selected entry) and Enter
// opens; a screen reader sees one list item per entry, whose action opens it.

#include <QString>
#include <QWidget>
#include <vector>

#include "ui/skin/gdiplus_bitmap.h"

namespace corvesta {

class CGdipSlider;

class CFolderListCtrl : public QWidget {
  Q_OBJECT
public:
  static constexpr int kMaxFolders = 26;
  static constexpr int kColumns = 4;
  static constexpr int kCellPitch = 130;
  static constexpr int kCellSize = 116;
  static constexpr int kGridTop = 37;
  static constexpr int kFolderImageSize = 74;
  static constexpr int kScrollBarId = 1;
  static constexpr QRect kScrollBarRect{506, 0, 13, 200};
  // Names of this many characters or more are shortened.
  static constexpr int kLongName = 14;
  static constexpr int kShortenedKeep = 9;

  explicit CFolderListCtrl(QWidget *parent = nullptr);

  // Ignored for a null name or when 26 entries exist.
  void AddFolder(const QString &name);
  // Removes every entry and hides the slider; the selection index is kept.
  void ClearFolders();

  int FolderCount() const { return static_cast<int>(m_entries.size()); }
  // The whole name, and the name as the grid shows it.
  QString FolderName(int index) const;
  QString DisplayName(int index) const;
  // The cell in content coordinates (before scrolling).
  QRect CellRect(int index) const;
  int GetSelected() const { return m_selected; }
  int ScrollOffset() const { return m_offsetY; }
  CGdipSlider *ScrollBar() const { return m_scrollBar; }
  // The entry whose cell holds the point of the window, -1 for none.
  int EntryAt(QPoint point) const;
  // The cell of the entry in the control's coordinates (after scrolling).
  QRect VisibleCellRect(int index) const;

  // Selects the entry and scrolls it into sight; out of range does nothing.
  void Select(int index);
  // Selects the entry and asks the owner to open it, as a double-click does.
  void Open(int index);

  // The name as the grid shows it.
  static QString ShortenedName(const QString &name);

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;

private:
  struct Entry {
    QString name;
    QString shown;
    QRect cell;
  };

  void ScrollTo(int offset);
  // Tells assistive technology what changed: the entries, or the selection.
  void NotifyEntriesChanged();
  void NotifySelected();

  std::vector<Entry> m_entries;
  int m_selected = -1;
  int m_offsetX = 0;
  int m_offsetY = 0;
  CGdiPlusBitmapResource m_highlight;
  CGdiPlusBitmapResource m_folder;
  CGdipSlider *m_scrollBar;
  bool m_pressed = false;
  QPoint m_pressPoint;
};

} // namespace corvesta
