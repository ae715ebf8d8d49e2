#pragma once

#include <cstdint>

// What a running search needs from the program around it: a way to post its two messages and to
// let the user interface breathe from inside its loops. The window posts queued events and
// processes pending ones; the CLI draws progress; tests script it.
class SearchHost {
public:
    static constexpr unsigned kPhaseOneDone = 1025;   // enumeration over (completed or stopped)
    static constexpr unsigned kSearchFinished = 1026; // results final

    virtual ~SearchHost() = default;
    virtual void Post(unsigned message, std::uint64_t visited, std::uint64_t total) = 0;
    virtual void PumpMessages() = 0;
};
