#include "internal/ModuleReader.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>

#include <qlmib/compiler/MibxWriter.h>

#include "internal/SmiTypes.h"

namespace qlmib::compiler {
namespace {

const char* accessText(SmiNode* node) {
    constexpr SmiNodekind withAccess = SMI_NODEKIND_SCALAR | SMI_NODEKIND_TABLE | SMI_NODEKIND_ROW | SMI_NODEKIND_COLUMN;
    if (!(node->nodekind & withAccess)) return "";
    switch (node->access) {
    case SMI_ACCESS_NOT_ACCESSIBLE: return "not-accessible";
    case SMI_ACCESS_NOTIFY: return "accessible-for-notify";
    case SMI_ACCESS_READ_ONLY: return "read-only";
    case SMI_ACCESS_READ_WRITE: {
        // libsmi reads read-create as read-write and only marks the row as
        // creatable; the writable columns of such a row are its read-create ones.
        SmiNode* row = node->nodekind == SMI_NODEKIND_COLUMN ? smiGetParentNode(node) : nullptr;
        return row && row->create ? "read-create" : "read-write";
    }
    case SMI_ACCESS_NOT_IMPLEMENTED: return "not-implemented";
    default: return "";
    }
}

const char* statusText(SmiStatus status) {
    switch (status) {
    case SMI_STATUS_CURRENT: return "current";
    case SMI_STATUS_DEPRECATED: return "deprecated";
    case SMI_STATUS_MANDATORY: return "mandatory";
    case SMI_STATUS_OPTIONAL: return "optional";
    case SMI_STATUS_OBSOLETE: return "obsolete";
    default: return "";
    }
}

// Reads the module's file once, and only when a type has to be taken from it.
class SourceText {
public:
    explicit SourceText(const std::filesystem::path& file) : file_(file) {}
    const std::string& text() {
        if (!text_) {
            std::ifstream in(file_, std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            text_ = content.str();
        }
        return *text_;
    }

private:
    std::filesystem::path file_;
    std::optional<std::string> text_;
};

std::string syntaxText(SmiNode* node, SmiLanguage language, SourceText& source) {
    switch (node->nodekind) {
    case SMI_NODEKIND_TABLE: return "SEQUENCE";
    case SMI_NODEKIND_ROW: {
        // libsmi keeps no name for a row's SEQUENCE type; by convention it is
        // the row's descriptor with a capital, which is also how readers
        // recognise a row.
        std::string name = node->name;
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        return name;
    }
    case SMI_NODEKIND_NOTIFICATION: return "TRAP";
    case SMI_NODEKIND_SCALAR:
    case SMI_NODEKIND_COLUMN: {
        std::string name = SyntaxName(smiGetNodeType(node), language);
        // A type imported from a module that is missing is unknown to libsmi;
        // the object keeps the name its definition gives.
        return name.empty() ? SyntaxNameAt(source.text(), smiGetNodeLine(node)) : name;
    }
    default: return "";
    }
}

std::string oidText(const SmiNode* node) {
    std::string oid;
    for (unsigned i = 0; i < node->oidlen; ++i) {
        if (i) oid += '.';
        oid += std::to_string(node->oid[i]);
    }
    return oid;
}

std::string lastUpdated(SmiModule* module) {
    std::optional<std::time_t> newest;
    for (SmiRevision* r = smiGetFirstRevision(module); r; r = smiGetNextRevision(r)) {
        if (!newest || r->date > *newest) newest = r->date;
    }
    return newest ? DateTimeText(*newest) : "";
}

std::vector<std::string> importedModules(SmiModule* module, const ScannedModule* scanned) {
    std::vector<std::string> names;
    const auto add = [&](const std::string& name) {
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    };
    if (scanned) {
        for (const auto& [source, descriptors] : scanned->imports) add(source);
    } else {
        for (SmiImport* i = smiGetFirstImport(module); i; i = smiGetNextImport(i)) add(i->module ? i->module : "");
    }
    return names;
}

// A name libsmi met in an OID but found no definition for (an unknown
// parent, a name from a missing import, a trap's unknown ENTERPRISE) gets a
// made-up arc; the first such name above `node`, null when its OID is whole.
// libsmi's own roots (iso, ...) are declared nowhere either, but belong to
// no module.
const char* unknownAncestor(SmiNode* node) {
    for (SmiNode* n = node; n; n = smiGetParentNode(n)) {
        if (n->decl != SMI_DECL_UNKNOWN || !n->name) continue;
        const SmiModule* module = smiGetNodeModule(n);
        if (module && module->name && *module->name) return n->name;
    }
    return nullptr;
}

struct Placed {
    std::vector<SmiSubid> arcs;
    MibObject object;
};

}  // namespace

ReadResult ReadModule(SmiModule* module, const std::filesystem::path& file, const ScannedModule* scanned) {
    ReadResult result;
    CompiledModule& out = result.module;
    out.name = module->name;
    out.file = file.string();
    out.description = module->description ? module->description : "";
    out.contact = module->contactinfo ? module->contactinfo : "";
    out.organization = module->organization ? module->organization : "";
    out.lastUpdated = lastUpdated(module);
    out.imports = importedModules(module, scanned);

    SourceText source(file);
    std::vector<Placed> placed;
    for (SmiNode* node = smiGetFirstNode(module, SMI_NODEKIND_ANY); node;
         node = smiGetNextNode(node, SMI_NODEKIND_ANY)) {
        if (!node->name || node->oidlen == 0) continue;
        if (const char* unknown = unknownAncestor(node)) {
            // The unknown name itself is only a reference, not an object of the module.
            if (node->decl != SMI_DECL_UNKNOWN) result.unresolved.push_back({node->name, unknown});
            continue;
        }
        if (!IsMibxElementName(node->name)) {
            result.skipped.push_back(std::string(node->name) + " (object " + oidText(node) + ")");
            continue;
        }
        MibObject object{node->name, oidText(node), syntaxText(node, module->language, source), accessText(node),
                         statusText(node->status), node->description ? node->description : "", {}};
        for (auto& number : NamedNumbers(smiGetNodeType(node))) {
            if (IsMibxElementName(number.label)) {
                object.enums.push_back(std::move(number));
            } else {
                result.skipped.push_back(number.label + " (named number of " + object.name + ")");
            }
        }
        placed.push_back({{node->oid, node->oid + node->oidlen}, std::move(object)});
    }
    // Lexical order of the arcs puts every parent before its children.
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.arcs < b.arcs; });
    for (auto& p : placed) out.objects.push_back(std::move(p.object));

    for (SmiType* type = smiGetFirstType(module); type; type = smiGetNextType(type)) {
        if (type->name) out.textualConventions.push_back(TypeEntry(type));
    }
    return result;
}

}  // namespace qlmib::compiler
