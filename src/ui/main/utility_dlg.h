#pragma once
// The main window: the boxes found on the LAN, Connect and the login, the
// box's information panel, and the buttons that open everything else.
//
// Every exchange with a box is a request started here whose outcome comes
// back as a posted message; the window keeps the ticket of the one request
// it waits for and drops the results of older ones. It computes no protocol
// step itself.

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "app/login_remembering.h"
#include "setup/login_sequence.h"
#include "setup/logout_sequence.h"
#include "setup/volume_list_sequence.h"
#include "ui/main/ui_state.h"
#include "ui/skin/gdip_dialog.h"
#include "worker/ticket.h"

class QTimer;

namespace corvesta {

class CGdipButton;
class CGdipComboBox;
class CNASInfoDialog;
class CQuery;
class CSearchStatus;
class CShortCutButton;
class CTransStatic;
struct NasDevice;

class QtSequenceHost;
class ActivityFilter;

class CUtilityDlg : public CGdipDialog, private LoginObserver {
  Q_OBJECT
public:
  explicit CUtilityDlg(QWidget *parent = nullptr);
  ~CUtilityDlg() override;

  // Starts the first discovery. The program calls it once the window is
  // shown; the box list fills when the result arrives.
  void Start();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Enables and disables the controls of the state table.
  void SetUiState(UiState state);
  UiState State() const { return m_state; }
  Ticket CurrentTicket() const { return m_ticket; }
  bool LoggedIn() const { return m_loggedIn; }
  // The box logged in to (or being logged in to), -1 for none.
  std::int32_t SelectedIndex() const { return m_selectedIndex; }
  CNASInfoDialog *InfoPanel() const { return m_info; }
  // The word on the search in the panel's place.
  CSearchStatus *SearchStatus() const { return m_search; }
  // "Corvesta ( 0.1.0.0 )": the first line of Help.
  QString TitleText() const { return m_titleText; }

  // The idle logout: whether the activity filter is installed, whether the
  // idle timer runs (and with which period), and the timer-armed flag.
  bool ActivityWatched() const;
  bool IdleTimerRunning() const;
  int IdleTimerInterval() const;
  bool TimerArmed() const { return m_timerArmed; }
  // The center mode of the last center button, 0 before the first.
  int CenterMode() const { return m_centerMode; }

  // The button commands, by control id.
  void OnCommand(int id);

  // Ends the program: starts the logout of a logged-in box, hides the window
  // and leaves the event loop. Waiting for running requests is left to the
  // program's exit.
  void OnClose();

Q_SIGNALS:
  // Emitted once by OnClose, after the window is hidden.
  void closing();

protected:
  void closeEvent(QCloseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void reject() override;

private:
  void BuildControls();
  void SetTexts();
  void SelectCenterButton(int id);

  // Commands.
  void OnConnect();
  void OnRefresh();
  // "Searching" while the discovery of m_ticket runs, nothing without one.
  void ShowSearchStatus();
  void OnLogout();
  // Gives up a login sequence still running; true when its web login was
  // sent and may be open on the box.
  bool GiveUpLogin();
  void OnHelp();
  void OnMinimise();

  // Results.
  void OnQueryResult(WPARAM result, LPARAM id);
  void OnUnanswered(WPARAM ticket, LPARAM kind);
  void OnShareList();
  void OnIdleTimeout();
  void OnDiscoveryResult();
  void OnLeftSubnet();

  // The login of the box at `index` with what the login dialog returned:
  // the core's login sequence runs it and reports here.
  void BeginLogin(std::int32_t index, const NasDevice &device, const QString &user,
                  const QString &password);
  void OnSequenceTimer(int id);

  // LoginObserver.
  void OnCheckAccepted() override;
  void OnCredentialsAccepted() override;
  void OnLoggedIn() override;
  void OnAccessRights(std::u16string_view accessText) override;
  void OnVolumes(const std::vector<VolumeUsage> &volumes) override;
  void OnLoginFinished(const LoginOutcome &outcome) override;
  void OfferFirstRun();

  // Parts owned by the settings dialog, the set-IP dialog, the web centers,
  // the share browser, the idle logout and the wizard. Each is entered from
  // here and does nothing until its owner fills it in.
  void RunSettingsDialog();
  void OpenCenter(int id);
  void ShowFolders();
  void OpenShare(int index);
  void RestartIdleTimer();
  void StartActivityWatch();
  void StopIdleTimer();
  void RunWizard();
  // The box's address as the wizard left it in the device list.
  void TakeAddressAfterWizard();
  void OnVolumesReread();
  void RunSetIpDialog();

  CGdipComboBox *m_boxList = nullptr;
  CTransStatic *m_heading = nullptr;
  CTransStatic *m_welcome = nullptr;
  CNASInfoDialog *m_info = nullptr;
  CSearchStatus *m_search = nullptr;
  QtSequenceHost *m_host = nullptr;
  ActivityFilter *m_activity = nullptr;
  QTimer *m_idleTimer = nullptr;
  std::unique_ptr<LoginSequence> m_login;
  std::unique_ptr<LogoutSequence> m_logout;
  // The volume list read again after a wizard run.
  std::unique_ptr<VolumeListSequence> m_volumes;
  QString m_loginUser;
  // What the login under way writes once the box accepts its credentials.
  PendingLoginMemory m_memory;

  UiState m_state = UiState::Searching;
  Ticket m_ticket = 0;
  std::int32_t m_selectedIndex = -1;
  bool m_loggedIn = false;
  bool m_administrator = false;
  bool m_refreshAfterWizard = true;
  bool m_closing = false;
  bool m_timerArmed = false;
  // The idle time ran out while the logout was held.
  bool m_idleDue = false;
  int m_centerMode = 0;
  // The box's address while somebody is logged in to it.
  std::string m_boxAddress;
  QString m_titleText;
};

} // namespace corvesta
