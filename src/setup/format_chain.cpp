#include "setup/format_chain.h"

#include <algorithm>

#include "i18n/own_texts.h"
#include "nas/replies/format_state.h"
#include "setup/sequence_delay.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

constexpr char16_t kSettingFailed[] = u"setting failed.";
constexpr char16_t kFormatError[] = u"format error.";
constexpr char16_t kRemountRefused[] = u"Set Remount failed.";
constexpr char16_t kRemountCheckNotStarted[] = u"CheckDiskRemountState failed.";
constexpr char16_t kRemountCheckRefused[] = u"CheckDiskRemountState  failed.";

constexpr auto kStopLimit = timing::kWebRequestLimit + timing::kFileBrowserStopPause;

} // namespace

FormatChain::FormatChain(SequenceHost &host, FormatChainObserver &observer,
                         std::int32_t deviceIndex, const VolumeSpec &volumes,
                         FormatRequests requests)
    : Sequence(host), m_observer(observer), m_deviceIndex(deviceIndex),
      m_requests(std::move(requests)) {
  m_volumes[0] = volumes;
  m_volumes[0].next = nullptr;
  if (volumes.next != nullptr) {
    m_volumes[1] = *volumes.next;
    m_volumes[1].next = nullptr;
    m_volumes[0].next = &m_volumes[1];
    // A longer chain is more than a box takes; the creation then refuses to
    // start rather than send part of it.
    m_tooManyVolumes = volumes.next->next != nullptr;
  }
}

FormatChain::~FormatChain() {
  StopTimers();
}

void FormatChain::Start() {
  if (m_step != Step::Idle) {
    return;
  }
  m_observer.OnStage(FormatStage::StoppingService);
  StartStep(Step::StoppingService, m_requests.stopFileBrowser(Host().Window(), m_deviceIndex),
            kSettingFailed, kStopLimit);
}

void FormatChain::Interrupt() {
  if (!Running() || m_interrupted) {
    return;
  }
  m_interrupted = true;
  if (m_step == Step::Formatting) {
    Remount();
  }
}

bool FormatChain::StartStep(Step step, Ticket ticket, std::u16string_view notStarted,
                            std::chrono::milliseconds limit) {
  m_step = step;
  m_ticket = ticket;
  if (ticket == 0) {
    if (step == Step::StoppingService) {
      End(notStarted); // nothing reached the box
    } else {
      Fail(notStarted);
    }
    return false;
  }
  Host().StartTimer(kAnswerTimer, TimerDelay(limit));
  return true;
}

bool FormatChain::OnMessage(const Message &message) {
  if (!Running()) {
    return false;
  }
  switch (message.message) {
  case WM_DISK_STEP_RESULT:
    return OnStepResult(static_cast<CommandIndex>(message.lParam), message.wParam != 0);
  case WM_FORMAT_CREATE_RESULT:
    return OnCreateResult(message.wParam != 0);
  case WM_FORMAT_PROGRESS:
    return OnFormatState(message.wParam, message.lParam);
  case WM_REQUEST_UNANSWERED:
    return OnUnanswered(static_cast<Ticket>(message.wParam));
  default:
    return false;
  }
}

bool FormatChain::OnStepResult(CommandIndex index, bool accepted) {
  Step expected = Step::Idle;
  switch (index) {
  case CommandIndex::StopFileBrowser:
    expected = Step::StoppingService;
    break;
  case CommandIndex::RemountDisks:
    expected = Step::Remounting;
    break;
  case CommandIndex::ReadRemountState:
    expected = Step::CheckingRemount;
    break;
  case CommandIndex::FinishFormatting:
    expected = m_step == Step::Restarting ? Step::Restarting : Step::Finishing;
    break;
  default:
    return false;
  }
  if (m_step != expected) {
    return true; // an answer to a step that is over
  }
  Host().StopTimer(kAnswerTimer);
  if (m_step == Step::Restarting) {
    End(m_failure); // accepted or not, nothing more to try
    return true;
  }
  if (!accepted) {
    if (m_step == Step::StoppingService) {
      End(kSettingFailed); // the file browser runs as before
    } else {
      StepFailed();
    }
    return true;
  }
  switch (m_step) {
  case Step::StoppingService:
    if (m_interrupted) {
      RestartFileBrowser(kSettingFailed); // no volume is created any more
      break;
    }
    m_observer.OnStage(FormatStage::Creating);
    StartStep(Step::Creating,
              m_tooManyVolumes
                  ? Ticket{0}
                  : m_requests.createVolumes(Host().Window(), m_deviceIndex, m_volumes[0]),
              kSettingFailed, timing::kWebRequestLimit);
    break;
  case Step::Remounting:
    StartStep(Step::CheckingRemount, m_requests.readRemountState(Host().Window(), m_deviceIndex),
              kRemountCheckNotStarted, timing::kWebRequestLimit);
    break;
  case Step::CheckingRemount:
    StartStep(Step::Finishing, m_requests.finishFormatting(Host().Window(), m_deviceIndex),
              kSettingFailed, timing::kWebRequestLimit);
    break;
  case Step::Finishing:
    Complete();
    break;
  default:
    break;
  }
  return true;
}

bool FormatChain::OnCreateResult(bool accepted) {
  if (m_step != Step::Creating) {
    return true;
  }
  Host().StopTimer(kAnswerTimer);
  if (!accepted) {
    StepFailed();
    return true;
  }
  m_step = Step::Formatting;
  m_ticket = 0;
  if (m_interrupted) {
    Remount(); // the box formats: it is asked to remount at once
    return true;
  }
  m_observer.OnStage(FormatStage::Formatting);
  Host().StartTimer(kPollTimer, TimerDelay(timing::kFormatPollPeriod));
  Host().StartTimer(kSilenceTimer, TimerDelay(timing::kFormatSilence));
  Host().StartTimer(kTotalTimer, TimerDelay(timing::kFormatTotal));
  return true;
}

bool FormatChain::OnFormatState(WPARAM state, LPARAM percent) {
  if (m_step != Step::Formatting || m_poll == 0) {
    return true; // a poll answered after the box had reported its end
  }
  m_poll = 0;
  Host().StartTimer(kSilenceTimer, TimerDelay(timing::kFormatSilence));
  switch (static_cast<FormatState>(state)) {
  case FormatState::Running:
    m_observer.OnPercent(static_cast<int>(std::clamp<LPARAM>(percent, 0, 100)));
    break;
  case FormatState::Finished:
    m_formatted = true;
    Remount();
    break;
  case FormatState::Error:
    m_observer.OnNotice(kFormatError);
    Remount(); // the disks are remounted all the same
    break;
  default:
    break;
  }
  return true;
}

bool FormatChain::OnUnanswered(Ticket ticket) {
  if (ticket == 0) {
    return false;
  }
  if (ticket == m_ticket) {
    Host().StopTimer(kAnswerTimer);
    if (m_step == Step::Creating) {
      // The volume request may have reached the box before its answer was
      // lost: the box may be formatting, and its file browser stays as it is.
      End(kChangeMayHaveBeenMadeText);
    } else if (m_step == Step::Restarting) {
      End(m_failure);
    } else {
      StepFailed();
    }
    return true;
  }
  if (ticket == m_poll) {
    // A state poll that failed: the next one follows, the silence limit counts.
    m_poll = 0;
    return true;
  }
  return false;
}

void FormatChain::OnTimer(int id) {
  switch (id) {
  case kPollTimer:
    if (m_step == Step::Formatting) {
      PollState();
    }
    break;
  case kSilenceTimer:
    if (m_step == Step::Formatting) {
      End(kFormatStateLostText); // the box may still be formatting
    }
    break;
  case kTotalTimer:
    if (m_step == Step::Formatting) {
      End(kFormatTooLongText); // the box may still be formatting
    }
    break;
  case kAnswerTimer:
    if (m_step == Step::Restarting) {
      End(m_failure);
    } else if (Running() && m_step != Step::Formatting) {
      StepFailed();
    }
    break;
  default:
    break;
  }
}

void FormatChain::PollState() {
  Host().StartTimer(kPollTimer, TimerDelay(timing::kFormatPollPeriod));
  if (m_poll != 0) {
    return; // a slow box: its answer comes first
  }
  m_poll = m_requests.readFormatState(Host().Window(), m_deviceIndex);
  if (m_poll == 0) {
    m_observer.OnNotice(kSettingFailed); // the polling goes on
  }
}

void FormatChain::Remount() {
  m_poll = 0;
  Host().StopTimer(kPollTimer);
  Host().StopTimer(kSilenceTimer);
  Host().StopTimer(kTotalTimer);
  m_observer.OnStage(FormatStage::Finishing);
  StartStep(Step::Remounting, m_requests.remountDisks(Host().Window(), m_deviceIndex),
            kSettingFailed, timing::kWebRequestLimit);
}

void FormatChain::StepFailed() {
  switch (m_step) {
  case Step::Remounting:
    Fail(kRemountRefused);
    break;
  case Step::CheckingRemount:
    Fail(kRemountCheckRefused);
    break;
  default:
    Fail(kSettingFailed);
    break;
  }
}

void FormatChain::Fail(std::u16string_view message) {
  switch (m_step) {
  case Step::StoppingService: // its answer was lost: it may have stopped
  case Step::Creating:        // refused, or not sent
  case Step::Remounting:
  case Step::CheckingRemount:
    RestartFileBrowser(message);
    break;
  default:
    End(message);
    break;
  }
}

void FormatChain::RestartFileBrowser(std::u16string_view message) {
  m_poll = 0;
  StopTimers();
  m_failure = std::u16string(message);
  m_step = Step::Restarting;
  m_ticket = m_requests.finishFormatting(Host().Window(), m_deviceIndex);
  if (m_ticket == 0) {
    End(m_failure);
    return;
  }
  Host().StartTimer(kAnswerTimer, TimerDelay(timing::kWebRequestLimit));
}

void FormatChain::End(std::u16string_view message) {
  m_poll = 0;
  StopTimers();
  m_step = Step::Ended;
  FormatOutcome outcome;
  outcome.formatted = m_formatted;
  outcome.message = std::u16string(message);
  m_observer.OnEnd(outcome);
}

void FormatChain::Complete() {
  StopTimers();
  m_step = Step::Ended;
  FormatOutcome outcome;
  outcome.completed = true;
  outcome.formatted = m_formatted;
  if (m_formatted) {
    outcome.title = kFormatCompleteTitle;
    outcome.message = kFormatCompleteText;
  } else {
    outcome.message = kFormatError; // remounted and finished, but no volume was made
  }
  m_observer.OnEnd(outcome);
}

void FormatChain::StopTimers() {
  for (int id : {kPollTimer, kSilenceTimer, kTotalTimer, kAnswerTimer}) {
    Host().StopTimer(id);
  }
}

} // namespace corvesta
