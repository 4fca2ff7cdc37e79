#include "MIBXDocument.h"

#include <pugixml.hpp>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace qlmib {
namespace {

// Comments and processing instructions are nodes too, so that one standing
// among the objects of a file is read, and rejected, as an object.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

bool readFile(const std::string& path, std::string& out, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::system_category().message(errno);
        return false;
    }
    // Read straight into the string, sized by the file when it has a size; one
    // byte to spare shows the end without another read.
    struct stat info {};
    const bool sized = fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode);
    out.resize(sized ? static_cast<size_t>(info.st_size) + 1 : size_t{1} << 16);
    size_t used = 0;
    for (;;) {
        used += std::fread(out.data() + used, 1, out.size() - used, file.get());
        if (used < out.size()) break;
        out.resize(out.size() * 2);
    }
    out.resize(used);
    if (std::ferror(file.get())) {
        error = std::system_category().message(errno);
        return false;
    }
    return true;
}

// One character of the source: its code point, its length in the source and
// its length in UTF-8, the form the parser converts every input to.
struct Decoded {
    char32_t cp;
    size_t sourceBytes;
    size_t utf8Bytes;
};

size_t utf8Length(char32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

Decoded decodeAt(std::string_view s, size_t i, pugi::xml_encoding encoding) {
    const auto byte = [&](size_t k) -> char32_t { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0; };
    switch (encoding) {
    case pugi::encoding_latin1:
        return {byte(0), 1, utf8Length(byte(0))};
    case pugi::encoding_utf16_le:
    case pugi::encoding_utf16_be: {
        const bool le = encoding == pugi::encoding_utf16_le;
        const auto unit = [&](size_t k) { return le ? byte(k) | byte(k + 1) << 8 : byte(k) << 8 | byte(k + 1); };
        const char32_t first = unit(0);
        if (first >= 0xD800 && first < 0xDC00) {
            const char32_t second = unit(2);
            if (second >= 0xDC00 && second < 0xE000)
                return {0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 4, 4};
        }
        return {first, 2, utf8Length(first)};
    }
    case pugi::encoding_utf32_le:
    case pugi::encoding_utf32_be: {
        const char32_t cp = encoding == pugi::encoding_utf32_le
                                ? byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24
                                : byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        return {cp, 4, utf8Length(cp)};
    }
    default: {
        // UTF-8 is parsed as it stands: count bytes, but a character as one column.
        const char32_t lead = byte(0);
        size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + n > s.size()) n = s.size() - i;
        return {lead, n, n};
    }
    }
}

// The parser reports where it stopped as an offset into its UTF-8 buffer.
std::string position(std::string_view source, ptrdiff_t offset, pugi::xml_encoding encoding) {
    size_t line = 1, column = 1, converted = 0;
    bool afterCR = false;
    for (size_t i = 0; i < source.size() && converted < static_cast<size_t>(offset);) {
        const auto d = decodeAt(source, i, encoding);
        const bool bom = i == 0 && d.cp == 0xFEFF;
        i += d.sourceBytes;
        converted += d.utf8Bytes;
        if (bom) continue;
        if (d.cp == '\n' && afterCR) {
            afterCR = false;
            continue;
        }
        afterCR = d.cp == '\r';
        if (d.cp == '\n' || d.cp == '\r') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

pugi::xml_node_struct* selectFrom(pugi::xml_node context, std::string_view path) {
    const auto slash = path.find('/');
    const auto head = path.substr(0, slash);
    for (auto child = context.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || head != child.name()) continue;
        if (slash == std::string_view::npos) return child.internal_object();
        if (auto* found = selectFrom(child, path.substr(slash + 1))) return found;
    }
    return nullptr;
}

}  // namespace

std::string_view TrimXMLSpace(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// ---- MIBXNode ----------------------------------------------------------------

std::string_view MIBXNode::name() const {
    const pugi::xml_node node(node_);
    switch (node.type()) {
    case pugi::node_pcdata: return "#text";
    case pugi::node_cdata: return "#cdata-section";
    case pugi::node_comment: return "#comment";
    default: return node.name();
    }
}

namespace {

// The one text node that is an element's whole content, as most values in a
// file are; null when the content is anything else.
const char* soleText(pugi::xml_node node) {
    const auto child = node.first_child();
    if (!child || child.next_sibling()) return nullptr;
    return child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata ? child.value() : nullptr;
}

}  // namespace

std::string MIBXNode::text() const {
    const pugi::xml_node root(node_);
    if (root.type() != pugi::node_element && root.type() != pugi::node_document) return root.value();
    if (const char* sole = soleText(root)) return sole;
    // Walk the subtree without recursion: a file may nest elements deeply.
    std::string out;
    for (auto node = root.first_child(); node;) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) out += node.value();
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling()) node = node.parent();
        if (node == root) break;
        node = node.next_sibling();
    }
    return out;
}

std::string_view MIBXNode::textView(std::string& joined) const {
    if (const char* sole = node_ ? soleText(pugi::xml_node(node_)) : nullptr) return sole;
    joined = text();
    return joined;
}

std::string MIBXNode::trimmedText() const {
    if (const char* sole = node_ ? soleText(pugi::xml_node(node_)) : nullptr) return std::string(TrimXMLSpace(sole));
    return std::string(TrimXMLSpace(text()));
}

bool MIBXNode::hasChildNodes() const { return node_ && pugi::xml_node(node_).first_child(); }

MIBXNode MIBXNode::select(std::string_view path) const {
    return node_ ? MIBXNode(selectFrom(pugi::xml_node(node_), path)) : MIBXNode();
}

MIBXNode::Iterator& MIBXNode::Iterator::operator++() {
    node_ = pugi::xml_node(node_).next_sibling().internal_object();
    return *this;
}

MIBXNode::Children MIBXNode::children() const {
    return {node_ ? pugi::xml_node(node_).first_child().internal_object() : nullptr};
}

// ---- MIBXDocument --------------------------------------------------------------

MIBXDocument::MIBXDocument() : doc_(std::make_unique<pugi::xml_document>()) {}
MIBXDocument::~MIBXDocument() = default;

bool MIBXDocument::load(const std::string& path) {
    doc_->reset();
    error_.clear();
    if (!readFile(path, source_, error_)) return false;
    if (doc_->load_buffer_inplace(source_.data(), source_.size(), kParseOptions)) return true;
    // Parsing in place rewrote the text and can place the fault a byte off: the
    // file as it is, parsed from a copy, says where.
    if (!readFile(path, source_, error_)) return false;
    const auto result = doc_->load_buffer(source_.data(), source_.size(), kParseOptions);
    error_ = std::string(result.description()) + " at " + position(source_, result.offset, result.encoding);
    doc_->reset();
    source_.clear();
    return false;
}

MIBXNode MIBXDocument::select(std::string_view path) const {
    return MIBXNode(selectFrom(*doc_, path));
}

}  // namespace qlmib
