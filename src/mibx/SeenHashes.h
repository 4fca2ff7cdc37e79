#pragma once
// Remembers hashes and tells whether one was met before: open addressing in
// one table that is kept from use to use, so that noting allocates nothing
// once the table has grown to its work.

#include <cstddef>
#include <vector>

namespace qlmib {

class SeenHashes {
public:
    // Notes the hash; true when it had been noted before.
    bool noteAgain(std::size_t hash);
    // Forgets every hash and keeps the table.
    void clear();

private:
    void grow();

    std::vector<std::size_t> slots_;  // a power of two of them; 0 marks a free one
    std::size_t count_ = 0;
};

}  // namespace qlmib
