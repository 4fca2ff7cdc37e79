#pragma once
// How the built-in export engine writes tables, documents and pictures.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/ui/GridModel.h"
#include "qlmib/ui/ImageList.h"
#include "qlmib/ui/RichTextDocument.h"

namespace qlmib::exporter {

struct PageInfo {
    std::string title, subTitle, paragraph, footer, generator;
};

struct ImageType {
    std::string_view extension;
    std::string_view mime;
};

// The columns to export: those named in a comma-separated list of column
// keys or numbers, else every column that is not hidden.
std::vector<std::int32_t> ExportedColumns(const ui::GridModel& table, std::string_view columnList);
// Visible rows; cells joined by TAB, rows ended by CR LF.
std::string TableText(const ui::GridModel& table, const std::vector<std::int32_t>& columns);
// RFC 4180: fields with a comma, quote or line break are quoted.
std::string TableCsv(const ui::GridModel& table, const std::vector<std::int32_t>& columns);
// Fixed rows become header cells.
std::string TableHtml(const ui::GridModel& table, const std::vector<std::int32_t>& columns);
std::string DocumentHtml(const std::vector<ui::TextRun>& runs);
std::string PictureHtml(const ui::Picture& picture);
std::string HtmlPage(const PageInfo& page, const std::string& body);
std::string HtmlEscape(std::string_view text);
std::string Base64(std::string_view bytes);
// From the file's first bytes; "bin" when unknown.
ImageType DetectImage(std::string_view bytes);

}  // namespace qlmib::exporter
