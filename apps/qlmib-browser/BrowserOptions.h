#pragma once
// The command line of the desktop host: qlmib-browser [--home DIR] [AGENT [OID]].

#include <optional>
#include <string>

#include <QStringList>

namespace qlmib::browser {

struct BrowserOptions {
    std::string home;   // install folder holding MIBs.cfg; "" keeps $QLMIB_HOME or the binary's folder
    std::string agent;  // walked at start when given
    std::string oid;    // where that walk starts; "" for the default
};

// Either options to run with, or a text to print and an exit status
// (help and version: 0 on standard output; a bad line: 2 on standard error).
struct CommandLineResult {
    std::optional<BrowserOptions> options;
    std::string message;
    int exitStatus = 0;
};

CommandLineResult ParseBrowserOptions(const QStringList& arguments);

}  // namespace qlmib::browser
