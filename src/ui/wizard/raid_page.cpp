#include "ui/wizard/raid_page.h"

#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "platform/message_box.h"
#include "ui/main/idle_hold.h"
#include "ui/main/ui_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/dialog_group.h"
#include "ui/skin/icon_radio_button.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/wizard/disk_ids.h"
#include "ui/wizard/process_dialog.h"
#include "ui/wizard/wizard_messages.h"
#include "worker/private_messages.h"

namespace corvesta {

using namespace disk_ids;
namespace lay = disk_layout;

namespace {

constexpr std::u16string_view kNoDiskText = u"No hard disk is detected.";
constexpr std::u16string_view kCheckModeText = u"Check disk mode error.";
constexpr std::u16string_view kWarningText = u"Warning";
constexpr std::u16string_view kRebuildQuestion =
    u"It will rebuild you disk, be sure you want to do it and press \"OK\" button to continue...";

struct Option {
  int id;
  DiskMode mode;
  std::u16string_view title;
  bool titleTranslated;
  std::u16string_view description;
  int icon;
};
// In the order the mode is taken from.
constexpr std::array<Option, 4> kOptions{{
    {kStandalone, DiskMode::Standalone, u"StandAlone", true,
     u"Normal Disk. Creates two separate volumes (or one volume if only one hard drive is "
     u"present). Each hard drive is its own volume.",
     skin::kDiskModeStandard},
    {kJbod, DiskMode::Jbod, u"JBOD", false,
     u"Just a Bunch Of Disks. It makes the disks appear to be a single larger one. It doesn't "
     u"provide any of fault tolerance or performance benefits of RAID. Requires two drives.",
     skin::kDiskModeJbod},
    {kRaid0, DiskMode::Raid0, u"RAID 0", false,
     u"Striped RAID. Improves performance and additional storage but no fault tolerance. Any "
     u"drive failure destroys the entire array. Requires two drives.",
     skin::kDiskModeRaid0},
    {kRaid1, DiskMode::Raid1, u"RAID 1", false,
     u"Mirrored RAID. Data is written identically to two drives. If one hard drive fails, "
     u"replace thefailed hard drive and it will re-mirror, restoring maximum data protection. "
     u"Requires two drives.",
     skin::kDiskModeRaid1},
}};

void Tell(WindowHandle owner, std::u16string_view text) {
  ShowMessageBox(owner, Translate(text), Translate(kWizardCaption));
}

} // namespace

CRaidPage::CRaidPage() = default;

CRaidPage::~CRaidPage() {
  CloseDialog();
}

CProcessDialog *CRaidPage::Dialog() const {
  return m_dialog.data();
}

void CRaidPage::LayoutControls() {
  for (std::size_t i = 0; i < kOptions.size(); ++i) {
    const Option &option = kOptions[i];
    auto *button = new CIconRadioButton(this);
    SetDlgCtrlID(button, option.id);
    button->LoadImages(skin::kRadioOn, skin::kRadioOff, option.icon, skin::kDiskModeFocus);
    const QString title =
        option.titleTranslated
            ? UiText(option.title)
            : QString::fromUtf16(option.title.data(), static_cast<qsizetype>(option.title.size()));
    button->SetTitle(title);
    button->SetDescription(UiText(option.description));
    button->setAccessibleName(title);
    button->setGeometry(
        QRect(QPoint(lay::kOptionLeft, lay::kOptionTop + static_cast<int>(i) * lay::kOptionPitch),
              lay::kOptionSize));
    // One dialog group: the arrows move among the options, Space checks.
    SetGroupStart(button, i == 0);
    m_options[i] = button;
  }
  m_options[0]->SetCheck(true);
  EnableOptions(0);
}

void CRaidPage::EnableOptions(int diskCount) {
  for (std::size_t i = 0; i < kOptions.size(); ++i) {
    m_options[i]->setEnabled(DiskModeAllowed(diskCount, kOptions[i].mode));
  }
  // With StandAlone the only choice, it is the choice.
  if (diskCount == 1) {
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
      m_options[i]->SetCheck(kOptions[i].mode == DiskMode::Standalone);
    }
  }
}

std::optional<DiskMode> CRaidPage::ChosenMode() const {
  for (std::size_t i = 0; i < kOptions.size(); ++i) {
    if (m_options[i]->GetCheck() && m_options[i]->isEnabled()) {
      return kOptions[i].mode;
    }
  }
  return std::nullopt;
}

void CRaidPage::LoadFromBox() {
  // Only this visit's report counts: a disk may have gone since the last.
  m_reportReceived = false;
  m_diskState = 0;
  EnableOptions(0);
  m_loadTicket = StartReadDiskInfo(Handle(), BoxIndex());
  if (m_loadTicket == 0) {
    Tell(Handle(), kWizardInfoFailedText);
  }
}

LRESULT CRaidPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_DISK_INFO: {
    const std::unique_ptr<HdInfo> disks = TakeHdInfo(wParam);
    if (m_loadTicket != 0 && disks) {
      OnDiskReport(*disks);
    }
    return 0;
  }
  case WM_COMMAND_RESULT:
    if (m_loadTicket != 0 && static_cast<CommandIndex>(lParam) == CommandIndex::ReadDiskInfo) {
      m_loadTicket = 0;
      if (wParam != kResultSuccess) {
        LoadFailed();
      }
      return 0;
    }
    break;
  case WM_REQUEST_UNANSWERED:
    if (m_loadTicket != 0 && static_cast<Ticket>(wParam) == m_loadTicket) {
      m_loadTicket = 0;
      LoadFailed();
      return 0;
    }
    break;
  default:
    break;
  }
  return CWizardPage::WindowProc(message, wParam, lParam);
}

void CRaidPage::OnDiskReport(const HdInfo &disks) {
  m_disks = disks;
  m_reportReceived = true;
  if (disks.deviceCount == 1 || disks.deviceCount == 2) {
    m_diskState = disks.deviceCount;
    EnableOptions(disks.deviceCount);
  } else {
    m_diskState = 0;
    EnableOptions(0);
    Tell(Handle(), kNoDiskText);
  }
}

void CRaidPage::LoadFailed() {
  if (m_diskState == 0) {
    Tell(Handle(), kWizardInfoFailedText);
  }
}

bool CRaidPage::Apply() {
  if (!m_reportReceived || m_dialog != nullptr) {
    return false;
  }
  if (m_diskState == 0) {
    Tell(Handle(), kNoDiskText);
    return false;
  }
  const std::optional<DiskMode> mode = ChosenMode();
  if (!mode) {
    Tell(Handle(), kCheckModeText);
    return false;
  }
  // Everything that can refuse the plan does so before the question, so a
  // confirmed rebuild is one that can be sent.
  std::u16string problem;
  std::optional<VolumePlan> plan = PlanVolumes(m_disks, *mode, problem);
  if (!plan) {
    ShowMessageBox(Handle(), problem, Translate(kWizardCaption));
    return false;
  }
  MessageBoxRequest question;
  question.owner = Handle();
  question.text = Translate(kRebuildQuestion);
  question.caption = Translate(kWarningText);
  question.buttons = MessageBoxButtons::OkCancel;
  question.icon = MessageBoxIcon::Warning;
  question.englishButtons = true;
  if (ShowMessageBox(question) != MessageBoxResult::Ok) {
    return false;
  }
  m_dialog = new CProcessDialog(window(), BoxIndex(), plan->Chain());
  connect(m_dialog, &QDialog::finished, this, [this] { OnDialogFinished(); });
  connect(m_dialog, &CProcessDialog::ChainEnded, this, [this] { m_idleHold.reset(); });
  m_idleHold = std::make_unique<IdleLogoutHold>();
  m_dialog->open(); // window-modal over the wizard: no nested event loop
  m_dialog->Start();
  RequestStarted(0, CommandIndex::None);
  return true;
}

void CRaidPage::OnDialogFinished() {
  m_reportReceived = false;
  CloseDialog();
  PostMessage(FrameWindow(), WM_COMMAND_RESULT, 0, 0);
}

void CRaidPage::CloseDialog() {
  if (CProcessDialog *dialog = m_dialog.data()) {
    m_dialog = nullptr;
    dialog->disconnect(this);
    dialog->hide();
    dialog->deleteLater();
  }
  m_idleHold.reset();
}

bool CRaidPage::OnQueryCancel() {
  return m_dialog == nullptr || !m_dialog->Running();
}

void CRaidPage::OnPageDestroy() {
  // The wizard ends under a running chain (the main window closes it): the
  // box formats on by itself; the next visit reads the disks again.
  CloseDialog();
}

} // namespace corvesta
