// RTF from the clipboard or a file through the reader. Whatever it reads, the
// text it returns must survive a round trip through the writer (line breaks
// aside, which the writer turns into paragraphs).

#include <cstdint>
#include <string_view>

#include <qlmib/ui/Rtf.h>

#include "FuzzHome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto runs = qlmib::ui::ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto plain = [](const std::vector<qlmib::ui::TextRun>& list) {
        std::string text;
        for (const auto& run : list) text += run.text;
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
        return text;
    };
    const std::string text = plain(runs);
    const std::string again = plain(qlmib::ui::ReadRtf(qlmib::ui::WriteRtf(runs, {})));
    fuzz::Check(again == text, "written RTF reads back as the same text");
    return 0;
}
