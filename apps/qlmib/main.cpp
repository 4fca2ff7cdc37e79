// qlmib: the command-line host of the MIB tools.

#include <cstdlib>
#include <iostream>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Version.h>

#include "CommandLine.h"

int main(int argc, char** argv) {
    using namespace qlmib;
    CLI::App app{"MIB database tools: look objects up, render values, browse and query agents.", "qlmib"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string(kLibraryDescription) + " " + kLibraryVersion,
                         "Print the library's description and version");
    std::string home;
    app.add_option("--home", home, "Install folder holding MIBs.cfg (overrides $QLMIB_HOME)");

    cli::Action selected;
    cli::registerAllCommands(app, selected);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    if (!home.empty()) setenv("QLMIB_HOME", home.c_str(), 1);
    try {
        return selected ? selected() : 0;
    } catch (const cli::UsageError& e) {
        std::cerr << "qlmib: " << e.what() << '\n';
        return 2;
    } catch (const Error& e) {
        std::cerr << "qlmib: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "qlmib: " << e.what() << '\n';
        return 1;
    }
}
