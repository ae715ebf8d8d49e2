#include "cli/terminal_progress.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "engine/search/progress_estimate.h"

namespace {

// Quiet for searches that end at once; then a redraw now and then is enough to look alive.
constexpr auto kFirstDraw = std::chrono::milliseconds(500);
constexpr auto kRedraw = std::chrono::milliseconds(250);
// How often the time is looked at to decide on a redraw: well within the redraw's own cadence.
constexpr auto kLookAtTheTime = std::chrono::milliseconds(10);

// Only a flag of this type may be written from a signal handler; the engine's own flag is set
// from it at the next message pump, which the engine reaches several times a second.
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

std::string ProgressLine(std::uint64_t visited, std::uint64_t total, long long elapsedMs) {
    const std::uint64_t percent = std::min<std::uint64_t>(PercentDone(visited, total), 100);
    const std::optional<std::uint64_t> left = RemainingSeconds(visited, total, elapsedMs);
    const std::string remaining = left ? ClockText(*left) : "--:--";
    char text[160];
    std::snprintf(text, sizeof text, "%3d%%  %llu / %llu  経過 %s  推定残り %s",
                  static_cast<int>(percent), static_cast<unsigned long long>(visited),
                  static_cast<unsigned long long>(total),
                  ClockText(static_cast<std::uint64_t>(std::max(elapsedMs, 0LL)) / 1000).c_str(),
                  remaining.c_str());
    return text;
}

} // namespace

TerminalProgress::TerminalProgress()
    : toTerminal_(::isatty(STDERR_FILENO) == 1), pacer_(kLookAtTheTime) {
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
    if (!toTerminal_ || !pacer_.Due()) {
        return;
    }
    const Clock::time_point now = pacer_.LastRead();
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
