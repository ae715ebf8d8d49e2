#include "ui/pad_right.h"

std::string PadRight(int width, std::string_view text) {
    std::string padded(text);
    if (width > 0 && padded.size() < static_cast<std::size_t>(width)) {
        padded.resize(static_cast<std::size_t>(width), ' ');
    }
    return padded;
}
