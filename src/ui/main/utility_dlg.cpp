#include "ui/main/utility_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <memory>

#include "app/login_remembering.h"
#include "app/program_info.h"
#include "app/remembered_settings.h"
#include "app/settings_store.h"
#include "corvesta_version.h"
#include "i18n/copyright_footer.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/http/command_set.h"
#include "nas/query.h"
#include "nas/replies/share_list.h"
#include "nas/replies/wizard_info.h"
#include "nas/take_query.h"
#include "nas/udp/discovery.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "platform/text_codec.h"
#include "setup/access_rights.h"
#include "setup/address_change_sequence.h"
#include "setup/center_link.h"
#include "setup/volume_usage.h"
#include "setup/welcome_texts.h"
#include "ui/application_icon.h"
#include "ui/main/box_choice.h"
#include "ui/main/browser_link.h"
#include "ui/main/idle_hold.h"
#include "ui/main/idle_logout.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/main_layout.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/open_dialog_slot.h"
#include "ui/main/search_status.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/main/ui_text.h"
#include "ui/platform/qt_sequence_host.h"
#include <QTextDocument>

#include "ui/qt_text.h"
#include "ui/skin/bottom_icon_button.h"
#include "ui/skin/control_id.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/shortcut_button.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_launch.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

using namespace main_ids;

constexpr int kHeadingHeight = 24;
constexpr int kWelcomeHeight = 17;
constexpr int kFooterHeight = 13;
const QColor kFooterColor(144, 144, 144);

constexpr std::u16string_view kTimeOutText = u"Time out, please login again.";
constexpr std::u16string_view kShareListFailedText = u"GetUSBInfo failed.";
// The share list of the folder view holds the shares of USB disks too.
constexpr std::int32_t kWithUsbShares = 1;

struct CenterButton {
  int id;
  WebCenter center;
};
constexpr CenterButton kCenterButtons[] = {{kFileCenter, WebCenter::File},
                                           {kManagementCenter, WebCenter::Management},
                                           {kDownloadCenter, WebCenter::Download},
                                           {kBackupCenter, WebCenter::Backup},
                                           {kSurveillanceCenter, WebCenter::Surveillance}};

struct ToolButton {
  int id;
  int normal, hover, pressed;
  std::u16string_view tip;
};
// Right to left along the title strip.
constexpr ToolButton kToolButtons[] = {
    {kClose, skin::kCloseNormal, skin::kCloseHover, skin::kClosePressed, u"Close"},
    {kMinimise, skin::kMinimiseNormal, skin::kMinimiseHover, skin::kMinimisePressed, u"Minimize"},
    {kLogout, skin::kLogoutNormal, skin::kLogoutHover, skin::kLogoutPressed, u"Logout"},
    {kSettings, skin::kSettingsNormal, skin::kSettingsHover, skin::kSettingsPressed, u"Settings"},
    {kHelp, skin::kHelpNormal, skin::kHelpHover, skin::kHelpPressed, u"Help"},
};

struct Shortcut {
  int id;
  int icon, lit;
  std::u16string_view text;
  bool shown;
};
// Top to bottom in the shortcut column; the hidden ones keep their place
// at the end.
constexpr Shortcut kShortcuts[] = {
    {kWizard, skin::kWizardShortcut, skin::kWizardShortcutLit, u"Wizard", true},
    {kFolder, skin::kFolderShortcut, skin::kFolderShortcutLit, u"Folder", true},
    {kManagementCenter, skin::kManagementShortcut, skin::kManagementShortcutLit,
     u"Management Center", true},
    {kDownloadCenter, skin::kDownloadShortcut, skin::kDownloadShortcutLit, u"Download Center",
     true},
    {kBackupCenter, skin::kBackupShortcut, skin::kBackupShortcutLit, u"Backup Center", true},
    {kPlayCenter, skin::kPlayShortcut, skin::kPlayShortcutLit, u"Play Center", false},
    {kSurveillanceCenter, skin::kSurveillanceShortcut, skin::kSurveillanceShortcutLit,
     u"Surveillance Center", false},
    {kFileCenter, 0, 0, u"File Center", false},
};

QString FieldQString(const char *field, std::size_t size) {
  return ToQString(Utf8ToUtf16(FieldText(field, size)));
}
template <std::size_t N> QString FieldQString(const char (&field)[N]) {
  return FieldQString(field, N);
}

void ShowError(WindowHandle owner, std::u16string_view text) {
  ShowMessageBox(owner, Translate(text), std::u16string(kProgramTitle));
}

} // namespace

CUtilityDlg::CUtilityDlg(QWidget *parent) : CGdipDialog(parent) {
  // A window of its own: taskbar entry, minimisable, no frame of the system.
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
  setWindowTitle(QString::fromUtf16(kProgramTitle.data(), kProgramTitle.size()));
  // The program sets its icon for every window; a window made without it
  // (tests, benchmarks) gets the built-in one.
  if (QApplication::windowIcon().isNull()) {
    setWindowIcon(BuiltInApplicationIcon());
  }
  setFixedSize(layout::kMainSize);
  SetBackgroundImage(skin::kMainBackground);
  SetWindowOutline(RoundedOutline(size(), layout::kMainCornerRadius));

  m_titleText = QStringLiteral("%1 ( %2.%3.%4.0 )")
                    .arg(windowTitle())
                    .arg(kVersionMajor)
                    .arg(kVersionMinor)
                    .arg(kVersionPatch);
  m_host = new QtSequenceHost(
      Handle(), [this](int id) { OnSequenceTimer(id); }, this);
  m_login = std::make_unique<LoginSequence>(*m_host, static_cast<LoginObserver &>(*this));
  m_logout = std::make_unique<LogoutSequence>(*m_host);
  SetIdleTime(ReadIdleTime());
  m_activity = new ActivityFilter(this, this);
  m_idleTimer = new QTimer(this); // repeating: fires every idle period until stopped
  connect(m_idleTimer, &QTimer::timeout, this, &CUtilityDlg::OnIdleTimeout);
  // Queued: the holder is still unwinding when it lets go.
  SetIdleHoldReleased([this] {
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (m_idleDue && !IdleLogoutHeld()) {
            OnIdleTimeout();
          }
        },
        Qt::QueuedConnection);
  });
  m_volumes = std::make_unique<VolumeListSequence>(*m_host);
  BuildControls();
  SetTexts();
  SetUiState(UiState::Searching);
  m_info->hide();
}

CUtilityDlg::~CUtilityDlg() {
  SetIdleHoldReleased({});
  StopIdleTimer();
}

void CUtilityDlg::BuildControls() {
  auto *logo = new CGdipIconStatic(this);
  SetDlgCtrlID(logo, kLogo);
  logo->SetImage(skin::kMainLogo);
  logo->setGeometry(layout::kMainLogo);

  m_heading = new CTransStatic(this);
  SetDlgCtrlID(m_heading, kHeading);
  m_heading->setGeometry(layout::kHeading);
  m_heading->SetTextHeight(kHeadingHeight);
  m_heading->SetTextWeight(skin::kWeightBold);
  m_heading->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);

  auto *version = new CTransStatic(this);
  SetDlgCtrlID(version, kVersionLine);
  version->setGeometry(layout::kVersionLine);
  version->hide();

  m_welcome = new CTransStatic(this);
  SetDlgCtrlID(m_welcome, kWelcome);
  m_welcome->setGeometry(layout::kWelcome);
  m_welcome->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);

  int x = layout::kToolButtonRight - layout::kToolButtonSize;
  for (const ToolButton &tool : kToolButtons) {
    auto *button = new CGdipButton(ButtonKind::PushButton, this);
    SetDlgCtrlID(button, tool.id);
    button->LoadImages(tool.normal, tool.hover, tool.pressed);
    button->setGeometry(x, layout::kToolButtonTop, layout::kToolButtonSize,
                        layout::kToolButtonSize);
    button->SetToolTipText(UiText(tool.tip));
    button->setAccessibleName(UiText(tool.tip));
    connect(button, &QAbstractButton::clicked, this, [this, id = tool.id] { OnCommand(id); });
    x -= layout::kToolButtonPitch;
  }

  m_boxList = new CGdipComboBox(this);
  SetDlgCtrlID(m_boxList, kBoxList);
  m_boxList->SetFaceImage(skin::kComboFace);
  m_boxList->setGeometry(layout::kBoxList);

  const struct {
    int id;
    QRect where;
    std::u16string_view tip;
  } textButtons[] = {{kConnect, layout::kConnect, u"Connect NAS"},
                     {kRefresh, layout::kRefresh, u"Search NAS"}};
  for (const auto &b : textButtons) {
    auto *button = new CGdipButton(ButtonKind::PushButton, this);
    SetDlgCtrlID(button, b.id);
    button->LoadImages(skin::kTextButtonNormal, skin::kTextButtonActive, skin::kTextButtonActive);
    button->setGeometry(b.where);
    button->SetToolTipText(UiText(b.tip));
    connect(button, &QAbstractButton::clicked, this, [this, id = b.id] { OnCommand(id); });
  }

  QPoint at = layout::kFirstShortcut;
  for (const Shortcut &s : kShortcuts) {
    auto *button = new CShortCutButton(this);
    SetDlgCtrlID(button, s.id);
    if (s.icon != 0) {
      button->LoadImages(skin::kShortcutNormal, skin::kShortcutPressed, skin::kShortcutHover,
                         s.icon, s.lit);
    }
    button->setGeometry(QRect(at, layout::kShortcutSize));
    button->setVisible(s.shown);
    connect(button, &QAbstractButton::clicked, this, [this, id = s.id] { OnCommand(id); });
    at.ry() += layout::kShortcutPitch;
  }

  // The two buttons of the template that are never shown.
  for (int id : {kNetwork, kDriveMapping}) {
    auto *button = new CGdipButton(ButtonKind::PushButton, this);
    SetDlgCtrlID(button, id);
    button->setGeometry(layout::kHiddenButtons);
    button->hide();
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
  }

  auto *volumeView = new CBottomIconButton(this);
  SetDlgCtrlID(volumeView, kVolumeView);
  volumeView->setGeometry(layout::kVolumeView);
  connect(volumeView, &QAbstractButton::clicked, this, [this] { OnCommand(kVolumeView); });
  auto *sorting = new CBottomIconButton(this);
  SetDlgCtrlID(sorting, kAutoSorting);
  sorting->setGeometry(layout::kAutoSorting);
  sorting->hide();

  auto *footer = new CTransStatic(this);
  SetDlgCtrlID(footer, kFooter);
  footer->setGeometry(layout::kFooter);
  footer->SetTextHeight(kFooterHeight);
  footer->SetTextWeight(skin::kWeightRegular);
  footer->SetTextColor(kFooterColor);
  footer->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);

  m_info = new CNASInfoDialog(this);
  m_info->setGeometry(layout::kInfoPanel);
  m_search = new CSearchStatus(this);
  m_search->setGeometry(layout::kSearchStatus);

  // Keyboard order: the box list and its buttons, the shortcuts, the view
  // button, the panel's folder grid, then the title strip's tools.
  QWidget *order[] = {m_boxList,
                      GetDlgItem(kConnect),
                      GetDlgItem(kRefresh),
                      GetDlgItem(kWizard),
                      GetDlgItem(kFolder),
                      GetDlgItem(kManagementCenter),
                      GetDlgItem(kDownloadCenter),
                      GetDlgItem(kBackupCenter),
                      GetDlgItem(kVolumeView),
                      m_info->FolderList(),
                      GetDlgItem(kHelp),
                      GetDlgItem(kSettings),
                      GetDlgItem(kLogout),
                      GetDlgItem(kMinimise),
                      GetDlgItem(kClose)};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void CUtilityDlg::SetTexts() {
  const struct {
    int id;
    std::u16string_view text;
  } texts[] = {{kVolumeView, u"Select NAS/Short Cut"},
               {kAutoSorting, u"Auto Sorting"},
               {kConnect, u"Connect"},
               {kRefresh, u"Refresh"},
               {kWizard, u"Wizard"},
               {kFolder, u"Folder"},
               {kPlayCenter, u"Play Center"},
               {kManagementCenter, u"Management Center"},
               {kDownloadCenter, u"Download Center"},
               {kBackupCenter, u"Backup Center"},
               {kSurveillanceCenter, u"Surveillance Center"},
               {kFileCenter, u"File Center"},
               {kNetwork, u"Network"},
               {kDriveMapping, u"Drive Mapping"}};
  for (const auto &t : texts) {
    auto *button = GetDlgItemAs<QAbstractButton>(t.id);
    button->setText(UiText(t.text));
    button->setAccessibleName(button->text());
  }
  m_heading->SetText(UiText(u"Select NAS"));
  m_heading->setAccessibleName(m_heading->Text());
  m_boxList->setAccessibleName(m_heading->Text());
  auto *footer = GetDlgItemAs<CTransStatic>(kFooter);
  footer->SetText(UiText(kCopyrightFooter));
  footer->setAccessibleName(footer->Text());
}

void CUtilityDlg::SetUiState(UiState state) {
  m_state = state;
  const auto column = static_cast<std::size_t>(state);
  for (const UiStateRow &row : UiStateTable()) {
    if (QWidget *control = GetDlgItem(row.id)) {
      control->setEnabled(row.enabled[column]);
    }
  }
}

void CUtilityDlg::SelectCenterButton(int id) {
  // File Center is no member of the group: pressing it leaves none selected.
  for (const Shortcut &s : kShortcuts) {
    if (auto *button = GetDlgItemAs<CShortCutButton>(s.id)) {
      button->SetSelected(s.id == id && s.id != kFileCenter);
    }
  }
}

void CUtilityDlg::Start() {
  m_ticket = StartDiscovery(Handle());
  ShowSearchStatus();
}

void CUtilityDlg::ShowSearchStatus() {
  if (m_ticket != 0) {
    m_search->ShowSearching();
  } else {
    m_search->ShowIdle(); // no search runs: nothing to wait for
  }
}

// ---------------------------------------------------------------- messages

LRESULT CUtilityDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The sequences' own results first; what they leave is the window's.
  const Message posted{Handle(), message, wParam, lParam};
  if ((m_login && m_login->OnMessage(posted)) || (m_logout && m_logout->OnMessage(posted))) {
    return 0;
  }
  if (m_volumes && m_volumes->OnMessage(posted)) {
    OnVolumesReread();
    return 0;
  }
  switch (message) {
  case WM_QUERY_RESULT:
    OnQueryResult(wParam, lParam);
    return 0;
  case WM_NAS_LEFT_SUBNET:
    OnLeftSubnet();
    return 0;
  case WM_USER_ACTIVITY:
    RestartIdleTimer();
    return 0;
  case WM_SKIN_ITEM_OPEN:
    OpenShare(static_cast<int>(wParam));
    return 0;
  case WM_REQUEST_UNANSWERED:
    OnUnanswered(wParam, lParam);
    return 0;
  case WM_CLOSE:
    OnClose();
    return 0;
  default:
    return CGdipDialog::WindowProc(message, wParam, lParam);
  }
}

void CUtilityDlg::OnQueryResult(WPARAM wParam, LPARAM id) {
  std::unique_ptr<CQuery> query = TakeQuery(Message{Handle(), WM_QUERY_RESULT, wParam, id});
  if (query == nullptr || query->ticket != m_ticket) {
    return; // gone, or the result of a request that was superseded
  }
  switch (query->kind) {
  case QueryKind::Discovery:
    OnDiscoveryResult();
    break;
  case QueryKind::ShareList:
    OnShareList();
    break;
  default:
    break;
  }
}

void CUtilityDlg::OnUnanswered(WPARAM ticket, LPARAM kind) {
  if (ticket != m_ticket || ticket == 0) {
    return;
  }
  m_ticket = 0;
  // A share list that ended without an answer is no empty list.
  if (static_cast<QueryKind>(kind) == QueryKind::ShareList) {
    ShowError(Handle(), kShareListFailedText);
  }
}

void CUtilityDlg::OnDiscoveryResult() {
  const QString lastBox = QString::fromStdString(LastBox().value_or(std::string()));
  SetUiState(UiState::Listed);
  m_info->hide();

  m_boxList->clear();
  QStringList names;
  for (const NasDevice &device : DeviceList::Instance().Snapshot()) {
    names << FieldQString(device.name);
    // Shown as plain text on one line, whatever the box calls itself.
    m_boxList->addItem(OneLineText(names.back()));
    m_boxList->setItemData(m_boxList->count() - 1,
                           Qt::convertFromPlainText(OneLineText(FieldQString(device.ip))),
                           Qt::ToolTipRole);
  }
  m_boxList->setCurrentIndex(ChooseListedBox(names, lastBox));
  m_info->FolderList()->ClearFolders();
  if (names.isEmpty()) {
    m_search->ShowNoBox();
  } else {
    m_search->ShowIdle();
  }
}

void CUtilityDlg::OnLeftSubnet() {
  m_refreshAfterWizard = false;
  if (QWidget *dialog = OpenDialog()) {
    dialog->close();
  }
  OnRefresh();
}

// ---------------------------------------------------------------- commands

void CUtilityDlg::OnCommand(int id) {
  switch (id) {
  case kConnect:
    OnConnect();
    break;
  case kRefresh:
    OnRefresh();
    break;
  case kLogout:
    OnLogout();
    break;
  case kSettings:
    RunSettingsDialog();
    break;
  case kHelp:
    OnHelp();
    break;
  case kMinimise:
    OnMinimise();
    break;
  case kClose:
    OnClose();
    break;
  case kWizard:
    SelectCenterButton(kWizard);
    RunWizard();
    break;
  case kFolder:
    ShowFolders();
    break;
  case kManagementCenter:
  case kDownloadCenter:
  case kBackupCenter:
  case kSurveillanceCenter:
  case kFileCenter:
    OpenCenter(id);
    break;
  case kPlayCenter:
    SelectCenterButton(kPlayCenter);
    m_info->ShowVolumeView();
    break;
  case kNetwork:
  case kDriveMapping:
    m_info->hide();
    break;
  case kVolumeView:
    m_info->ShowVolumeView();
    break;
  default:
    break; // "Auto Sorting" does nothing
  }
}

void CUtilityDlg::OnConnect() {
  const int index = m_boxList->currentIndex();
  const std::optional<NasDevice> device =
      index < 0 ? std::nullopt : DeviceList::Instance().At(index);
  if (!device) {
    ShowError(Handle(), u"Select NAS");
    return;
  }
  if (device->ambiguous != 0) {
    // Another device answers with this box's hardware address: its
    // credentials would go to whichever answers first.
    ShowError(Handle(), kAmbiguousBoxText);
    return;
  }
  const std::string box(FieldText(device->name, sizeof device->name));
  const StoredLogin remembered = RememberedLogin(box);

  CLoginDialog dialog(this);
  dialog.Prepare(QString::fromStdString(remembered.user),
                 QString::fromStdString(remembered.password));
  if (dialog.exec() != QDialog::Accepted) {
    return; // the session and the selection stay as they were
  }
  // The credentials are remembered once the box accepts them: a mistyped
  // password never replaces the login that worked. Not to be remembered,
  // they are forgotten at once.
  const bool written =
      m_memory.Begin(box, dialog.Remember() ? LoginMemory::Remember : LoginMemory::Forget,
                     dialog.UserName().toStdString(), dialog.Password().toStdString());
  if (!written) {
    // The login goes on; the person learns that it was not remembered.
    ShowMessageBox(Handle(), settings::LastWriteProblemText(), std::u16string(kProgramTitle));
  }
  BeginLogin(index, *device, dialog.UserName(), dialog.Password());
}

void CUtilityDlg::BeginLogin(std::int32_t index, const NasDevice &device, const QString &user,
                             const QString &password) {
  OnLogout(); // the box logged in to so far, before the selection moves
  m_selectedIndex = index;
  m_loginUser = user;
  m_administrator = FromQString(user) == kAdministratorName;
  m_info->SetInfo(FieldQString(device.name), FieldQString(device.ip), FieldQString(device.netmask),
                  FieldQString(device.gateway));
  LoginRequest request;
  request.deviceIndex = index;
  request.userName = FromQString(user);
  request.password = FromQString(password);
  m_login->Start(request);
}

void CUtilityDlg::OnSequenceTimer(int id) {
  if (id == kLoginTimerId) {
    m_login->OnTimer(id);
  } else if (id == kLogoutTimerId) {
    m_logout->OnTimer(id);
  } else if (id == kVolumeListTimerId) {
    const bool running = m_volumes->Running();
    m_volumes->OnTimer(id);
    if (running) {
      OnVolumesReread();
    }
  }
}

void CUtilityDlg::OnCheckAccepted() {
  if (!m_memory.Accepted()) {
    // Told once the sequence has gone on, not from inside it.
    QTimer::singleShot(0, this, [this, problem = settings::LastWriteProblemText()] {
      ShowMessageBox(Handle(), problem, std::u16string(kProgramTitle));
    });
  }
}

void CUtilityDlg::OnCredentialsAccepted() {
  if (m_administrator) {
    SetUiState(UiState::Administrator);
  }
  const std::optional<NasDevice> device = DeviceList::Instance().At(m_selectedIndex);
  m_boxAddress = device ? std::string(FieldText(device->ip, sizeof device->ip)) : std::string();
  StartActivityWatch();
  RestartIdleTimer();
  m_welcome->SetTextHeight(kWelcomeHeight);
  m_welcome->SetTextWeight(skin::kWeightRegular);
  const std::u16string user =
      m_administrator ? std::u16string(kAdministratorName) : FromQString(m_loginUser);
  m_welcome->SetText(ToQString(WelcomeText(user)));
  m_welcome->setAccessibleName(m_welcome->Text());
}

void CUtilityDlg::OnLoggedIn() {
  m_loggedIn = true;
  if (!FirstRunOfferMade()) {
    MarkFirstRunOfferMade();
    // Asked once the sequence has gone on, not from inside it.
    QTimer::singleShot(0, this, [this] { OfferFirstRun(); });
  }
}

void CUtilityDlg::OfferFirstRun() {
  const std::u16string user =
      m_administrator ? std::u16string(kAdministratorName) : FromQString(m_loginUser);
  const MessageBoxResult answer =
      ShowMessageBox(Handle(), FirstRunQuestion(user), Translate(kProgramTitle),
                     MessageBoxButtons::OkCancel, MessageBoxIcon::Question);
  if (answer == MessageBoxResult::Ok) {
    OnCommand(kWizard);
  }
}

void CUtilityDlg::OnAccessRights(std::u16string_view accessText) {
  if (accessText.empty()) {
    SetUiState(UiState::UserNoRights);
    return;
  }
  const CenterRights rights = RightsFromAccessText(accessText);
  const std::pair<int, bool> centers[] = {{kDownloadCenter, rights.download},
                                          {kBackupCenter, rights.backup},
                                          {kManagementCenter, rights.management},
                                          {kSurveillanceCenter, rights.surveillance}};
  for (const auto &[id, open] : centers) {
    GetDlgItem(id)->setEnabled(open);
  }
  for (int id : {kVolumeView, kAutoSorting, kWizard, kFolder, kPlayCenter, kNetwork, kDriveMapping,
                 kConnect, kRefresh, kLogout, kSettings, kBoxList}) {
    GetDlgItem(id)->setEnabled(true);
  }
}

void CUtilityDlg::OnVolumes(const std::vector<VolumeUsage> &volumes) {
  m_info->ClearVolumes();
  for (const VolumeUsage &volume : volumes) {
    m_info->AddVolume(ToQString(VolumeLabel(volume.volume)),
                      static_cast<int>(std::min<long long>(volume.totalGb, INT_MAX)),
                      static_cast<int>(std::min<long long>(volume.usedGb, INT_MAX)));
  }
  m_info->show();
}

void CUtilityDlg::OnLoginFinished(const LoginOutcome &outcome) {
  switch (outcome.result) {
  case LoginResult::OutsideSubnet:
    if (ShowMessageBox(Handle(), Translate(outcome.message), std::u16string(kProgramTitle),
                       MessageBoxButtons::OkCancel,
                       MessageBoxIcon::Question) == MessageBoxResult::Ok) {
      RunSetIpDialog();
    }
    return;
  case LoginResult::AdministratorNeeded:
  case LoginResult::LoginRefused:
  case LoginResult::AccountInUse:
    if (!outcome.message.empty()) {
      ShowError(Handle(), outcome.message);
    }
    // A login whose answer was lost may be open on the box all the same.
    m_loggedIn = m_login->LoginMayBeOpen();
    OnLogout();
    return;
  default:
    if (!outcome.message.empty()) {
      ShowError(Handle(), outcome.message);
    }
    return;
  }
}

bool CUtilityDlg::GiveUpLogin() {
  // A web login under way may already be open on the box: it is given up
  // here and logged out of like a finished one.
  if (!m_login->Running()) {
    return false;
  }
  const bool mayBeOpen = m_login->LoginMayBeOpen();
  m_login->Abandon();
  return mayBeOpen;
}

void CUtilityDlg::OnLogout() {
  m_logout->Start(m_selectedIndex, GiveUpLogin() || m_loggedIn);
  m_loggedIn = false;
  m_volumes->Abandon(); // its answer would show the panel of a session that has ended
  StopIdleTimer();
  ShareList::Instance().Clear();
  m_info->FolderList()->ClearFolders();
  m_info->ShowVolumeView();
  SelectCenterButton(0); // the session's sidebar entry is no longer lit
  SetUiState(UiState::Listed);
  m_info->hide();
  m_welcome->SetText(QString());
}

void CUtilityDlg::OnRefresh() {
  OnLogout();
  m_ticket = StartDiscovery(Handle());
  if (m_ticket == 0) {
    ShowError(Handle(), u"Refresh NAS list failed.");
  }
  SetUiState(UiState::Searching);
  m_info->hide();
  ShowSearchStatus();
}

void CUtilityDlg::OnHelp() {
  MessageBoxRequest request;
  request.owner = Handle();
  request.caption = Translate(u"Help");
  request.text = FromQString(m_titleText) + u"\n" + Translate(kCopyrightFooter);
  request.buttons = MessageBoxButtons::OkCancel;
  request.englishButtons = true;
  ShowMessageBox(request);
}

void CUtilityDlg::OnMinimise() {
  showMinimized();
}

void CUtilityDlg::OnClose() {
  if (m_closing) {
    return;
  }
  m_closing = true;
  m_logout->Start(m_selectedIndex, GiveUpLogin() || m_loggedIn);
  m_loggedIn = false;
  hide();
  Q_EMIT closing();
  done(QDialog::Accepted);
}

void CUtilityDlg::closeEvent(QCloseEvent *event) {
  // Alt+F4, the taskbar's close and the session's end: as the close button.
  OnClose();
  event->accept();
}

void CUtilityDlg::keyPressEvent(QKeyEvent *event) {
  // Escape and Enter never end the main window. Enter in the box list, on a
  // chosen box, connects to it as Connect does.
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (event->modifiers() == Qt::NoModifier && focusWidget() == m_boxList &&
        m_boxList->currentIndex() >= 0) {
      auto *connectButton = GetDlgItemAs<QAbstractButton>(kConnect);
      if (connectButton->isEnabled() && connectButton->isVisible()) {
        connectButton->animateClick();
      }
    }
    event->accept();
    return;
  case Qt::Key_Escape:
    event->accept();
    return;
  default:
    CGdipDialog::keyPressEvent(event);
  }
}

void CUtilityDlg::reject() {
  // Only OnClose ends the window.
}

// ------------------------------------------------------ settings, idle

void CUtilityDlg::RunSettingsDialog() {
  CSettingsDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  WriteIdleTime(IdleTime());
  // The click on OK restarted the timer with the old time (or stopped it,
  // under "Never Logout"); while somebody is logged in the new time runs
  // from now.
  if (ActivityWatched()) {
    RestartIdleTimer();
  }
}

bool CUtilityDlg::ActivityWatched() const {
  return m_activity->Installed();
}

bool CUtilityDlg::IdleTimerRunning() const {
  return m_idleTimer->isActive();
}

int CUtilityDlg::IdleTimerInterval() const {
  return m_idleTimer->interval();
}

void CUtilityDlg::StartActivityWatch() {
  m_activity->Install();
}

void CUtilityDlg::RestartIdleTimer() {
  m_idleDue = false;
  m_idleTimer->stop();
  m_timerArmed = false;
  if (IdleTime() != kIdleNever) {
    m_idleTimer->start(IdlePeriod(IdleTime()));
    m_timerArmed = true;
  }
}

void CUtilityDlg::StopIdleTimer() {
  m_idleDue = false;
  m_activity->Remove();
  m_idleTimer->stop();
  m_timerArmed = false;
}

void CUtilityDlg::OnIdleTimeout() {
  if (IdleLogoutHeld()) {
    m_idleDue = true; // a logout now would leave the held work half-done
    return;
  }
  m_idleDue = false;
  OnLogout();
  ShowError(Handle(), kTimeOutText);
  if (QWidget *dialog = OpenDialog()) {
    dialog->close();
  }
  OnLogout();
}

// ------------------------------------------------------- centers, shares

void CUtilityDlg::OpenCenter(int id) {
  SelectCenterButton(id);
  const auto button = std::find_if(std::begin(kCenterButtons), std::end(kCenterButtons),
                                   [id](const CenterButton &b) { return b.id == id; });
  if (button == std::end(kCenterButtons)) {
    return;
  }
  m_centerMode = WebCenterOf(button->center).mode;
  const Credentials credentials = CurrentCredentials();
  const std::string link =
      CenterLink(button->center, m_boxAddress, credentials.UserName(), credentials.Password());
  ShellOpenLink(Utf8ToUtf16(BrowserLink(link))); // a browser that does not start says so itself
}

void CUtilityDlg::ShowFolders() {
  SelectCenterButton(kFolder);
  m_info->FolderList()->ClearFolders();
  ShareList::Instance().Clear();
  m_ticket = StartReadShareList(Handle(), m_selectedIndex, kWithUsbShares);
  if (m_ticket == 0) {
    ShowError(Handle(), kShareListFailedText);
  }
  m_info->ShowFolderView();
}

void CUtilityDlg::OnShareList() {
  CFolderListCtrl *folders = m_info->FolderList();
  folders->ClearFolders();
  for (const ShareEntry &share : ShareList::Instance().Snapshot()) {
    folders->AddFolder(ToQString(share.name));
  }
}

void CUtilityDlg::OpenShare(int index) {
  const std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  if (index < 0 || static_cast<std::size_t>(index) >= shares.size()) {
    return; // no such entry: nothing to open
  }
  ShellOpenShare(ShareNetworkPath(Utf8ToUtf16(m_boxAddress), shares[index].name));
}

// The wizard: the pages this user gets, the modal run, then the volumes and
// the panel as the wizard left the box.
void CUtilityDlg::RunWizard() {
  {
    WizardPageSet pages; // outlives the frame
    CWizardDialog frame(this, Handle(), m_administrator);
    AddWizardPages(frame, pages, m_administrator, m_selectedIndex);
    frame.Run();
  }
  if (m_refreshAfterWizard && m_loggedIn) {
    if (!m_volumes->Start(m_selectedIndex)) {
      ShowError(Handle(), m_volumes->Failure());
    }
  }
  m_refreshAfterWizard = true;
  const WizardInfo info = CurrentWizardInfo();
  if (!FieldText(info.name, sizeof info.name).empty()) {
    m_info->SetInfo(FieldQString(info.name), FieldQString(info.ip), FieldQString(info.netmask),
                    FieldQString(info.gateway));
    SetCurrentWizardInfo(WizardInfo{});
  }
  TakeAddressAfterWizard();
  m_info->ShowVolumeView();
}

void CUtilityDlg::TakeAddressAfterWizard() {
  // A new address from the network page is in the device list, where the
  // box's requests find it: the centers and the shares go there too.
  if (!m_loggedIn || m_selectedIndex < 0) {
    return;
  }
  const std::optional<NasDevice> device = DeviceList::Instance().At(m_selectedIndex);
  if (!device || FieldText(device->ip, sizeof device->ip).empty()) {
    return;
  }
  m_boxAddress = std::string(FieldText(device->ip, sizeof device->ip));
  m_boxList->setItemData(m_selectedIndex, FieldQString(device->ip), Qt::ToolTipRole);
}

void CUtilityDlg::OnVolumesReread() {
  if (m_volumes->Running()) {
    return;
  }
  if (const auto &volumes = m_volumes->Volumes()) {
    OnVolumes(*volumes);
  } else {
    ShowError(Handle(), m_volumes->Failure());
  }
}

// ------------------------------------------------------------ set-IP

void CUtilityDlg::RunSetIpDialog() {
  CSettingIpDialog dialog(m_selectedIndex, this);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  ShowError(Handle(), kAddressTakenText);
  OnRefresh();
}

} // namespace corvesta
