#pragma once
// Remembers hashes and tells whether one was met before: open addressing in
// one table of 32-bit keys that is kept from use to use, so that noting
// allocates nothing once the table has grown to its work.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qlmib {

class SeenHashes {
public:
    // Notes the hash; true when it, or one of the rare hashes that share its
    // 32-bit key, had been noted before.
    bool noteAgain(std::size_t hash);
    // Starts bringing the hash's slot into the cache, for a noteAgain that
    // follows after other work: the table is too large to stay there.
    void prefetch(std::size_t hash) const;
    // Forgets every hash and keeps the table.
    void clear();

private:
    void grow();
    // The slot that holds the key, or the free one where it goes.
    std::size_t slotOf(std::uint32_t key) const;

    std::vector<std::uint32_t> slots_;  // a power of two of them; 0 marks a free one
    std::size_t count_ = 0;
};

}  // namespace qlmib
