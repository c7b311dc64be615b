#include "setup/drive_change.h"

#include "worker/private_messages.h"

namespace corvesta {

DriveChange::DriveChange(WindowHandle window, std::uint64_t number, char oldLetter,
                         std::optional<DriveMapRequest> map)
    : m_window(window), m_number(number), m_oldLetter(oldLetter), m_request(std::move(map)) {}

DriveChange::~DriveChange() {
  // The last owner may be the worker itself, or a window that gave up
  // waiting: the worker is never joined from here.
  if (m_thread.joinable()) {
    m_thread.detach();
  }
}

std::shared_ptr<DriveChange> DriveChange::Start(WindowHandle window, std::uint64_t number,
                                                char oldLetter,
                                                std::optional<DriveMapRequest> map) {
  std::shared_ptr<DriveChange> change(new DriveChange(window, number, oldLetter, std::move(map)));
  std::shared_ptr<NetworkDrives> service = CurrentNetworkDrives();
  try {
    std::lock_guard guard(change->m_lock);
    change->m_thread = std::thread(
        [self = change, service = std::move(service)]() mutable { self->Run(std::move(service)); });
  } catch (const std::system_error &) {
    return nullptr;
  }
  return change;
}

void DriveChange::Run(std::shared_ptr<NetworkDrives> service) {
  {
    // Start has recorded the thread before the work begins.
    std::lock_guard guard(m_lock);
  }
  DriveChangeOutcome outcome;
  const std::stop_token stop = m_stop.get_token();
  const DriveResult noService{DriveCause::NoDesktopService, {}};
  if (m_oldLetter != 0) {
    outcome.unmap = service ? service->Unmap(m_oldLetter, stop) : noService;
  }
  if (m_request && (!outcome.unmap || outcome.unmap->Ok())) {
    outcome.map = service ? service->Map(*m_request, stop) : noService;
  }
  {
    std::lock_guard guard(m_lock);
    m_outcome = std::move(outcome);
    m_finished = true;
  }
  m_ended.notify_all();
  PostMessage(m_window, WM_DRIVE_CALL_DONE, static_cast<WPARAM>(m_number), 0);
}

bool DriveChange::Finished() const {
  std::lock_guard guard(m_lock);
  return m_finished;
}

DriveChangeOutcome DriveChange::Outcome() const {
  std::lock_guard guard(m_lock);
  return m_outcome;
}

void DriveChange::Join() {
  std::thread thread;
  {
    std::lock_guard guard(m_lock);
    if (!m_finished || !m_thread.joinable() || m_thread.get_id() == std::this_thread::get_id()) {
      return;
    }
    thread = std::move(m_thread);
  }
  thread.join();
}

bool DriveChange::Cancel(std::chrono::milliseconds limit) {
  m_stop.request_stop();
  {
    std::unique_lock guard(m_lock);
    if (!m_ended.wait_for(guard, limit, [this] { return m_finished; })) {
      return false;
    }
  }
  Join();
  return true;
}

} // namespace corvesta
