#include "ui/wizard/time_zone_page.h"

#include <algorithm>

#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "platform/message_box.h"
#include "setup/time_zone_table.h"
#include "ui/main/ui_text.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_header_ctrl.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_layout.h"
#include "ui/wizard/wizard_messages.h"
#include "worker/private_messages.h"

namespace corvesta {

using namespace wizard_ids;
namespace lay = wizard_layout;

namespace {
constexpr int kLocationWidth = 374;
constexpr int kOffsetWidth = 110;
constexpr int kLocationTextHeight = 18;
constexpr int kOffsetTextHeight = 14;
const QColor kLocationColor(Qt::white);
const QColor kOffsetColor(0xAA, 0xAA, 0xAA);

// "&&" in a location stands for one "&".
QString LocationText(std::u16string_view location) {
  return UiText(location).replace(QStringLiteral("&&"), QStringLiteral("&"));
}
} // namespace

void CTimeZonePage::LayoutControls() {
  m_list = new CGdipListCtrl(this);
  m_list->SetReadsAsList(true); // one zone a row
  SetDlgCtrlID(m_list, kZoneList);
  m_list->setGeometry(lay::kZoneList);
  // The offset column is as wide as its title needs, the location column
  // takes the rest.
  const QString zone = UiText(u"TimeZone");
  const int offsetWidth = std::max(kOffsetWidth, CGdipHeaderCtrl::TitleWidth(zone));
  m_list->InsertColumn(0, UiText(u"Location"), ColumnAlign::Left,
                       kLocationWidth + kOffsetWidth - offsetWidth);
  m_list->InsertColumn(1, zone, ColumnAlign::Center, offsetWidth);
  m_list->SetColumnStyle(0, kLocationTextHeight, kLocationColor);
  m_list->SetColumnStyle(1, kOffsetTextHeight, kOffsetColor);
  m_list->HideVerticalScrollBar();
  m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_list->setAccessibleName(UiText(u"TimeZone"));
  for (std::size_t i = 0; i < kTimeZones.size(); ++i) {
    const int row = static_cast<int>(i);
    m_list->InsertItem(row, LocationText(kTimeZones[i].location));
    m_list->SetItemText(row, 1, QString::fromLatin1(kTimeZones[i].offset));
  }
  connect(m_list, &CGdipListCtrl::ItemClicked, this, [this](int row, int) { m_selected = row; });
  // The arrows, Home, End and the page keys choose as a click does while
  // the person is in the list; the box's value shown is chosen already.
  connect(m_list, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (m_list->hasFocus() && row >= 0) {
      m_selected = row;
    }
  });

  m_up = new CGdipButton(ButtonKind::PushButton, this);
  SetDlgCtrlID(m_up, kZoneUp);
  m_up->LoadImages(skin::kScrollUpNormal, skin::kScrollUpHover, skin::kScrollUpPressed);
  m_up->setGeometry(lay::kZoneUp);
  m_up->setAccessibleName(UiText(u"Up"));
  connect(m_up, &QAbstractButton::clicked, this, [this] {
    m_list->ScrollRows(-1);
    UpdateScrollButtons();
  });
  m_down = new CGdipButton(ButtonKind::PushButton, this);
  SetDlgCtrlID(m_down, kZoneDown);
  m_down->LoadImages(skin::kScrollDownNormal, skin::kScrollDownHover, skin::kScrollDownPressed);
  m_down->setGeometry(lay::kZoneDown);
  m_down->setAccessibleName(UiText(u"Down"));
  connect(m_down, &QAbstractButton::clicked, this, [this] {
    m_list->ScrollRows(1);
    UpdateScrollButtons();
  });
  EnableFields(false);
  UpdateScrollButtons();
}

void CTimeZonePage::EnableFields(bool enabled) {
  m_list->setEnabled(enabled);
}

void CTimeZonePage::LoadFromBox() {
  // A choice counts only after the box's value was read on this visit.
  m_loaded = -1;
  m_selected = -1;
  CBoxValuesPage::LoadFromBox();
}

void CTimeZonePage::ShowBoxValues(const WizardInfo &info) {
  // The box's value is not checked against the list: 0 leaves no row chosen,
  // a value past the list chooses no visible row and is sent back as it is.
  const int row = info.timezone >= 1 ? info.timezone - 1 : -1;
  m_loaded = row;
  m_selected = row;
  m_list->SetSelectedRow(row);
  if (row >= 0 && row < m_list->GetItemCount()) {
    m_list->scrollTo(m_list->model()->index(row, 0));
  }
  UpdateScrollButtons();
}

bool CTimeZonePage::Apply() {
  // A box without a zone (0) takes the row the person picked.
  if (!ValuesLoaded(false) || m_selected == -1) {
    return false;
  }
  const Ticket ticket = StartSetTimeZone(FrameWindow(), BoxIndex(), m_selected + 1);
  if (ticket == 0) {
    ShowMessageBox(Handle(), Translate(kSettingFailedText), Translate(kWizardCaption));
    return false;
  }
  RequestStarted(ticket, CommandIndex::SetTimeZone);
  return true;
}

void CTimeZonePage::UpdateScrollButtons() {
  const int top = m_list->GetTopIndex();
  const int count = m_list->GetItemCount();
  const int page = m_list->GetCountPerPage();
  if (count - page < 0) {
    m_up->hide();
    m_down->hide();
  } else if (top == 0) {
    m_up->hide();
    m_down->show();
  } else if (top < count - page) {
    m_up->show();
    m_down->show();
  } else {
    m_up->show();
    m_down->hide();
  }
}

LRESULT CTimeZonePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SKIN_LIST_SCROLLED) {
    UpdateScrollButtons();
    return 0;
  }
  return CBoxValuesPage::WindowProc(message, wParam, lParam);
}

} // namespace corvesta
