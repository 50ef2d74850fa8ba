#include "ui/pacing/Pacer.h"

#include <algorithm>

namespace docrecover::ui {

void Pacer::Tick() {
  const PaceDuration now = clock_.Now();
  debt_ = std::max(PaceDuration{}, debt_ - (now - accounted_) * kSharePerMille / 1000);
  accounted_ = now;
  const PaceDuration sinceRepaint = now - lastRepaint_;
  if (sinceRepaint >= kStalest || (sinceRepaint >= kFrame && debt_ == PaceDuration{})) {
    Run(Work::kRepaint, now);
  } else if (now - lastPump_ >= kInputWait) {
    Run(Work::kInput, now);
  }
}

void Pacer::RepaintNow() {
  Run(Work::kRepaint, clock_.Now());
}

void Pacer::Run(Work work, PaceDuration start) {
  if (work == Work::kRepaint) {
    window_.Repaint();
  } else {
    window_.PumpInput();
  }
  const PaceDuration end = clock_.Now();
  const PaceDuration cost = end - start;
  spent_ += cost;
  lastPump_ = end;
  if (work == Work::kRepaint) {
    repaintTime_ += cost;
    ++repaints_;
    lastRepaint_ = start;
    debt_ = PaceDuration{};
    accounted_ = start;
  }
  // The time the work itself took counts towards the quiet that pays for it.
  debt_ = std::max(PaceDuration{}, debt_ + cost - (end - accounted_) * kSharePerMille / 1000);
  accounted_ = end;
}

}  // namespace docrecover::ui
