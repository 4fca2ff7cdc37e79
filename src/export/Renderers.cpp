#include "internal/Renderers.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "qlmib/mibdata/CommonFunctions.h"

namespace qlmib::exporter {
namespace {

std::vector<std::int32_t> visibleRows(const ui::GridModel& table) {
    std::vector<std::int32_t> rows;
    for (std::int32_t r = 0; r < table.getRows(); ++r)
        if (table.IsRowVisible(r)) rows.push_back(r);
    return rows;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string css(const ui::TextFormat& f) {
    char color[8];
    std::snprintf(color, sizeof color, "#%02x%02x%02x", f.color.red, f.color.green, f.color.blue);
    std::string style = "color:" + std::string(color) + ";font-size:" + std::to_string(f.size) + "pt";
    if (f.bold) style += ";font-weight:bold";
    if (f.underline) style += ";text-decoration:underline";
    return style;
}

}  // namespace

std::vector<std::int32_t> ExportedColumns(const ui::GridModel& table, std::string_view columnList) {
    std::vector<std::int32_t> columns;
    if (TrimBlanks(columnList).empty()) {
        for (std::int32_t c = 0; c < table.getCols(); ++c)
            if (!table.getColHidden(c)) columns.push_back(c);
        return columns;
    }
    size_t start = 0;
    while (start <= columnList.size()) {
        const size_t comma = columnList.find(',', start);
        const auto item = TrimBlanks(columnList.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                         : comma - start));
        std::int32_t column = table.ColIndex(item);
        if (column < 0) {
            std::int32_t number = -1;
            const auto result = std::from_chars(item.data(), item.data() + item.size(), number);
            if (result.ec == std::errc() && result.ptr == item.data() + item.size()) column = number;
        }
        if (column >= 0 && column < table.getCols()) columns.push_back(column);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return columns;
}

std::string TableText(const ui::GridModel& table, const std::vector<std::int32_t>& columns) {
    std::string out;
    for (auto r : visibleRows(table)) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i) out += '\t';
            out += table.getTextMatrix(r, columns[i]);
        }
        out += "\r\n";
    }
    return out;
}

std::string TableCsv(const ui::GridModel& table, const std::vector<std::int32_t>& columns) {
    std::string out;
    for (auto r : visibleRows(table)) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i) out += ',';
            out += csvField(table.getTextMatrix(r, columns[i]));
        }
        out += "\r\n";
    }
    return out;
}

std::string TableHtml(const ui::GridModel& table, const std::vector<std::int32_t>& columns) {
    std::string out = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
    for (auto r : visibleRows(table)) {
        const bool header = r < table.getFixedRows();
        out += "<tr>";
        for (auto c : columns) {
            out += header ? "<th>" : "<td>";
            out += HtmlEscape(table.getTextMatrix(r, c));
            out += header ? "</th>" : "</td>";
        }
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

std::string DocumentHtml(const std::vector<ui::TextRun>& runs) {
    std::string out = "<div style=\"white-space:pre-wrap\">";
    for (const auto& run : runs) {
        out += "<span style=\"font-family:'" + HtmlEscape(run.format.fontName) + "',sans-serif;" + css(run.format) +
               "\">" + HtmlEscape(run.text) + "</span>";
    }
    return out + "</div>\n";
}

std::string PictureHtml(const ui::Picture& picture) {
    return "<img src=\"data:" + std::string(DetectImage(picture.Bytes).mime) + ";base64," + Base64(picture.Bytes) +
           "\" alt=\"\">\n";
}

std::string HtmlPage(const PageInfo& page, const std::string& body) {
    std::string out = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + HtmlEscape(page.title) +
                      "</title>\n<meta name=\"generator\" content=\"" + HtmlEscape(page.generator) +
                      "\">\n</head>\n<body>\n";
    if (!page.title.empty()) out += "<h1>" + HtmlEscape(page.title) + "</h1>\n";
    if (!page.subTitle.empty()) out += "<h2>" + HtmlEscape(page.subTitle) + "</h2>\n";
    if (!page.paragraph.empty()) out += "<p>" + HtmlEscape(page.paragraph) + "</p>\n";
    out += body;
    if (!page.footer.empty()) out += "<p><small>" + HtmlEscape(page.footer) + "</small></p>\n";
    return out + "</body>\n</html>\n";
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\r':
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
                out += '\n';
                break;
            default: out += text[i];
        }
    }
    return out;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        std::uint32_t block = 0;
        for (size_t k = 0; k < 3; ++k)
            block = block << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(block >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

ImageType DetectImage(std::string_view bytes) {
    const auto starts = [&](std::string_view magic) { return bytes.substr(0, magic.size()) == magic; };
    if (starts("\x89PNG")) return {"png", "image/png"};
    if (starts("GIF8")) return {"gif", "image/gif"};
    if (starts("\xFF\xD8\xFF")) return {"jpg", "image/jpeg"};
    if (starts("BM")) return {"bmp", "image/bmp"};
    if (starts(std::string_view("\0\0\1\0", 4))) return {"ico", "image/x-icon"};
    if (bytes.size() > 44 && bytes.substr(40, 4) == " EMF") return {"emf", "image/emf"};
    return {"bin", "application/octet-stream"};
}

}  // namespace qlmib::exporter
