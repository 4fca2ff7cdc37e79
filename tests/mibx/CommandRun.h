#pragma once
// Runs the built qlmib binary on an install folder, as a user would.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace qlmib::test {

struct CommandRun {
    int status;
    std::string out, err;
};

inline std::string slurp(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// `arguments` go through the shell as they stand: quote them.
inline CommandRun qlmib(const std::filesystem::path& home, const std::string& arguments) {
    const auto out = home / "out.txt", err = home / "err.txt";
    const std::string command = std::string(QLMIB_CLI) + " --home '" + home.string() + "' " + arguments + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

}  // namespace qlmib::test
