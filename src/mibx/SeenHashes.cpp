#include "SeenHashes.h"

#include <algorithm>

namespace qlmib {
namespace {
// 0 marks a free slot, so a hash of 0 is kept as 1: the two count as one,
// which only makes a caller look twice.
std::size_t stored(std::size_t hash) { return hash ? hash : 1; }
}  // namespace

bool SeenHashes::noteAgain(std::size_t hash) {
    hash = stored(hash);
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        if (slots_[i] == hash) return true;
        if (slots_[i] == 0) {
            slots_[i] = hash;
            ++count_;
            return false;
        }
    }
}

void SeenHashes::clear() {
    std::fill(slots_.begin(), slots_.end(), 0);
    count_ = 0;
}

void SeenHashes::grow() {
    std::vector<std::size_t> old(std::max<std::size_t>(1024, slots_.size() * 2));
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const std::size_t hash : old) {
        if (!hash) continue;
        std::size_t i = hash & mask;
        while (slots_[i]) i = (i + 1) & mask;
        slots_[i] = hash;
    }
}

}  // namespace qlmib
