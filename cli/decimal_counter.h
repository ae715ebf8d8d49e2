#pragma once

#include <cstddef>
#include <string_view>

// The numbers 1, 2, 3, ... as decimal text, each made from the one before by carrying through
// its last digits: a listing numbers its sets one after the other, and a general conversion of
// each number cost more than the carry.
class DecimalCounter {
public:
    // The number after the last one, starting from 1.
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
    static constexpr std::size_t kDigits = 20; // any count of sets a listing can hold

    char digits_[kDigits] = {};
    std::size_t begin_ = kDigits; // where the digits of the last number begin
};
