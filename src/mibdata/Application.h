#pragma once
// Hands a host the library's shared MIB database connection.

#include <string>

namespace qlmib {

class Database;

class Application {
public:
    // This thread's shared connection; a host may run its own statements on it.
    Database& getMIBDatabase();
    // The help file that the library sets for its host.
    std::string getHelpFile() const;
};

}  // namespace qlmib
