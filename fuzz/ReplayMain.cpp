// A fuzz target's driver where libFuzzer is not at hand (gcc builds, CI):
// runs every file of the folders given, then, for -seconds=N, random
// mutations of them. Each input is written to ./fuzz-input before it runs,
// so that a crash leaves the input that caused it behind.
//   TARGET [-seconds=N] [-seed=S] FOLDER...

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

void run(const std::string& input) {
    if (std::FILE* f = std::fopen("fuzz-input", "wb")) {
        std::fwrite(input.data(), 1, input.size(), f);
        std::fclose(f);
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

// A few of libFuzzer's own mutations: flip a bit, set a byte, insert or
// erase bytes, copy a stretch within the input or from another one.
std::string mutate(std::string input, const std::vector<std::string>& pool, std::mt19937& random) {
    const auto pick = [&](std::size_t bound) { return bound ? std::uniform_int_distribution<std::size_t>(0, bound - 1)(random) : 0; };
    for (std::size_t steps = 1 + pick(4); steps > 0; --steps) {
        const std::size_t at = pick(input.size() + 1);
        switch (pick(5)) {
        case 0:
            if (!input.empty()) input[std::min(at, input.size() - 1)] ^= static_cast<char>(1 << pick(8));
            break;
        case 1: input.insert(at, 1, static_cast<char>(pick(256))); break;
        case 2: input.erase(at, pick(16)); break;
        case 3:
            if (!input.empty()) input.insert(at, input.substr(pick(input.size()), pick(32)));
            break;
        default: {
            const auto& other = pool[pick(pool.size())];
            if (!other.empty()) input.insert(at, other.substr(pick(other.size()), pick(64)));
        }
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 0;
    unsigned seed = std::random_device{}();
    std::vector<std::string> pool;
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-seconds=", 0) == 0) {
            seconds = std::atof(arg.c_str() + 9);
        } else if (arg.rfind("-seed=", 0) == 0) {
            seed = static_cast<unsigned>(std::strtoul(arg.c_str() + 6, nullptr, 10));
        } else {
            std::error_code ec;
            for (std::filesystem::recursive_directory_iterator it(arg, ec), end; !ec && it != end; it.increment(ec)) {
                if (!it->is_regular_file()) continue;
                std::ifstream in(it->path(), std::ios::binary);
                std::ostringstream bytes;
                bytes << in.rdbuf();
                pool.push_back(bytes.str());
            }
        }
    }
    for (const auto& input : pool) run(input);
    if (pool.empty()) pool.emplace_back();
    std::mt19937 random(seed);
    std::size_t mutations = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        run(mutate(pool[random() % pool.size()], pool, random));
        ++mutations;
    }
    std::cout << pool.size() << " inputs and " << mutations << " mutations of them ran (seed " << seed << ")\n";
    std::remove("fuzz-input");
    return 0;
}
