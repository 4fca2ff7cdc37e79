#include "MIBXDocument.h"

#include <pugixml.hpp>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace qlmib {
namespace {

// Comments and processing instructions are nodes too, so that one standing
// among the objects of a file is read, and rejected, as an object. An element
// keeps its leading text itself: MIBXNode shows it as a text node.
constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_embed_pcdata;

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

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
    // A loop, not find_first_not_of: values are short, and a set search per character costs more.
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t first = 0, last = text.size();
    while (first < last && isSpace(text[first])) ++first;
    while (last > first && isSpace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// ---- MIBXNode ----------------------------------------------------------------

namespace {

// The text an element holds before its first child, as the parser embeds it;
// null when there is none. Only text that is not all white space is kept.
const char* leadingText(pugi::xml_node node) {
    if (node.type() != pugi::node_element) return nullptr;
    const char* value = node.value();
    return *value ? value : nullptr;
}

// The one text that is an element's whole content, as most values in a file
// are; null when the content is anything else.
const char* soleText(pugi::xml_node node) {
    const auto child = node.first_child();
    if (const char* leading = leadingText(node)) return child ? nullptr : leading;
    if (!child || child.next_sibling()) return nullptr;
    return child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata ? child.value() : nullptr;
}

}  // namespace

std::string_view MIBXNode::name() const {
    if (leadingText_) return "#text";
    const pugi::xml_node node(node_);
    // Elements and PIs carry their name; the other kinds are named by their kind.
    if (const char* own = node.name(); *own) return own;
    switch (node.type()) {
    case pugi::node_pcdata: return "#text";
    case pugi::node_cdata: return "#cdata-section";
    case pugi::node_comment: return "#comment";
    default: return {};
    }
}

std::string MIBXNode::text() const {
    const pugi::xml_node root(node_);
    if (leadingText_) return root.value();
    if (root.type() != pugi::node_element && root.type() != pugi::node_document) return root.value();
    if (const char* sole = soleText(root)) return sole;
    // Walk the subtree without recursion: a file may nest elements deeply.
    std::string out = root.value();
    for (auto node = root.first_child(); node;) {
        // An element's own value is its leading text; a comment's or PI's is no text.
        const auto type = node.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_element) out += node.value();
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
    if (leadingText_) return pugi::xml_node(node_).value();
    if (const char* sole = node_ ? soleText(pugi::xml_node(node_)) : nullptr) return sole;
    joined = text();
    return joined;
}

std::string MIBXNode::trimmedText() const {
    std::string joined;
    return std::string(TrimXMLSpace(textView(joined)));
}

bool MIBXNode::hasChildNodes() const {
    if (!node_ || leadingText_) return false;
    const pugi::xml_node node(node_);
    return node.first_child() || leadingText(node);
}

MIBXNode MIBXNode::select(std::string_view path) const {
    return node_ && !leadingText_ ? MIBXNode(selectFrom(pugi::xml_node(node_), path)) : MIBXNode();
}

MIBXNode::Iterator& MIBXNode::Iterator::operator++() {
    const pugi::xml_node node(node_);
    node_ = (leadingText_ ? node.first_child() : node.next_sibling()).internal_object();
    leadingText_ = false;
    return *this;
}

MIBXNode::Children MIBXNode::children() const {
    if (!node_ || leadingText_) return {nullptr, false};
    const pugi::xml_node node(node_);
    if (leadingText(node)) return {node_, true};
    return {node.first_child().internal_object(), false};
}

// ---- MIBXDocument --------------------------------------------------------------

bool MIBXDocument::Source::read(const std::string& path, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::system_category().message(errno);
        return false;
    }
    const auto reserve = [this](size_t wanted, size_t used) {
        if (capacity >= wanted) return;
        auto grown = std::make_unique_for_overwrite<char[]>(wanted);
        if (used) std::memcpy(grown.get(), bytes.get(), used);
        bytes = std::move(grown);
        capacity = wanted;
    };
    // Sized by the file when it has a size; one byte to spare shows the end without another read.
    struct stat info {};
    const bool sized = fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode);
    reserve(sized ? static_cast<size_t>(info.st_size) + 1 : size_t{1} << 16, 0);
    size_t used = 0;
    for (;;) {
        used += std::fread(bytes.get() + used, 1, capacity - used, file.get());
        if (used < capacity) break;
        reserve(capacity * 2, used);
    }
    size = used;
    if (std::ferror(file.get())) {
        error = std::system_category().message(errno);
        return false;
    }
    return true;
}

MIBXDocument::MIBXDocument() : doc_(std::make_unique<pugi::xml_document>()) {}
MIBXDocument::~MIBXDocument() = default;

bool MIBXDocument::load(const std::string& path) {
    doc_->reset();
    error_.clear();
    if (!source_.read(path, error_)) return false;
    if (doc_->load_buffer_inplace(source_.bytes.get(), source_.size, kParseOptions)) return true;
    // Parsing in place rewrote the text and can place the fault a byte off: the
    // file as it is, parsed from a copy, says where.
    if (!source_.read(path, error_)) return false;
    const auto result = doc_->load_buffer(source_.bytes.get(), source_.size, kParseOptions);
    error_ = std::string(result.description()) + " at " +
             position(source_.view(), result.offset, result.encoding);
    doc_->reset();
    return false;
}

MIBXNode MIBXDocument::select(std::string_view path) const {
    return MIBXNode(selectFrom(*doc_, path));
}

}  // namespace qlmib
