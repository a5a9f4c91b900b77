#include "app/engine/name_number_counts.h"

#include <algorithm>

namespace kscgen {
namespace {

bool Has(const NameFindings& findings, NameFindingKind kind) {
  return std::any_of(findings.begin(), findings.end(),
                     [kind](const NameFinding& f) { return f.kind == kind; });
}

}  // namespace

void NameNumberCounter::OnStart(std::size_t total) {
  if (next_) next_->OnStart(total);
}

void NameNumberCounter::OnVideo(const VideoReport& report, std::size_t done, std::size_t total) {
  // A skipped video gets no KSC file at all: its reason says so, not a count.
  if (report.outcome != VideoOutcome::kSkipped) {
    const NameFindings& f = report.name_findings;
    if (Has(f, NameFindingKind::kNoNameNumber) || Has(f, NameFindingKind::kNumberTooLarge)) {
      ++counts_.without;
    }
    if (Has(f, NameFindingKind::kSameNameNumber)) ++counts_.clashing;
  }
  if (next_) next_->OnVideo(report, done, total);
}

CountedRun RunCountedBatch(const BatchRequest& request, const std::vector<VideoFolder>& folders,
                           BatchObserver* observer) {
  NameNumberCounter counter(observer);
  CountedRun run;
  run.result = RunBatch(request, folders, &counter);
  run.numbers = counter.counts();
  return run;
}

}  // namespace kscgen
