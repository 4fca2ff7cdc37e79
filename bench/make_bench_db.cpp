// Writes the benchmarks' generated MIB database: make_bench_db FOLDER
// (the file is FOLDER/MIBs.cfg, so FOLDER can serve as an install folder).

#include <iostream>

#include "BenchDatabase.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_bench_db FOLDER\n";
        return 2;
    }
    try {
        qlmib::bench::ensureBenchDatabase(std::string(argv[1]) + "/MIBs.cfg");
    } catch (const std::exception& e) {
        std::cerr << "make_bench_db: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
