#pragma once

#include <cstddef>
#include <string_view>

// The numbers 1, 2, 3, ... as decimal text, each made from the one before by carrying through
// its last digits: a listing numbers its sets one after the other, and a general conversion of
// each number cost more than the carry.
class DecimalCounter {
public:
    static constexpr std::size_t kDigits = 20; // any count of sets a listing can hold

    // The number after the last one, starting from 1. Its view may be read for kDigits bytes
    // from its start, past its end.
    std::string_view Next() {
        std::size_t digit = kDigits;
        while (digit > begin_ && digits_[digit - 1] == '9') {
            digits_[--digit] = '0';
        }
        if (digit == begin_) {
            digits_[--begin_] = '1';
        } else {
            ++digits_[digit - 1];
        }
        return {digits_ + begin_, kDigits - begin_};
    }

private:
    // The digits end at kDigits, and the room after them is never written.
    char digits_[kDigits + kDigits] = {};
    std::size_t begin_ = kDigits; // where the digits of the last number begin
};
