#pragma once
// The wizard's pages as the main window launches them: the six page objects
// (owned here, outliving the frame's run) and which of them a user gets, in
// wizard order, with their translated names and hints.

#include <array>
#include <cstdint>
#include <memory>

#include "ui/wizard/wizard_dialog_base.h"

namespace corvesta {

class CWizardPage;

class WizardPageSet {
public:
  WizardPageSet();
  ~WizardPageSet();
  WizardPageSet(const WizardPageSet &) = delete;
  WizardPageSet &operator=(const WizardPageSet &) = delete;

  // In wizard order: password, device info, time zone, network, disk mode,
  // drive mapping.
  CWizardPage *Page(std::size_t order) const { return m_pages.at(order).get(); }
  static constexpr std::size_t kCount = 6;

private:
  std::array<std::unique_ptr<CWizardPage>, kCount> m_pages;
};

// Adds the pages the user gets: an administrator all six, anyone else the
// password and drive mapping pages.
void AddWizardPages(WizardPageSink &frame, const WizardPageSet &pages, bool administrator,
                    std::int32_t boxIndex);

} // namespace corvesta
