#include "ExportOption.h"

#include <functional>
#include <stdexcept>

#include <qlmib/export/ExportEngine.h>
#include <qlmib/mibdata/TextNumbers.h>
#include <qlmib/mibdata/Version.h>

namespace qlmib::cli {
namespace {

// One job through the bridge: the file is named, nothing is asked.
void run(ui::Toolkit& toolkit, const ExportOption& option, const std::string& title,
         const std::function<bool(ExportEngine&, const std::string& method)>& call) {
    ExportEngine engine(toolkit);
    engine.setProgramName("qlmib");
    engine.setProgramVersion(kLibraryVersion);
    engine.setTitle(title);
    engine.setTargetFilename(option.file);
    engine.setSkipFilenameSelection(true);
    engine.setSkipFieldSelection(true);
    engine.setQuiet(true);
    if (!call(engine, UpperAscii(option.format)))
        throw std::runtime_error("the " + option.format + " export to " + option.file + " failed");
}

}  // namespace

void ExportOption::table(ui::Toolkit& toolkit, const ui::GridModel& grid, const std::string& title) const {
    run(toolkit, *this, title, [&](ExportEngine& e, const std::string& method) { return e.ExportTable(grid, method); });
}

void ExportOption::richText(ui::Toolkit& toolkit, const std::string& rtf, const std::string& title) const {
    run(toolkit, *this, title, [&](ExportEngine& e, const std::string& method) { return e.ExportRTF(rtf, method); });
}

void ExportOption::text(ui::Toolkit& toolkit, const std::string& text, const std::string& title) const {
    run(toolkit, *this, title, [&](ExportEngine& e, const std::string& method) { return e.ExportText(text, method); });
}

void addExportOption(CLI::App& command, ExportOption& option, bool table) {
    auto* format = command.add_option("--export", option.format,
                                      table ? "Write to the -o file as txt, csv, html or rtf instead of printing"
                                            : "Write to the -o file as txt, html or rtf instead of printing");
    format->check(table ? CLI::IsMember({"txt", "csv", "html", "rtf"}, CLI::ignore_case)
                        : CLI::IsMember({"txt", "html", "rtf"}, CLI::ignore_case));
    auto* file = command.add_option("-o", option.file, "The file that --export writes");
    format->needs(file);
    file->needs(format);
}

}  // namespace qlmib::cli
