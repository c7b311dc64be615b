#pragma once
// The main window's enabling states: one table says which controls each
// state enables. Settings, Help, minimise and close are never disabled and
// are not in the table.

#include <span>

namespace corvesta {

enum class UiState {
  Searching = 0,     // discovery runs
  Listed = 1,        // the box list is shown, nobody is logged in
  Administrator = 2, // the administrator is logged in
  UserNoRights = 3,  // a user without access rights is logged in
};

struct UiStateRow {
  int id;
  bool enabled[4]; // by UiState
};

// Every control the states switch, with its enabling in each state.
std::span<const UiStateRow> UiStateTable();

} // namespace corvesta
