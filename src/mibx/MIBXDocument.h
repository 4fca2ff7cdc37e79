#pragma once
// A MIB-X file parsed whole into a DOM, and the few operations its readers
// need: select by a slash-separated path of element names, children in
// document order, node name, whole text. A node is a view into its document
// and is valid while the document holds the same file.

#include <memory>
#include <string>
#include <string_view>

namespace pugi {
struct xml_node_struct;
class xml_document;
}  // namespace pugi

namespace qlmib {

// The parser keeps an element's leading text in the element itself rather
// than in a node of its own, which halves the nodes of a typical file; a
// MIBXNode shows that text as the element's first "#text" child.
class MIBXNode {
public:
    MIBXNode() = default;

    // False for the node that a failed selection returns.
    explicit operator bool() const { return node_ != nullptr; }

    // The element name; "#text", "#cdata-section", "#comment" or the target
    // for the other node kinds, as a DOM names them.
    std::string_view name() const;
    // An element's text: that of all its descendant text nodes, joined. The
    // value of any other node.
    std::string text() const;
    // text() without the XML white space around it.
    std::string trimmedText() const;
    // text() without a copy where the content is one text node: a view of the
    // document's own text, valid while the document holds the file; otherwise
    // a view of `joined`, which receives the text.
    std::string_view textView(std::string& joined) const;
    bool hasChildNodes() const;
    // The first element reached by the path ("MODULE/NAME") from this node.
    MIBXNode select(std::string_view path) const;

    class Iterator {
    public:
        Iterator(pugi::xml_node_struct* node, bool leadingText) : node_(node), leadingText_(leadingText) {}
        MIBXNode operator*() const { return MIBXNode(node_, leadingText_); }
        Iterator& operator++();
        bool operator!=(const Iterator& other) const {
            return node_ != other.node_ || leadingText_ != other.leadingText_;
        }

    private:
        pugi::xml_node_struct* node_;
        bool leadingText_;
    };
    struct Children {
        pugi::xml_node_struct* first;
        bool firstIsLeadingText;
        Iterator begin() const { return Iterator(first, firstIsLeadingText); }
        Iterator end() const { return Iterator(nullptr, false); }
    };
    // Every child node in document order: elements, text, comments, PIs.
    Children children() const;

private:
    friend class MIBXDocument;
    explicit MIBXNode(pugi::xml_node_struct* node, bool leadingText = false)
        : node_(node), leadingText_(leadingText) {}

    pugi::xml_node_struct* node_ = nullptr;
    bool leadingText_ = false;  // the node is the leading text held by the element node_
};

// The text without the XML white space (blank, tab, CR, LF) that a writer's
// layout puts around a value.
std::string_view TrimXMLSpace(std::string_view text);

class MIBXDocument {
public:
    MIBXDocument();
    MIBXDocument(const MIBXDocument&) = delete;
    MIBXDocument& operator=(const MIBXDocument&) = delete;
    ~MIBXDocument();

    // Reads and parses a file, replacing what the document held. On failure the
    // document is empty and loadError() says why: the system's reason when the
    // file cannot be read, else the parser's with line and column.
    bool load(const std::string& path);
    const std::string& loadError() const { return error_; }

    // The first element reached by the path from the document node ("MIBX/TREE").
    MIBXNode select(std::string_view path) const;

private:
    // The file's bytes, parsed in place: the document's texts point into them.
    // The buffer is kept for the next file and is not zeroed before a read.
    struct Source {
        // Reads the whole file, growing the buffer as needed; false with the system's reason.
        bool read(const std::string& path, std::string& error);
        std::string_view view() const { return {bytes.get(), size}; }

        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        size_t capacity = 0;
    };

    std::unique_ptr<pugi::xml_document> doc_;
    Source source_;
    std::string error_;
};

}  // namespace qlmib
