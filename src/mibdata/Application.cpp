#include "Application.h"

#include "Globals.h"

namespace qlmib {

Database& Application::getMIBDatabase() { return SharedDatabase(); }

std::string Application::getHelpFile() const { return HostHelpFile(); }

}  // namespace qlmib
