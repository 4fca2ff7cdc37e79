#pragma once
// RTF for rich-text documents: a writer of the runs (font table, colour
// table of the colours used, \b \ul \fs \cf, \uN for everything outside
// ASCII) and a reader of the RTF that word processors write (groups, font and
// colour tables, character formatting, \uN and \'hh escapes; pictures,
// objects and other destinations are skipped).

#include <string>
#include <string_view>
#include <vector>

#include "qlmib/ui/RichTextDocument.h"

namespace qlmib::ui {

// `base` gives the default font (\deff0) and size of the document.
std::string WriteRtf(const std::vector<TextRun>& runs, const TextFormat& base);
// Line breaks come back as CR LF. Text outside any group, broken escapes and
// unbalanced braces are tolerated.
std::vector<TextRun> ReadRtf(std::string_view rtf);

}  // namespace qlmib::ui
