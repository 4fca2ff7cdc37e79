#pragma once
// A generated MIB database of 200,000 Tree rows for the benchmarks: the
// standard path down to IF-MIB's ifInOctets, and a deep enterprise tree.

#include <string>

namespace qlmib::bench {

inline constexpr int kBenchRows = 200000;

// Writes the database at `path` unless a complete one is there already.
void ensureBenchDatabase(const std::string& path);
// Makes a temporary install folder holding the database the current
// $QLMIB_HOME (once per process).
void useBenchHome();

}  // namespace qlmib::bench
