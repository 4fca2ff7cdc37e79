#pragma once
// --export FORMAT -o FILE: what a command prints goes through the export
// bridge (ExportEngine and its engine) into FILE instead of standard output.

#include <CLI/CLI.hpp>

#include <string>

namespace qlmib {
namespace ui {
class GridModel;
class Toolkit;
}  // namespace ui

namespace cli {

struct ExportOption {
    std::string format;  // txt, csv, html or rtf; "" prints as usual
    std::string file;

    bool requested() const { return !format.empty(); }
    // Each throws std::runtime_error when the engine wrote no file.
    void table(ui::Toolkit& toolkit, const ui::GridModel& grid, const std::string& title) const;
    void richText(ui::Toolkit& toolkit, const std::string& rtf, const std::string& title) const;
    void text(ui::Toolkit& toolkit, const std::string& text, const std::string& title) const;
};

// Adds --export and -o to a command; csv only where the command prints a table.
void addExportOption(CLI::App& command, ExportOption& option, bool table);

}  // namespace cli
}  // namespace qlmib
