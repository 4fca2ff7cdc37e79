#include <iostream>
#include <memory>

#include <qlmib/mibdata/OID.h>
#include <qlmib/tree/Details.h>
#include <qlmib/ui/RichTextDocument.h>

#include "CommandLine.h"

namespace qlmib::cli {
namespace {

struct ShowOptions {
    std::string target;
    bool rtf = false;
};

}  // namespace

const CommandRegistrar registrar("show", [](CLI::App& app, Action& selected) {
    auto options = std::make_shared<ShowOptions>();
    auto* cmd = addCommand(app, "show", "Print the details of an object", selected, [options] {
        OID object;
        lookUpRequired(object, options->target);
        ui::RichTextDocument details;
        ComposeTreeDetails(details, object);
        if (options->rtf) {
            std::cout << details.getTextRTF() << '\n';
        } else {
            writeText(std::cout, details.getText());
        }
        return 0;
    });
    cmd->add_option("object", options->target, "OID, NAME or MODULE:NAME")->required();
    cmd->add_flag("--rtf", options->rtf, "Print the details as RTF instead of plain text");
});

}  // namespace qlmib::cli
