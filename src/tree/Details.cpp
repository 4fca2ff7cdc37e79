#include "Details.h"

#include <string>

#include "qlmib/mibdata/OID.h"

namespace qlmib {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr RunStyle kValueTitleStyle{ui::Color(0, 0, 255), true, 10, false};
constexpr RunStyle kHeadingLabelStyle{ui::Color(64, 64, 128), true, 10, false};
constexpr RunStyle kHeadingValueStyle{ui::Color(0, 128, 0), true, 10, false};
constexpr RunStyle kValueLabelStyle{ui::Color(64, 64, 128), true, 8, false};

std::string line(std::string_view text) { return std::string(text).append(kCrLf); }

void addPossibleValues(ui::RichTextDocument& document, const OID& oid) {
    if (oid.getEnumerated().empty()) return;
    AddRun(document, "\r\nPossible Values :\r\n", kValueStyle);
    AddEnumValues(document, oid.EnumList());
}

}  // namespace

void AddRun(ui::RichTextDocument& document, std::string_view text, const RunStyle& style) {
    document.AddMessage(text, style.color, style.bold, style.size, style.underline);
}

void AddLabelLine(ui::RichTextDocument& document, std::string_view label, std::string_view value,
                  const RunStyle& labelStyle, const RunStyle& valueStyle) {
    AddRun(document, std::string(label) + " \t", labelStyle);
    AddRun(document, line(value), valueStyle);
}

void AddEnumValues(ui::RichTextDocument& document, std::string_view enumList, const RunStyle& style) {
    if (enumList.empty()) return;
    size_t start = 0;
    while (true) {
        const size_t bar = enumList.find('|', start);
        const auto item = enumList.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        const size_t semicolon = item.find(';');
        AddRun(document, "    " + line(semicolon == std::string_view::npos ? item : item.substr(semicolon + 1)), style);
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
}

void ComposeTreeDetails(ui::RichTextDocument& document, const OID& oid, DetailsLayout layout) {
    document.Clear();
    AddRun(document, oid.getFullName() + "\r\n\r\n", kTreeTitleStyle);
    AddLabelLine(document, "OID", oid.getOID(), kTreeLabelStyle);
    AddLabelLine(document, "Type", oid.getTypeString(), kTreeLabelStyle);
    if (layout == DetailsLayout::Tree) AddLabelLine(document, "Units", oid.getUnits(), kTreeLabelStyle);
    AddLabelLine(document, "Access", oid.getAccessString(), kTreeLabelStyle);
    AddLabelLine(document, "Status", oid.getStatusString(), kTreeLabelStyle);
    AddRun(document, "\r\n" + line(oid.getDescription()), kValueStyle);
    if (layout == DetailsLayout::Tree) addPossibleValues(document, oid);
}

void ComposeValueDetails(ui::RichTextDocument& document, std::string_view title, const OID& oid,
                         std::string_view rawValue, std::string_view parsedValue) {
    document.Clear();
    if (!title.empty()) AddRun(document, std::string(title) + "\r\n\r\n", kValueTitleStyle);
    // An object the database does not know gets no lines beyond the title.
    if (oid.getMIB().empty()) return;
    AddLabelLine(document, "MIB", oid.getMIB(), kHeadingLabelStyle, kHeadingValueStyle);
    AddLabelLine(document, "Name", oid.getName(), kHeadingLabelStyle, kHeadingValueStyle);
    AddRun(document, kCrLf, kValueStyle);
    AddRun(document, oid.getLongName() + "\r\n\r\n", kValueStyle);
    AddLabelLine(document, "OID", oid.getOID(), kValueLabelStyle);
    AddLabelLine(document, "Type", oid.getTypeString(), kValueLabelStyle);
    AddLabelLine(document, "Units", oid.getUnits(), kValueLabelStyle);
    AddLabelLine(document, "Access", oid.getAccessString(), kValueLabelStyle);
    AddLabelLine(document, "Status", oid.getStatusString(), kValueLabelStyle);
    if (!parsedValue.empty()) {
        AddLabelLine(document, "Value", rawValue, kValueLabelStyle);
        if (parsedValue != rawValue) {
            AddRun(document, "  \t", kValueLabelStyle);
            AddRun(document, std::string(parsedValue) + "\r\n\r\n", kValueStyle);
        }
    } else if (!rawValue.empty()) {
        AddRun(document, "Value \t", kValueLabelStyle);
        AddRun(document, std::string(rawValue) + "\r\n\r\n", kValueStyle);
    }
    AddRun(document, "\r\n" + line(oid.getDescription()), kValueStyle);
    addPossibleValues(document, oid);
}

}  // namespace qlmib
