#pragma once

#include <algorithm>
#include <vector>

// Whether a list of records (an excluded or owned list, a table) holds this very record.
template <class Record> bool Contains(const std::vector<Record*>& list, const Record* record) {
    return std::find(list.begin(), list.end(), record) != list.end();
}
