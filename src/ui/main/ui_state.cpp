#include "ui/main/ui_state.h"

#include "ui/main/main_ids.h"

namespace corvesta {

namespace {
using namespace main_ids;
constexpr bool O = false;
constexpr bool I = true;

//                               searching  listed  admin  user without rights
constexpr UiStateRow kRows[] = {
    {kVolumeView, {O, O, I, I}},
    {kAutoSorting, {O, O, I, I}},
    {kWizard, {O, O, I, I}},
    {kFolder, {O, O, I, I}},
    {kPlayCenter, {O, O, I, O}},
    {kManagementCenter, {O, O, I, O}},
    {kDownloadCenter, {O, O, I, O}},
    {kBackupCenter, {O, O, I, O}},
    {kSurveillanceCenter, {O, O, I, O}},
    {kNetwork, {O, O, I, I}},
    {kDriveMapping, {O, O, I, I}},
    {kConnect, {O, I, I, I}},
    {kRefresh, {O, I, I, I}},
    {kLogout, {O, O, I, I}},
    {kBoxList, {O, I, I, I}},
};
} // namespace

std::span<const UiStateRow> UiStateTable() {
  return kRows;
}

} // namespace corvesta
