#include "ui/wizard/drive_mapping_page.h"

#include <algorithm>

#include <QApplication>

#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/http/command_set.h"
#include "nas/replies/share_list.h"
#include "platform/message_box.h"
#include "platform/network_drives.h"
#include "platform/text_codec.h"
#include "setup/drive_cause_text.h"
#include "setup/drive_change.h"
#include "ui/main/ui_text.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_header_ctrl.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_layout.h"
#include "ui/wizard/wizard_messages.h"
#include "worker/private_messages.h"

namespace corvesta {

using namespace wizard_ids;
namespace lay = wizard_layout;

namespace {

constexpr int kNameWidth = 305;
constexpr int kLocationWidth = 130;
constexpr int kTextHeight = 18;
constexpr int kLocationColumn = 1;
// A connection whose server or share is longer than this (in characters)
// cannot be one to the box's address and is not kept.
constexpr std::size_t kSlotServerMax = 48;
constexpr std::size_t kSlotShareMax = 254;

constexpr std::u16string_view kSelectText = u"select";
constexpr std::u16string_view kShareListErrorText = u"get the NAS share file error.";
constexpr std::u16string_view kMountSucceededText = u"Mount is successful.";
constexpr std::u16string_view kMountFailedText = u"Mount is failed.";
constexpr std::u16string_view kUnmountSucceededText = u"Unmount is successful.";
constexpr std::u16string_view kUnmountFailedText = u"Umount is failed.";

std::size_t SlotOf(char16_t letter) {
  return static_cast<std::size_t>(u'Z' - letter);
}

std::u16string DriveText(char16_t letter) {
  return std::u16string{letter, u':'};
}

// The letter of a drive text "X:", or 0 for anything else.
char LetterOf(std::u16string_view location) {
  if (location.size() != 2 || location[1] != u':' || location[0] < u'A' || location[0] > u'Z') {
    return 0;
  }
  return static_cast<char>(location[0]);
}

void Tell(WindowHandle owner, std::u16string text) {
  ShowMessageBox(owner, std::move(text), Translate(kWizardCaption));
}

} // namespace

CDriveMappingPage::~CDriveMappingPage() {
  StopChange();
}

void CDriveMappingPage::LayoutControls() {
  m_list = new CGdipListCtrl(this);
  SetDlgCtrlID(m_list, kDriveList);
  m_list->setGeometry(lay::kDriveList);
  // The location column grows to show its title whole in every language,
  // taking the room from the share names.
  const QString location = UiText(u"Location");
  const int locationWidth = std::max(kLocationWidth, CGdipHeaderCtrl::TitleWidth(location));
  m_list->InsertColumn(0, UiText(u"Name"), ColumnAlign::Left,
                       kNameWidth + kLocationWidth - locationWidth);
  m_list->InsertColumn(kLocationColumn, location, ColumnAlign::Left, locationWidth);
  m_list->SetColumnStyle(0, kTextHeight, Qt::white);
  m_list->SetColumnStyle(kLocationColumn, kTextHeight, Qt::white);
  m_list->EnableChoiceColumn();
  m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_list->setAccessibleName(UiText(u"DriveMapping"));
}

void CDriveMappingPage::LoadFromBox() {
  m_boxAddress.clear();
  m_boxName.clear();
  if (BoxIndex() == -1) {
    return;
  }
  if (const std::optional<NasDevice> box = DeviceList::Instance().At(BoxIndex())) {
    m_boxAddress = std::string(FieldText(box->ip, sizeof box->ip));
    m_boxName = std::string(FieldText(box->name, sizeof box->name));
  }
  ShareList::Instance().Clear();
  m_loadTicket = StartReadShareList(Handle(), BoxIndex(), 0);
  if (m_loadTicket == 0) {
    Tell(Handle(), Translate(kWizardInfoFailedText));
  }
}

void CDriveMappingPage::LoadEnded(bool success) {
  m_loadTicket = 0;
  m_list->DeleteAllItems();
  m_rowLetters.clear();
  if (!success) {
    Tell(Handle(), Translate(kShareListErrorText));
    return;
  }
  ScanConnections();
  const std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  for (std::size_t i = 0; i < shares.size(); ++i) {
    const std::string share = Utf16ToUtf8(shares[i].name);
    for (const Slot &slot : m_slots) {
      if (slot.drive != 0 && slot.server == m_boxAddress && slot.share == share) {
        ShareList::Instance().SetLabel(i, DriveText(slot.drive));
        break;
      }
    }
  }
  BuildRows();
}

void CDriveMappingPage::ScanConnections() {
  m_slots.fill(Slot{});
  const std::shared_ptr<NetworkDrives> drives = CurrentNetworkDrives();
  if (!drives) {
    return;
  }
  // Remembered letters whose box is off count too: they stay their share's.
  // The records alone: which of them are connected does not matter here,
  // and asking the desktop could keep this thread waiting.
  for (const DriveMapping &mapping : drives->Records()) {
    if (!IsDriveLetter(mapping.letter) || Utf8ToUtf16(mapping.server).size() > kSlotServerMax ||
        Utf8ToUtf16(mapping.share).size() > kSlotShareMax) {
      continue;
    }
    Slot &slot = m_slots[SlotOf(static_cast<char16_t>(mapping.letter))];
    slot.server = mapping.server;
    slot.share = mapping.share;
    slot.drive = static_cast<char16_t>(mapping.letter);
  }
}

void CDriveMappingPage::BuildRows() {
  const std::u16string select = Translate(kSelectText);
  const std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  m_list->DeleteAllItems();
  m_rowLetters.clear();
  for (std::size_t i = 0; i < shares.size(); ++i) {
    const int row = static_cast<int>(i);
    m_list->InsertItem(row, ToQString(shares[i].name));
    m_list->SetItemText(row, kLocationColumn, ToQString(shares[i].label));
    m_rowLetters.push_back(
        shares[i].label == select || shares[i].label.empty() ? u' ' : shares[i].label.front());
  }
}

void CDriveMappingPage::FillChoices(int row, QStringList &choices) const {
  choices.clear();
  if (m_change != nullptr || row < 0 || row >= m_list->GetItemCount()) {
    return;
  }
  // Only for a chooser the person opened in this list.
  const QWidget *focus = QApplication::focusWidget();
  if (focus == nullptr) {
    return;
  }
  const QRect listArea(m_list->mapToGlobal(QPoint(0, 0)), m_list->size());
  if (!listArea.contains(focus->mapToGlobal(QPoint(0, 0)))) {
    return;
  }
  const QString select = UiText(kSelectText);
  std::u16string inUse;
  if (const std::shared_ptr<NetworkDrives> drives = CurrentNetworkDrives()) {
    inUse = Utf8ToUtf16(drives->LettersInUse());
  }
  for (int other = 0; other < m_list->GetItemCount(); ++other) {
    const QString location = m_list->GetItemText(other, kLocationColumn);
    if (other != row && location != select && !location.isEmpty()) {
      inUse.push_back(location.front().unicode());
    }
  }
  const QString own = m_list->GetItemText(row, kLocationColumn);
  const char16_t ownLetter = own != select && !own.isEmpty() ? own.front().unicode() : 0;
  const char16_t rowLetter =
      static_cast<std::size_t>(row) < m_rowLetters.size() ? m_rowLetters[row] : u' ';
  choices << select;
  for (char16_t letter = u'Z'; letter >= u'A'; --letter) {
    const bool free =
        letter == ownLetter || letter == rowLetter || inUse.find(letter) == std::u16string::npos;
    if (free) {
      choices << ToQString(DriveText(letter));
    }
  }
}

void CDriveMappingPage::CellEdited(int row) {
  const std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  // A row the share list does not hold (the list changed meanwhile) is not
  // acted upon.
  if (row < 0 || static_cast<std::size_t>(row) >= shares.size()) {
    return;
  }
  const ShareEntry &share = shares[static_cast<std::size_t>(row)];
  if (m_change != nullptr) {
    m_list->SetItemText(row, kLocationColumn, ToQString(share.label));
    return;
  }
  const std::u16string newLocation = FromQString(m_list->GetItemText(row, kLocationColumn));
  if (newLocation == share.label) {
    return;
  }
  const std::u16string select = Translate(kSelectText);
  const char oldLetter = LetterOf(share.label);
  std::optional<DriveMapRequest> request;
  if (newLocation != select) {
    const char newLetter = LetterOf(newLocation);
    if (newLetter == 0) {
      BuildRows();
      return;
    }
    const Credentials credentials = CurrentCredentials();
    request = DriveMapRequest{};
    request->letter = newLetter;
    request->server = m_boxAddress;
    request->share = Utf16ToUtf8(share.name);
    request->user = std::string(credentials.UserName());
    request->password = std::string(credentials.Password());
    request->box = m_boxName;
    request->remember = true;
  } else if (oldLetter == 0) {
    BuildRows();
    return;
  }
  m_changeRow = static_cast<std::size_t>(row);
  m_changeShare = share.name;
  m_changeOld = share.label;
  m_changeNew = newLocation;
  m_change = DriveChange::Start(Handle(), ++m_changeCount, oldLetter, std::move(request));
  if (m_change == nullptr) {
    BuildRows();
    Tell(Handle(),
         DriveFailureMessage(newLocation == select ? kUnmountFailedText : kMountFailedText,
                             DriveCause::Failed));
    return;
  }
  SetBusy(true);
}

void CDriveMappingPage::ChangeEnded(std::uint64_t number) {
  if (m_change == nullptr || m_change->Number() != number) {
    return;
  }
  const DriveChangeOutcome outcome = m_change->Outcome();
  m_change->Join();
  m_change.reset();
  SetBusy(false);

  const std::u16string select = Translate(kSelectText);
  std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  // The list may have been read anew meanwhile: labels go to the share the
  // change was for, and only while it is still at its place.
  const bool inPlace = m_changeRow < shares.size() && shares[m_changeRow].name == m_changeShare;
  const auto setLabel = [&](const std::u16string &label) {
    if (inPlace) {
      ShareList::Instance().SetLabel(m_changeRow, label);
    }
  };
  std::u16string message;
  if (m_changeNew == select) {
    const DriveResult result = outcome.unmap.value_or(DriveResult{DriveCause::Failed, {}});
    if (result.Ok()) {
      setLabel(select);
      message = Translate(kUnmountSucceededText);
    } else {
      message = DriveFailureMessage(kUnmountFailedText, result.cause);
    }
  } else if (outcome.unmap && !outcome.unmap->Ok()) {
    message = DriveFailureMessage(kMountFailedText, outcome.unmap->cause);
  } else {
    if (outcome.unmap) {
      setLabel(select);
    }
    const DriveResult result = outcome.map.value_or(DriveResult{DriveCause::Failed, {}});
    if (result.Ok()) {
      setLabel(m_changeNew);
      message = Translate(kMountSucceededText);
    } else {
      message = DriveFailureMessage(kMountFailedText, result.cause);
    }
  }
  BuildRows();
  Tell(Handle(), std::move(message));
}

void CDriveMappingPage::StopChange() {
  if (m_change == nullptr) {
    return;
  }
  // The change ends on its own within the limit whatever happens here; a
  // stop makes it end sooner.
  m_change->Cancel(DriveCallLimit());
  m_change.reset();
  SetBusy(false);
}

void CDriveMappingPage::SetBusy(bool busy) {
  if (m_list == nullptr) {
    return;
  }
  m_list->setEnabled(!busy);
  if (busy) {
    setCursor(Qt::BusyCursor);
  } else {
    unsetCursor();
  }
}

bool CDriveMappingPage::OnQueryCancel() {
  StopChange();
  return true;
}

bool CDriveMappingPage::OnWizardFinish() {
  StopChange();
  return true;
}

void CDriveMappingPage::OnPageDestroy() {
  StopChange();
}

LRESULT CDriveMappingPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND_RESULT:
    if (m_loadTicket != 0 && static_cast<CommandIndex>(lParam) == CommandIndex::ReadShareList) {
      LoadEnded(wParam == kResultSuccess);
    }
    return 0;
  case WM_REQUEST_UNANSWERED:
    if (m_loadTicket != 0 && static_cast<Ticket>(wParam) == m_loadTicket) {
      LoadEnded(false);
    }
    return 0;
  case WM_SKIN_FILL_CHOICES:
    if (lParam != 0) {
      FillChoices(static_cast<int>(wParam), *reinterpret_cast<QStringList *>(lParam));
    }
    return 1;
  case WM_SKIN_CELL_EDITED:
    CellEdited(static_cast<int>(wParam));
    return 0;
  case WM_DRIVE_CALL_DONE:
    ChangeEnded(static_cast<std::uint64_t>(wParam));
    return 0;
  default:
    return CWizardPage::WindowProc(message, wParam, lParam);
  }
}

} // namespace corvesta
