#include "engine/tables/field_reader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

void NextField(char* destination, std::size_t capacity, const char*& cursor) {
    const char* end = std::strchr(cursor, ',');
    if (end == nullptr) {
        end = std::strchr(cursor, '\r');
    }
    if (end == nullptr) {
        end = std::strchr(cursor, '\n');
    }
    if (end == nullptr) {
        return;
    }
    if (capacity > 0) {
        const std::size_t length = std::min(static_cast<std::size_t>(end - cursor), capacity - 1);
        std::memcpy(destination, cursor, length);
        destination[length] = '\0';
    }
    cursor = end + 1;
}

int NextInt(const char*& cursor) {
    // An absent field leaves the buffer as it is: empty, so that it reads as 0.
    char buffer[512];
    buffer[0] = '\0';
    NextField(buffer, sizeof buffer, cursor);
    const long long value = std::strtoll(buffer, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}
