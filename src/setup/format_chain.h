#pragma once
// Turning a box's disks into volumes: stop the box's file browser, create the
// volumes, read the formatting state once a period until the box reports an
// end, then remount the disks (also after a failed formatting), check the
// remount and finish. Each step starts when the previous one was accepted;
// a refused or unanswered step ends the chain with the system's message.
// An end after the file browser was stopped (or may have been: its stop went
// unanswered) first sends the finish step, which starts the file browser
// again, unless the box may still be formatting; the chain ends with its
// message once the finish is answered or its wait is over, whatever the
// answer.
//
// The state is read once a period with at most one poll outstanding: a tick
// while a poll is out waits for the next. Once the box has reported an end,
// late state answers change nothing. A box that gives no state answer for
// the silence limit, or reports no end within the total limit, ends the
// chain without a remount: the box may still be formatting.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "nas/http/command_set.h"
#include "nas/http/request_records.h"
#include "nas/query_kind.h"
#include "setup/sequence.h"

namespace corvesta {

// The texts a formatting is shown with (English source texts): while it
// runs, and once it has completed.
inline constexpr std::u16string_view kFormatRunningTitle = u"Format Hard Drives";
inline constexpr std::u16string_view kFormatRunningText =
    u"Please be patient while KS-310 creates your volume(s). Do not turn off the NAS at this "
    u"stage.";
inline constexpr std::u16string_view kFormatCompleteTitle = u"Complete";
inline constexpr std::u16string_view kFormatCompleteText =
    u"Congratulations!! The Formation process is complete.Please enter the OK button to finish "
    u"the Wizard. Thanks.";

enum class FormatStage {
  StoppingService, // the box's file browser lets go of the disks
  Creating,        // the volumes are created
  Formatting,      // the box formats; percentages follow
  Finishing,       // remount, remount check and finish
};

struct FormatOutcome {
  // The chain ran through its finish step.
  bool completed = false;
  // The box reported the formatting finished without error.
  bool formatted = false;
  // The system's texts to show (English source texts): after a formatting
  // that went well and a finish, the title "Complete" and the completion
  // text; otherwise no title and why the chain did not succeed ("format
  // error." when the box reported a failed formatting and the disks were
  // remounted and finished all the same).
  std::u16string title;
  std::u16string message;

  bool Succeeded() const { return completed && formatted; }
};

class FormatChainObserver {
public:
  virtual ~FormatChainObserver() = default;
  virtual void OnStage(FormatStage stage) = 0;
  // The box's formatting percentage, 0 to 100, as each state answer tells it.
  virtual void OnPercent(int percent) = 0;
  // A text to show while the chain goes on ("format error." before the
  // remount, a state poll that could not start).
  virtual void OnNotice(std::u16string_view text) = 0;
  // Once, at every end; Running() is false by then.
  virtual void OnEnd(const FormatOutcome &outcome) = 0;
};

// The requests the chain starts: the command set's, or a script's in tests.
struct FormatRequests {
  using Step = std::function<Ticket(WindowHandle, std::int32_t)>;
  Step stopFileBrowser = StartStopFileBrowser;
  std::function<Ticket(WindowHandle, std::int32_t, const VolumeSpec &)> createVolumes =
      StartCreateVolumes;
  Step readFormatState = StartReadFormatState;
  Step remountDisks = StartRemountDisks;
  Step readRemountState = StartReadRemountState;
  Step finishFormatting = StartFinishFormatting;
};

class FormatChain : public Sequence {
public:
  // The timers the chain asks its host for.
  enum Timer : int { kPollTimer = 1, kSilenceTimer = 2, kTotalTimer = 3, kAnswerTimer = 4 };

  // `volumes` is one VolumeSpec or two chained by `next`; the chain keeps its own
  // copy. The observer and the host outlive the sequence.
  FormatChain(SequenceHost &host, FormatChainObserver &observer, std::int32_t deviceIndex,
              const VolumeSpec &volumes, FormatRequests requests = {});
  ~FormatChain() override;

  // Stops the file browser; the rest follows the answers.
  void Start();
  // The person leaves before the end: no volume is created from here on, a
  // formatting box is asked to remount its disks at once, and the chain runs
  // only what leaves the box usable (the remount, its check and the finish;
  // the finish alone while no format runs) before it ends. A step in flight
  // is awaited first.
  void Interrupt();
  bool Interrupted() const { return m_interrupted; }

  bool OnMessage(const Message &message) override;
  void OnTimer(int id) override;
  bool Running() const override { return m_step != Step::Idle && m_step != Step::Ended; }

private:
  enum class Step {
    Idle,
    StoppingService,
    Creating,
    Formatting,
    Remounting,
    CheckingRemount,
    Finishing,
    Restarting, // the finish sent after a failure, for the file browser
    Ended
  };

  bool OnStepResult(CommandIndex index, bool accepted);
  bool OnCreateResult(bool accepted);
  bool OnFormatState(WPARAM state, LPARAM percent);
  bool OnUnanswered(Ticket ticket);
  // Makes `ticket` the step in flight; false (and the chain ended with
  // `notStarted`) when the request could not start.
  bool StartStep(Step step, Ticket ticket, std::u16string_view notStarted,
                 std::chrono::milliseconds limit);
  void PollState();
  void Remount();
  // The step in flight was refused or never answered.
  void StepFailed();
  // Ends with `message`, after the file browser's restart where the file
  // browser may be stopped and the box is not formatting.
  void Fail(std::u16string_view message);
  void RestartFileBrowser(std::u16string_view message);
  void End(std::u16string_view message);
  void Complete();
  void StopTimers();

  FormatChainObserver &m_observer;
  const std::int32_t m_deviceIndex;
  std::array<VolumeSpec, 2> m_volumes{};
  FormatRequests m_requests;
  Step m_step = Step::Idle;
  Ticket m_ticket = 0; // the step in flight
  Ticket m_poll = 0;   // the state poll outstanding
  bool m_tooManyVolumes = false;
  bool m_formatted = false;
  bool m_interrupted = false;
  std::u16string m_failure; // the end's message while the file browser restarts
};

} // namespace corvesta
