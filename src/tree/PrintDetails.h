#pragma once
// The "&Print ..." command of the details panes.

#include <string>

namespace qlmib {

namespace ui {
class Toolkit;
}

// The name the print commands give the export engine as ProgramName.
inline constexpr const char* kProductDisplayName = "Quellon MIB Tree";
// "Version " and the library's major, minor and revision numbers.
std::string ProgramVersionText();

// Prints rich text through the export bridge, titled `title`, with the busy
// pointer shown meanwhile. Returns the engine's answer.
bool PrintDetails(ui::Toolkit& toolkit, const std::string& rtf, const std::string& title);

}  // namespace qlmib
