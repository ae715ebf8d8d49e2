#pragma once

#include <string>

// The list files of the program folder. `folder` ends in '/'.
inline std::string FixedSetPath(const std::string& folder) {
    return folder + "Fixed.dat";
}
inline std::string ExcludedListPath(const std::string& folder) {
    return folder + "Exclude.dat";
}
inline std::string OwnedListPath(const std::string& folder) {
    return folder + "OwnEquip.dat";
}
