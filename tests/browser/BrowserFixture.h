#pragma once
// What the browser tests and the screenshot program share: a MIB database
// built once from a few modules of the shared corpus, the loopback snmpd,
// waiting on the real event loop, and an answerer for message boxes.

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>

#include "SnmpAgent.h"
#include "TestHome.h"

namespace qlmib::test {

// The modules the browser's database holds, from the corpus.
extern const char* const kBrowserModules[];

// The install folder with the browser's database, built on first use; null
// when the corpus is absent.
TestHome* BrowserHome();
// Drops the database: for the end of the program, before statics go.
void ReleaseBrowserHome();

// Runs the event loop until `done` or the time is up; whether `done` held.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);

// Answers every application-modal message box as it opens (Yes, else the
// default button) and keeps its text.
class MessageBoxAnswerer : public QObject {
public:
    MessageBoxAnswerer();
    const QStringList& texts() const { return texts_; }
    void clear() { texts_.clear(); }

private:
    void check();
    QTimer timer_;
    QStringList texts_;
};

// snmpget of one object's value as net-snmp prints it with -Oqv, quotes removed.
std::string NetSnmpValue(const std::string& oid);
// snmpwalk -Oqv of a subtree, one value a line.
std::vector<std::string> NetSnmpValues(const std::string& oid);

}  // namespace qlmib::test
