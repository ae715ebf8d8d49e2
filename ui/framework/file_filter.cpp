#include "ui/framework/file_filter.h"

#include <vector>

namespace ui {
namespace {

std::vector<std::string> SplitBars(std::string_view filter) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    // The closing "||" leaves empty parts behind; they end the list.
    while (!parts.empty() && parts.back().empty()) {
        parts.pop_back();
    }
    return parts;
}

std::string WithoutTrailingPatterns(std::string description) {
    while (!description.empty() && description.back() == ' ') {
        description.pop_back();
    }
    if (!description.empty() && description.back() == ')') {
        const std::size_t open = description.rfind('(');
        if (open != std::string::npos) {
            description.erase(open);
        }
    }
    while (!description.empty() && description.back() == ' ') {
        description.pop_back();
    }
    return description;
}

std::string SpaceSeparated(std::string patterns) {
    for (char& c : patterns) {
        if (c == ';') {
            c = ' ';
        }
    }
    return patterns;
}

} // namespace

std::string ConvertFileFilter(std::string_view filter) {
    const std::vector<std::string> parts = SplitBars(filter);
    std::string converted;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (!converted.empty()) {
            converted += ";;";
        }
        std::string description = WithoutTrailingPatterns(parts[i]);
        if (!description.empty()) {
            description += ' ';
        }
        converted += description + "(" + SpaceSeparated(parts[i + 1]) + ")";
    }
    return converted;
}

} // namespace ui
