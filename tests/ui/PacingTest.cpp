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

// A machine: its clock, and a window whose repaint costs what the machine's does and whose input
// pump 60 us. It notes the longest waits between two repaints and between two pumps.
struct FakeMachine final : PaceClock, PacedWindow {
  explicit FakeMachine(PaceDuration cost) : repaintCost(cost) {}
  PaceDuration Now() override { return now; }
  void Repaint() override {
    now += repaintCost;
    stalest = std::max(stalest, now - lastRepaint);
    lastRepaint = now;
    Pumped();
  }
  void PumpInput() override {
    now += microseconds(60);
    Pumped();
  }
  void Pumped() {
    slowestAnswer = std::max(slowestAnswer, now - lastPump);
    lastPump = now;
  }
  PaceDuration repaintCost;
  PaceDuration now = milliseconds(1000), lastRepaint = now, lastPump = now;
  PaceDuration stalest{}, slowestAnswer{};
};

TEST(PacerTest, ShareFreshnessAndCancelHoldAtEveryRepaintCost) {
  // Repaint cost; the time between repaints it should get: what keeps the share at 2.5%, half a
  // point below the goal, no shorter than a frame and no longer than half a second.
  const PaceDuration kCosts[][2] = {
      {microseconds(100), milliseconds(16)},
      {milliseconds(2), milliseconds(80)},
      {milliseconds(11), milliseconds(440)},
      {milliseconds(30), milliseconds(500)},
  };
  for (const auto& [cost, period] : kCosts) {
    FakeMachine machine(cost);
    Pacer pacer(machine, machine);
    const PaceDuration start = machine.now;
    while (machine.now - start < std::chrono::seconds(10)) {
      machine.now += microseconds(11);
      pacer.Tick();
    }
    const auto elapsed = static_cast<double>((machine.now - start).count());
    EXPECT_EQ(pacer.RepaintTime() / pacer.Repaints(), cost) << "measured";
    EXPECT_NEAR(elapsed / pacer.Repaints() / period.count(), 1.0, 0.06) << cost.count();
    // The last repaint's quiet is cut short by the end of the search: it is left out.
    EXPECT_TRUE(cost > milliseconds(15) || (pacer.Spent() - cost).count() <= 0.03 * elapsed);
    EXPECT_LE(machine.stalest, Pacer::kStalest + cost) << cost.count();
    EXPECT_LE(machine.slowestAnswer, milliseconds(100)) << cost.count();
  }
}

}  // namespace
}  // namespace docrecover::ui
