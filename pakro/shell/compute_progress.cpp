#include "pakro/shell/compute_progress.h"

namespace pakro {

namespace {

class SilentProgress final : public ComputeProgress {
 public:
  void Mark(std::string_view) override {}
  void ShowCheck(std::string_view) override {}
};

SilentProgress gSilent;
ComputeProgress* gProgress = &gSilent;

}  // namespace

ComputeProgress& computeProgress() { return *gProgress; }

ComputeProgress* setComputeProgress(ComputeProgress* progress) {
  ComputeProgress* previous = gProgress == &gSilent ? nullptr : gProgress;
  gProgress = progress ? progress : &gSilent;
  return previous;
}

std::string NextProgressRow(std::string row) {
  if (row.size() > 24) row.clear();
  row += ' ';
  row += kProgressMark;
  return row;
}

}  // namespace pakro
