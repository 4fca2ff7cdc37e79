#pragma once
// What a command needs to run a control: the headless toolkit, with message
// boxes (such as a database that cannot be opened) written to standard error.

#include <iostream>

#include <qlmib/tree/ToolkitHooks.h>
#include <qlmib/ui/HeadlessToolkit.h>

namespace qlmib::cli {

class HeadlessHost {
public:
    HeadlessHost() { toolkit.EchoMessagesTo(&std::cerr); }

    ui::HeadlessToolkit toolkit;

private:
    ToolkitHooks hooks_{toolkit};
};

}  // namespace qlmib::cli
