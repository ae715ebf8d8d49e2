#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>

#include "engine/search/search_host.h"
#include "engine/search/search_progress.h"
#include "platform/pump_pacer.h"

// The CLI's SearchHost. While it lives, Ctrl-C asks the attached engine to stop (as the window's
// abort button does), so the sets found so far are still reported; a second Ctrl-C ends the
// program. When stderr is a terminal, a search that runs longer than a moment shows its progress
// there, redrawn a few times a second from the engine's message pump.
class TerminalProgress final : public SearchHost {
public:
    TerminalProgress();
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void Attach(SearchProgress* progress) { progress_ = progress; }
    // Restarts the clock for the next search.
    void Start();

    void Post(unsigned message, std::uint64_t visited, std::uint64_t total) override;
    void PumpMessages() override;

    bool Finished() const { return finished_; }
    bool Interrupted() const;

private:
    using Clock = std::chrono::steady_clock;

    void Draw(Clock::time_point now);
    void EraseLine();

    SearchProgress* progress_ = nullptr;
    bool toTerminal_ = false;
    bool drawn_ = false;
    bool finished_ = false;
    bool abortPassedOn_ = false;
    Clock::time_point start_;
    Clock::time_point lastDraw_;
    platform::PumpPacer pacer_;
    struct sigaction previous_ = {};
};
