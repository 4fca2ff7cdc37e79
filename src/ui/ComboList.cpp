#include "ComboList.h"

namespace qlmib::ui {

std::vector<ComboItem> ParseComboList(std::string_view list) {
    std::vector<ComboItem> items;
    if (list.empty()) return items;
    size_t start = 0;
    while (true) {
        const size_t bar = list.find('|', start);
        std::string_view item = list.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        ComboItem parsed;
        const size_t semicolon = item.find(';');
        if (!item.empty() && item[0] == '#' && semicolon != std::string_view::npos) {
            parsed.data = std::string(item.substr(1, semicolon - 1));
            parsed.text = std::string(item.substr(semicolon + 1));
        } else {
            parsed.text = std::string(item);
        }
        items.push_back(std::move(parsed));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return items;
}

}  // namespace qlmib::ui
