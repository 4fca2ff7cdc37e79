#include "PrintDetails.h"

#include "qlmib/export/ExportEngine.h"
#include "qlmib/mibdata/Version.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

std::string ProgramVersionText() { return std::string("Version ") + kLibraryVersion; }

bool PrintDetails(ui::Toolkit& toolkit, const std::string& rtf, const std::string& title) {
    ui::BusyPointer busy(toolkit);
    ExportEngine engine(toolkit);
    engine.setProgramName(kProductDisplayName);
    engine.setProgramVersion(ProgramVersionText());
    engine.setTitle(title);
    return engine.PrintRTF(rtf, false);
}

}  // namespace qlmib
