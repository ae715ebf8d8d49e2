#pragma once

#include <cstddef>
#include <deque>
#include <vector>

// Texts written once each and found by a number given elsewhere, in any order: a deque keeps
// each where it was written, so that what was handed out stays valid as more are added.
template <class Text> class NumberedTexts {
public:
    // The text of `number`, null where it is not written yet. Inline, as a listing asks it for
    // every set.
    const Text* Find(std::size_t number) const {
        return number < byNumber_.size() ? byNumber_[number] : nullptr;
    }
    // A new, empty text for `number`, to be written in place.
    Text& Add(std::size_t number) {
        if (number >= byNumber_.size()) {
            byNumber_.resize(number + 1);
        }
        Text& text = written_.emplace_back();
        byNumber_[number] = &text;
        return text;
    }

private:
    std::deque<Text> written_;
    std::vector<const Text*> byNumber_;
};
