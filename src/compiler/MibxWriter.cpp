#include "MibxWriter.h"

#include <pugixml.hpp>

#include <sstream>

#include <qlmib/common/Error.h>
#include <qlmib/mibx/MIBXFile.h>

namespace qlmib::compiler {
namespace {

// Length of the valid UTF-8 sequence at text[i], 0 when there is none.
size_t utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned minimum = 0, value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, minimum = 0x80, value = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, minimum = 0x800, value = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, minimum = 0x10000, value = lead & 0x07;
    else return 0;
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < minimum || value > 0x10FFFF || surrogate ? 0 : length;
}

// MIB texts are meant to be ASCII but files in the wild carry Latin-1 bytes and
// form feeds; XML allows neither raw, so bytes that are not UTF-8 are read as
// Latin-1 and control characters become blanks.
std::string xmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F ? ' ' : static_cast<char>(c);
            ++i;
        } else if (const size_t length = utf8Length(text, i)) {
            out.append(text, i, length);
            i += length;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
        }
    }
    return out;
}

void addText(pugi::xml_node parent, const char* name, const std::string& text) {
    parent.append_child(name).text().set(xmlText(text).c_str());
}

void addObject(pugi::xml_node tree, const MibObject& object) {
    auto node = tree.append_child(object.name.c_str());
    addText(node, "OID", object.oid);
    addText(node, "SYNTAX", object.syntax);
    if (!object.access.empty()) addText(node, "ACCESS", object.access);
    if (!object.status.empty()) addText(node, "STATUS", object.status);
    if (!object.description.empty()) addText(node, "DESCRIPTION", object.description);
    if (object.enums.empty()) return;
    auto enums = node.append_child("ENUMS");
    for (const auto& number : object.enums) {
        if (IsMibxElementName(number.label)) addText(enums, number.label.c_str(), std::to_string(number.value));
    }
}

pugi::xml_document mibxDocument(const CompiledModule& module, std::time_t compiled) {
    pugi::xml_document doc;
    auto declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    auto root = doc.append_child("MIBX");
    addText(root, "VERSION", std::string(kMIBXVersion));
    addText(root, "COMPILED", DateTimeText(compiled));
    auto header = root.append_child("MODULE");
    addText(header, "NAME", module.name);
    if (!module.description.empty()) addText(header, "DESCRIPTION", module.description);
    if (!module.contact.empty()) addText(header, "CONTACT", module.contact);
    if (!module.organization.empty()) addText(header, "ORGANIZATION", module.organization);
    if (!module.lastUpdated.empty()) addText(header, "LAST-UPDATED", module.lastUpdated);
    auto tree = root.append_child("TREE");
    for (const auto& object : module.objects) {
        if (IsMibxElementName(object.name)) addObject(tree, object);
    }
    return doc;
}

constexpr unsigned kFormat = pugi::format_indent | pugi::format_no_declaration;

}  // namespace

std::string MibxText(const CompiledModule& module, std::time_t compiled) {
    std::ostringstream out;
    // The declaration is a node of the document, so the writer's own is left out.
    mibxDocument(module, compiled).save(out, "  ", kFormat, pugi::encoding_utf8);
    return out.str();
}

std::filesystem::path WriteMibxFile(const CompiledModule& module, const std::filesystem::path& folder,
                                    std::time_t compiled) {
    const auto path = folder / (module.name + ".mibx");
    if (!mibxDocument(module, compiled).save_file(path.c_str(), "  ", kFormat, pugi::encoding_utf8)) {
        throw Error(ERR_FILE, "Could not write " + path.string());
    }
    return path;
}

std::string DateTimeText(std::time_t moment) {
    std::tm utc{};
    gmtime_r(&moment, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
    return text;
}

bool IsMibxElementName(const std::string& name) {
    if (name.empty()) return false;
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    for (char c : name) {
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
    }
    const auto lower = [&](size_t i) { return static_cast<char>(name[i] | 0x20); };
    return !(name.size() >= 3 && lower(0) == 'x' && lower(1) == 'm' && lower(2) == 'l');
}

}  // namespace qlmib::compiler
