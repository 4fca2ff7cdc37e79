#pragma once
// Runs a built program the way a user does, through the shell, and collects
// its exit status and what it wrote.

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qlmib::test {

struct CommandResult {
    int status;  // the exit status, -1 when the program did not exit normally
    std::string out, err;
    long long milliseconds;  // wall time, shell included
};

// The text as one shell word.
inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs `program` with the arguments; its output goes through files in `folder`.
inline CommandResult runCommand(const std::string& program, const std::vector<std::string>& arguments,
                                const std::filesystem::path& folder) {
    const auto out = folder / "command.out", err = folder / "command.err";
    std::string command = shellQuote(program);
    for (const auto& argument : arguments) command += " " + shellQuote(argument);
    command += " >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string());
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const auto took = std::chrono::steady_clock::now() - start;
    const auto slurp = [](const std::filesystem::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err),
            std::chrono::duration_cast<std::chrono::milliseconds>(took).count()};
}

#ifdef QLMIB_CLI
// The built qlmib (QLMIB_CLI) on an install folder: --home FOLDER, then the arguments.
inline CommandResult runQlmib(const std::filesystem::path& home, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--home", home.string()});
    return runCommand(QLMIB_CLI, arguments, home);
}
#endif

}  // namespace qlmib::test
