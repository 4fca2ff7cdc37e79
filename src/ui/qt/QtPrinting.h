#pragma once
// Printing through Qt PrintSupport, which sits in a module of its own beside
// the program: a program loads it on its first print, not at its start.

#include <string>
#include <vector>

namespace qlmib::ui {
struct PrintJob;
}

namespace qlmib::ui::qt {

class QtPrinting {
public:
    virtual ~QtPrinting() = default;
    // The names of the installed printers.
    virtual std::vector<std::string> printers() const = 0;
    // Prints `job`, shows its preview or writes it as PDF; false when nothing was printed.
    virtual bool print(const PrintJob& job) = 0;
};

// The printing module's, loaded on the first call from beside the program,
// else from where it was built; null, with a warning on Qt's log, when it
// cannot be loaded.
QtPrinting* LoadedPrinting();

}  // namespace qlmib::ui::qt

// The module's entry point: its printing, which lives as long as the module.
extern "C" qlmib::ui::qt::QtPrinting* qlmib_qt_printing();
