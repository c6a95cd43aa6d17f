#pragma once
// What a model computation reports while it runs, without any user
// interface: a progress mark after each stage of a fit, and the check dialog
// when the datasheet is incomplete. The program installs the compute and check
// dialogs behind this seam; without them the reports go nowhere.
#include <string>
#include <string_view>

namespace pakro {

class ComputeProgress {
 public:
  virtual ~ComputeProgress() = default;

  // After each stage of a fit: shows the name of the component being
  // computed, adds one mark to the progress row and lets the queued window
  // messages be handled (a press of Cancel is taken here). `componentName`
  // is the record's name in the legacy code page.
  virtual void Mark(std::string_view componentName) = 0;

  // The datasheet check rejected the record: shows the check dialog, which
  // stays up without blocking. The computation then sets CheckFailed to 1
  // and returns without fitting. `fault` (legacy code page) names a value
  // that was given but cannot be taken; it is empty when values are only
  // missing.
  virtual void ShowCheck(std::string_view fault) = 0;
};

// The installed reporter; a silent one when none is installed.
ComputeProgress& computeProgress();
// Installs a reporter (nullptr: the silent one) and returns the previous.
ComputeProgress* setComputeProgress(ComputeProgress* progress);

// The progress mark: the character that the progress row's symbol font
// draws as a diamond.
inline constexpr char kProgressMark = static_cast<char>(168);

// The progress row after one more mark: a row longer than 24 characters
// starts again empty, then a blank and one mark are appended. The row thus
// never grows past 26 characters.
std::string NextProgressRow(std::string row);

}  // namespace pakro
