#include "engine/fitting/fit_memo.h"

namespace {

std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    value ^= value >> 33;
    return value;
}

} // namespace

std::size_t MemoHome(const MemoKey& key, std::size_t mask) {
    return Mix(key.a ^ Mix(key.b)) & mask;
}
