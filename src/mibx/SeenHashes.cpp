#include "SeenHashes.h"

#include <algorithm>

namespace qlmib {
namespace {

// Fibonacci hashing: the high half of the product depends on every bit of
// the hash, so names that differ only in their last letters spread out.
// 0 marks a free slot and becomes 1.
std::uint32_t keyOf(std::size_t hash) {
    const auto key = static_cast<std::uint32_t>((static_cast<std::uint64_t>(hash) * 0x9E3779B97F4A7C15ULL) >> 32);
    return key ? key : 1;
}

}  // namespace

bool SeenHashes::noteAgain(std::size_t hash) {
    const std::uint32_t key = keyOf(hash);
    if ((count_ + 1) * 4 > slots_.size() * 3) grow();
    auto& slot = slots_[slotOf(key)];
    if (slot == key) return true;
    slot = key;
    ++count_;
    return false;
}

void SeenHashes::prefetch(std::size_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[keyOf(hash) & (slots_.size() - 1)]);
}

void SeenHashes::clear() {
    std::fill(slots_.begin(), slots_.end(), 0);
    count_ = 0;
}

std::size_t SeenHashes::slotOf(std::uint32_t key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = key & mask;
    while (slots_[i] != 0 && slots_[i] != key) i = (i + 1) & mask;
    return i;
}

void SeenHashes::grow() {
    std::vector<std::uint32_t> old(std::max<std::size_t>(1024, slots_.size() * 2));
    old.swap(slots_);
    for (const std::uint32_t key : old)
        if (key) slots_[slotOf(key)] = key;
}

}  // namespace qlmib
