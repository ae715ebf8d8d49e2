#include "cli/terminal_progress.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Quiet for searches that end at once; then a redraw now and then is enough to look alive.
constexpr auto kFirstDraw = std::chrono::milliseconds(500);
constexpr auto kRedraw = std::chrono::milliseconds(250);
// Seconds; an estimate beyond it says no more than "very long" and must not overflow the clock.
constexpr double kLongestEstimate = 1e9;

// Only a flag of this type may be written from a signal handler; the engine's own flag is set
// from it at the next message pump, which the engine reaches several times a second.
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

std::string ClockText(long long seconds) {
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%02lld:%02lld", seconds / 60, seconds % 60);
    }
    return text;
}

// Counts go through double so that no product of two 64-bit counters can overflow.
std::string ProgressLine(std::uint64_t visited, std::uint64_t total, long long elapsedMs) {
    const double done =
        total == 0 ? 0.0 : static_cast<double>(visited) / static_cast<double>(total);
    const int percent = static_cast<int>(std::min(done, 1.0) * 100.0);
    std::string remaining = "--:--";
    if (visited != 0 && visited <= total) {
        const double left = static_cast<double>(total - visited) / static_cast<double>(visited) *
                            static_cast<double>(elapsedMs) / 1000.0;
        remaining = ClockText(1 + static_cast<long long>(std::min(left, kLongestEstimate)));
    }
    char text[160];
    std::snprintf(text, sizeof text, "%3d%%  %llu / %llu  経過 %s  推定残り %s", percent,
                  static_cast<unsigned long long>(visited), static_cast<unsigned long long>(total),
                  ClockText(elapsedMs / 1000).c_str(), remaining.c_str());
    return text;
}

} // namespace

TerminalProgress::TerminalProgress() : toTerminal_(::isatty(STDERR_FILENO) == 1) {
    g_interrupted = 0;
    struct sigaction action = {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Back to the default after the first Ctrl-C, so a second one ends the program at once. A
    // write to a terminal or pipe that Ctrl-C interrupts goes on: it is the listing that stops,
    // not the output that fails.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    ::sigaction(SIGINT, &action, &previous_);
    Start();
}

TerminalProgress::~TerminalProgress() {
    EraseLine();
    ::sigaction(SIGINT, &previous_, nullptr);
}

void TerminalProgress::Start() {
    start_ = Clock::now();
    lastDraw_ = start_;
    finished_ = false;
}

bool TerminalProgress::Interrupted() const {
    return g_interrupted != 0;
}

void TerminalProgress::Post(unsigned message, std::uint64_t, std::uint64_t) {
    if (message == kSearchFinished) {
        finished_ = true;
        EraseLine();
    }
}

void TerminalProgress::PumpMessages() {
    if (progress_ == nullptr) {
        return;
    }
    // Passed on once: an abort during the enumeration still lets the engine list the sets found
    // so far, and a flag set again at every pump would stop that listing at once.
    if (g_interrupted != 0 && !abortPassedOn_) {
        progress_->abortRequested = 1;
        abortPassedOn_ = true;
    }
    if (!toTerminal_) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (now - start_ >= kFirstDraw && now - lastDraw_ >= kRedraw) {
        Draw(now);
    }
}

void TerminalProgress::Draw(Clock::time_point now) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - start_);
    const std::string line =
        ProgressLine(progress_->visited, progress_->totalCombos, elapsed.count());
    std::fprintf(stderr, "\r%s\033[K", line.c_str());
    std::fflush(stderr);
    drawn_ = true;
    lastDraw_ = now;
}

void TerminalProgress::EraseLine() {
    if (drawn_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        drawn_ = false;
    }
}
