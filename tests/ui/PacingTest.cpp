// The window's pacing with a clock set by hand: a search of 10 s (11 us a file) on machines whose
// repaint costs from a tenth of a millisecond to thirty.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "ui/pacing/Pacer.h"

namespace docrecover::ui {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

class FakeClock final : public PaceClock {
 public:
  PaceDuration Now() override { return now; }
  PaceDuration now = milliseconds(1000);
};

// A window whose repaint costs what the machine's does and whose input pump costs 60 us; it
// notes the longest waits between two pumps and between two repaints.
class FakeWindow final : public PacedWindow {
 public:
  FakeWindow(FakeClock& clock, PaceDuration repaintCost) : clock_(clock), cost_(repaintCost) {}
  void Repaint() override {
    clock_.now += cost_;
    stalest = std::max(stalest, clock_.now - lastRepaint_);
    lastRepaint_ = clock_.now;
    Pumped();
  }
  void PumpInput() override {
    clock_.now += microseconds(60);
    Pumped();
  }
  PaceDuration stalest{};
  PaceDuration slowestAnswer{};

 private:
  void Pumped() {
    slowestAnswer = std::max(slowestAnswer, clock_.now - lastPump_);
    lastPump_ = clock_.now;
  }
  FakeClock& clock_;
  PaceDuration cost_;
  PaceDuration lastRepaint_ = clock_.now;
  PaceDuration lastPump_ = clock_.now;
};

TEST(PacerTest, ShareFreshnessAndCancelHoldAtEveryRepaintCost) {
  // Repaint cost; the time between repaints it should get: what keeps the share at 3%, no
  // shorter than a frame and no longer than half a second.
  const PaceDuration kCosts[][2] = {
      {microseconds(100), milliseconds(16)},
      {milliseconds(2), microseconds(66667)},
      {milliseconds(11), microseconds(366667)},
      {milliseconds(30), milliseconds(500)},
  };
  for (const auto& [cost, period] : kCosts) {
    FakeClock clock;
    FakeWindow window(clock, cost);
    Pacer pacer(clock, window);
    const PaceDuration start = clock.now;
    while (clock.now - start < std::chrono::seconds(10)) {
      clock.now += microseconds(11);
      pacer.Tick();
    }
    const PaceDuration elapsed = clock.now - start;
    // The last repaint's quiet is cut short by the end of the search: it is left out.
    const double share = 100.0 * (pacer.Spent() - cost).count() / elapsed.count();
    const double meanPeriod = static_cast<double>(elapsed.count()) / pacer.Repaints();
    EXPECT_EQ(pacer.RepaintTime() / pacer.Repaints(), cost) << "measured";
    EXPECT_NEAR(meanPeriod / period.count(), 1.0, 0.06) << cost.count();
    if (cost <= milliseconds(15)) {
      EXPECT_LE(share, 3.0) << cost.count();
    }
    EXPECT_LE(window.stalest, Pacer::kStalest + cost) << cost.count();
    EXPECT_LE(window.slowestAnswer, milliseconds(100)) << cost.count();
  }
}

}  // namespace
}  // namespace docrecover::ui
