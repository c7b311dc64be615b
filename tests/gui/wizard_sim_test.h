#pragma once
// The base of the wizard's page tests against a simulated box: each test
// gets cleaned records, a settings folder of its own, scaled protocol
// times, the simulator, this machine's loopback as the PC's adapter and an
// owner window; afterwards no request may be left running.

#include <QObject>
#include <QTest>
#include <memory>

#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/adapter_table.h"
#include "platform/message_queue_target.h"
#include "platform/text_codec.h"
#include "support/clean_records.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "ui/wizard/wizard_dialog.h"
#include "ui/wizard/wizard_launch.h"

namespace corvesta::test {

// The listed box of the wizard's page tests and its administrator's password.
inline constexpr char kBoxIp[] = "127.0.0.2";
inline constexpr char kPassword[] = "alphapass1";
// Polls every 50 ms, the pauses a twentieth of theirs (250 ms before the
// login, 250 ms after the file browser's stop), a request limit of 2 s.
inline constexpr double kTimeScale = 0.05;
// The longest wait for what a page has asked the box.
inline constexpr int kWaitMs = 15000;

class WizardSimTest : public QObject {
protected:
  // From a test class's init().
  void StartFixture(double timeScale) {
    m_clean = std::make_unique<CleanRecords>();
    m_settings = std::make_unique<ScopedAppDataFolder>();
    m_timeScale = std::make_unique<timing::ScopedTimeScale>(timeScale);
    m_sim = std::make_unique<NasSimProcess>();
    m_owner = std::make_unique<MessageQueueTarget>();
    m_liveBefore = CQuery::LiveCount();
    AdapterTable table;
    CopyToField(table.adapters[0].address, sizeof table.adapters[0].address, "127.0.0.1");
    CopyToField(table.adapters[0].mask, sizeof table.adapters[0].mask, "255.0.0.0");
    table.count = 1;
    SetCurrentAdapterTable(table);
  }

  // From a test class's cleanup(): the frame goes first, then every request
  // it started must end within `waitMs`.
  void EndFixture(int waitMs) {
    m_frame.reset();
    m_pages.reset();
    QTRY_COMPARE_WITH_TIMEOUT(CQuery::LiveCount(), m_liveBefore, waitMs);
  }
  void ReleaseFixture() {
    m_owner.reset();
    m_sim.reset();
    SetCurrentAdapterTable(AdapterTable{});
    m_timeScale.reset();
    m_settings.reset();
    m_clean.reset();
  }

  // The administrator's wizard over the one listed box, `device` at `ip`,
  // shown at its first page.
  void OpenFrame(const char *device, const char *ip) {
    const std::uint64_t generation = DeviceList::Instance().Clear();
    DeviceList::Instance().Update(generation, [&](std::vector<NasDevice> &devices) {
      NasDevice box;
      CopyToField(box.name, sizeof box.name, device);
      CopyToField(box.ip, sizeof box.ip, ip);
      CopyToField(box.netmask, sizeof box.netmask, "255.0.0.0");
      devices.push_back(box);
    });
    m_pages = std::make_unique<WizardPageSet>();
    m_frame = std::make_unique<CWizardDialog>(nullptr, m_owner->Handle(), true);
    AddWizardPages(*m_frame, *m_pages, true, 0);
    m_frame->Initialise();
    m_frame->show();
  }

  std::unique_ptr<CleanRecords> m_clean;
  std::unique_ptr<ScopedAppDataFolder> m_settings;
  std::unique_ptr<timing::ScopedTimeScale> m_timeScale;
  std::unique_ptr<NasSimProcess> m_sim;
  std::unique_ptr<MessageQueueTarget> m_owner;
  std::unique_ptr<WizardPageSet> m_pages;
  std::unique_ptr<CWizardDialog> m_frame;
  std::int64_t m_liveBefore = 0;
};

} // namespace corvesta::test
