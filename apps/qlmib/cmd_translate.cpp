#include <iostream>
#include <memory>
#include <vector>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>

#include "CommandLine.h"

namespace qlmib::cli {

const CommandRegistrar registrar("translate", [](CLI::App& app, Action& selected) {
    auto targets = std::make_shared<std::vector<std::string>>();
    auto* cmd = addCommand(app, "translate", "Print OID, full name and long name of objects", selected, [targets] {
        int status = 0;
        OID object;
        const ReadBatch batch(SharedDatabase());
        for (const auto& target : *targets) {
            if (lookUp(object, target)) {
                std::cout << object.getOID() << '\t' << object.getFullName() << '\t' << object.getLongName() << '\n';
            } else {
                std::cout << target << "\t\t\n";
                status = 1;
            }
        }
        return status;
    });
    cmd->add_option("objects", *targets, "OIDs, NAMEs or MODULE:NAMEs")->required();
});

}  // namespace qlmib::cli
