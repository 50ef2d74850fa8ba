#pragma once

// When the window repaints and pumps during long work, which writes a text per file: the budget
// behind ShowMessage2 and KeepAlive. What a repaint costs is the machine's business (a tenth of a
// millisecond on one, eleven on another), so no fixed frame can hold the window's share of the
// search. The pacer measures each piece of window work and keeps quiet long enough afterwards:
//   - the window's share of the time (repaints and pumps together) stays at kSharePerMille or
//     less, as long as a repaint costs at most about kSharePerMille * kStalest (12.5 ms). That is
//     half a point below the goal of 3%, which leaves room for the repaints the run forces (each
//     new main text, each box) and for a measured cost that varies;
//   - the panes are repainted at least once every kStalest: where a repaint costs more, a fresh
//     path wins over the share;
//   - input is pumped at least once every kInputWait, painting nothing, so that Cancel is
//     answered promptly however rare the repaints;
//   - and the panes are repainted at most once every kFrame: no screen shows more.
// Portable: the window supplies the work, and the clock is replaceable.

#include <chrono>
#include <cstdint>

namespace docrecover::ui {

using PaceDuration = std::chrono::nanoseconds;

// A monotonic clock; tests set theirs by hand.
class PaceClock {
 public:
  virtual ~PaceClock() = default;
  virtual PaceDuration Now() = 0;
};

// The platform's steady clock.
class SteadyPaceClock final : public PaceClock {
 public:
  PaceDuration Now() override { return std::chrono::steady_clock::now().time_since_epoch(); }
};

// The window work the pacer schedules.
class PacedWindow {
 public:
  virtual ~PacedWindow() = default;
  // Puts the panes' latest texts on screen, then processes every pending event.
  virtual void Repaint() = 0;
  // Processes pending input (and posted messages) only, painting nothing.
  virtual void PumpInput() = 0;
};

class Pacer {
 public:
  static constexpr int kSharePerMille = 25;
  static constexpr PaceDuration kStalest = std::chrono::milliseconds(500);
  // Under Wine a pump that finds nothing still costs a call to the server (0.06 to 0.3 ms); the
  // slowest answer to Cancel is kInputWait plus one repaint, 100 ms where a repaint costs 30.
  static constexpr PaceDuration kInputWait = std::chrono::milliseconds(70);
  static constexpr PaceDuration kFrame = std::chrono::milliseconds(16);

  Pacer(PaceClock& clock, PacedWindow& window) : clock_(clock), window_(window) {}

  // Called often during long work: repaints, pumps input, or does nothing, as the budget says.
  void Tick();
  // Repaints at once, whatever the budget (a new main text, a box about to open); measured and
  // charged all the same.
  void RepaintNow();

  // What the pacer measured: the window work done, and the repaints among it.
  PaceDuration Spent() const { return spent_; }
  int64_t Repaints() const { return repaints_; }
  PaceDuration RepaintTime() const { return repaintTime_; }

 private:
  enum class Work { kRepaint, kInput };
  // Does the work, measures it and charges it to the budget.
  void Run(Work work, PaceDuration start);

  PaceClock& clock_;
  PacedWindow& window_;
  // The window's unpaid time: what its work cost, less its share of the time gone by since. Each
  // repaint starts a new account, so an early repaint forced by kStalest leaves no debt behind.
  PaceDuration debt_{};
  PaceDuration accounted_{};              // when debt_ was last brought up to date
  PaceDuration lastRepaint_ = -kStalest;  // when the last repaint started; the first is due
  PaceDuration lastPump_{};               // when the last work (either kind, both pump) ended
  PaceDuration spent_{};
  PaceDuration repaintTime_{};
  int64_t repaints_ = 0;
};

}  // namespace docrecover::ui
