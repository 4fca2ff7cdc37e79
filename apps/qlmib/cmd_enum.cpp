#include <iostream>
#include <memory>

#include <qlmib/mibdata/OID.h>

#include "CommandLine.h"

namespace qlmib::cli {

const CommandRegistrar registrar("enum", [](CLI::App& app, Action& selected) {
    struct Args {
        std::string target;
        std::int32_t number = 0;
    };
    auto args = std::make_shared<Args>();
    auto* cmd = addCommand(app, "enum", "Print the label of a number of an enumerated object", selected, [args] {
        OID object;
        lookUpRequired(object, args->target);
        std::cout << object.EnumString(args->number) << '\t' << object.EnumName(args->number) << '\t'
                  << object.EnumWords(args->number) << '\n';
        return 0;
    });
    cmd->add_option("object", args->target, "OID, NAME or MODULE:NAME")->required();
    cmd->add_option("number", args->number, "The number to translate")->required();
});

}  // namespace qlmib::cli
