#include <iostream>
#include <memory>

#include <qlmib/mibdata/OID.h>
#include <qlmib/mibdata/TextNumbers.h>
#include <qlmib/tree/Details.h>
#include <qlmib/ui/RichTextDocument.h>

#include "CommandLine.h"
#include "ExportOption.h"
#include "HeadlessHost.h"

namespace qlmib::cli {
namespace {

struct ShowOptions {
    std::string target, layout = "A", value;
    bool rtf = false;
    ExportOption output;
};

// Layout A: the tree's details; B: the single-module tree's short details;
// C: the details window's, with the value VALUE as the parser renders it.
void compose(ui::RichTextDocument& details, const OID& object, const ShowOptions& options) {
    if (EqualsNoCase(options.layout, "B")) return ComposeTreeDetails(details, object, DetailsLayout::ShortTree);
    if (EqualsNoCase(options.layout, "C"))
        return ComposeValueDetails(details, "", object, options.value,
                                   options.value.empty() ? "" : object.ParseValue(options.value, ""));
    ComposeTreeDetails(details, object);
}

}  // namespace

const CommandRegistrar registrar("show", [](CLI::App& app, Action& selected) {
    auto options = std::make_shared<ShowOptions>();
    auto* cmd = addCommand(app, "show", "Print the details of an object", selected, [options] {
        OID object;
        lookUpRequired(object, options->target);
        if (!options->value.empty() && !EqualsNoCase(options->layout, "C")) throw UsageError("--value belongs to --layout C");
        ui::RichTextDocument details;
        compose(details, object, *options);
        if (options->output.requested()) {
            HeadlessHost host;
            options->output.richText(host.toolkit, details.getTextRTF(), object.getFullName());
        } else if (options->rtf) {
            std::cout << details.getTextRTF() << '\n';
        } else {
            writeText(std::cout, details.getText());
        }
        return 0;
    });
    cmd->add_option("object", options->target, "OID, NAME or MODULE:NAME")->required();
    cmd->add_flag("--rtf", options->rtf, "Print the details as RTF instead of plain text");
    cmd->add_option("--layout", options->layout,
                    "A: the tree's details (default); B: without units and values; C: the details window's")
        ->check(CLI::IsMember({"A", "B", "C"}, CLI::ignore_case));
    cmd->add_option("--value", options->value, "With --layout C: a raw value of the instance, shown and parsed");
    addExportOption(*cmd, options->output, false);
});

}  // namespace qlmib::cli
