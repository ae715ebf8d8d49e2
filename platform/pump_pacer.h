#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// Tells a host which of its message pumps should do what pumping is for (redraw, run the event
// queue): one at least an interval after the one before. A search pumps far more often than a
// person could notice, and reading the clock costs more than the quickest pumps, so the clock is
// read only every so many pumps, a number that follows how fast they come: it grows while they
// come quickly and is cut down at once when they slow. It is read several times an interval, and
// the number stays small, so that pumps turning slow all at once delay the next due one but
// little.
class PumpPacer {
public:
    using Clock = std::chrono::steady_clock;
    using Now = Clock::time_point (*)();

    explicit PumpPacer(Clock::duration interval, Now now = &Clock::now)
        : interval_(interval), now_(now), lastDue_(now() - interval) {}

    // The first pump is due. `LastRead()` is then the time of this one.
    bool Due() {
        if (--countdown_ != 0) {
            return false;
        }
        return Reckon();
    }
    Clock::time_point LastRead() const { return lastRead_; }

private:
    bool Reckon();

    const Clock::duration interval_;
    const Now now_;
    std::uint32_t stride_ = 1;
    std::uint32_t countdown_ = 1;
    Clock::time_point lastRead_{};
    Clock::time_point lastDue_;
};

} // namespace platform
