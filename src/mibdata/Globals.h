#pragma once
// Per-thread module state: the install folder, the shared MIB database
// connection, and the hooks through which the data layer reaches the user
// interface layers that sit above it.

#include <functional>
#include <string>

namespace qlmib {

class Database;

// $QLMIB_HOME when set, else the folder of the running program.
std::string InstallFolder();
// InstallFolder() + "/MIBs.cfg", unless a DatabaseFileOverride is active.
std::string DatabasePath();

// While it lives, this thread's shared connection is on another database file
// (for building a new database beside the one in use). Closes the thread's
// connection on the way in and on the way out.
class DatabaseFileOverride {
public:
    explicit DatabaseFileOverride(std::string path);
    DatabaseFileOverride(const DatabaseFileOverride&) = delete;
    DatabaseFileOverride& operator=(const DatabaseFileOverride&) = delete;
    ~DatabaseFileOverride();

private:
    std::string previous_;
};
// InstallFolder() + "/Help/Quellon.chm".
std::string HelpFilePath();
// The help file that the library last set for its host.
std::string HostHelpFile();

// Makes sure this thread's connection exists. The first call on a thread opens
// it; a failure is shown once through the message hook and leaves an unopened
// connection whose every statement raises the engine's error.
void OpenDatabase();
// This thread's connection, opened first if need be.
Database& SharedDatabase();
// Drops this thread's connection so that the next use opens the database
// again (after a host replaced the file, and in tests).
void CloseSharedDatabase();
// Number of connections this thread has opened (tests check reuse with it).
int DatabaseOpenCount();

// Shows a message to the user. The toolkit layer connects it to a message
// box; until then messages go to standard error. Each thread has its own
// hook; setting one returns the one it replaces, for its owner to put back.
using MessageHook = std::function<void(const std::string& text)>;
MessageHook SetMessageHook(MessageHook hook);
void ShowMessage(const std::string& text);

// Opens the details window of an OID; the tree layer connects it. Per thread,
// as the message hook.
using DetailsHook = std::function<void(const std::string& oid)>;
DetailsHook SetDetailsHook(DetailsHook hook);
void ShowDetailsWindow(const std::string& oid);

}  // namespace qlmib
