#include <iostream>
#include <memory>

#include <qlmib/mibdata/OID.h>

#include "CommandLine.h"

namespace qlmib::cli {
namespace {

// The tree details of an object as plain text.
std::string detailsText(const OID& o) {
    std::string text = o.getFullName() + "\r\n\r\n";
    text += "OID \t" + o.getOID() + "\r\n";
    text += "Type \t" + o.getTypeString() + "\r\n";
    text += "Units \t" + o.getUnits() + "\r\n";
    text += "Access \t" + o.getAccessString() + "\r\n";
    text += "Status \t" + o.getStatusString() + "\r\n";
    text += "\r\n" + o.getDescription() + "\r\n";
    if (!o.getEnumerated().empty()) {
        text += "\r\nPossible Values :\r\n";
        const std::string list = o.EnumList();
        size_t start = 0;
        while (start <= list.size() && !list.empty()) {
            const auto bar = list.find('|', start);
            const std::string item = list.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
            const auto semicolon = item.find(';');
            text += "    " + (semicolon == std::string::npos ? item : item.substr(semicolon + 1)) + "\r\n";
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
    }
    return text;
}

}  // namespace

const CommandRegistrar registrar("show", [](CLI::App& app, Action& selected) {
    auto target = std::make_shared<std::string>();
    auto* cmd = addCommand(app, "show", "Print the details of an object", selected, [target] {
        OID object;
        lookUpRequired(object, *target);
        writeText(std::cout, detailsText(object));
        return 0;
    });
    cmd->add_option("object", *target, "OID, NAME or MODULE:NAME")->required();
});

}  // namespace qlmib::cli
