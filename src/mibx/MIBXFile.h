#pragma once
// A MIB-X file as its readers check it, step by step in the order they check
// it, with the messages with which they reject it. The importer makes every
// check; the MIB-X tree makes Load, CheckModule and CheckTreeObject only.
// A failed check returns false and leaves its report in Message().

#include <string>
#include <string_view>

#include "qlmib/mibx/MIBXDocument.h"

namespace qlmib {

// The only format tag the readers accept.
inline constexpr std::string_view kMIBXVersion = "Quellon.Net MIB-X 1.0";

class MIBXFile {
public:
    // Reads and parses the file, replacing the one held before.
    bool Load(const std::string& Filename);
    // MIBX/VERSION is there and holds exactly kMIBXVersion.
    bool CheckVersion();
    // MIBX/MODULE/NAME and MIBX/TREE are there; getModuleName() and getTree() then hold them.
    // The module name stays that of the last file checked when a later one fails to load.
    bool CheckModule();
    // An object the tree can show: it has both OID and SYNTAX.
    bool CheckTreeObject(MIBXNode object);
    // MIBX/COMPILED is there.
    bool CheckCompiled();

    const std::string& getFilename() const { return filename_; }
    const std::string& getModuleName() const { return moduleName_; }
    MIBXNode getTree() const { return tree_; }
    const std::string& Message() const { return message_; }

    MIBXNode select(std::string_view path) const { return document_.select(path); }

    static std::string NotMIBXMessage(std::string_view file);
    static std::string NoOIDMessage(std::string_view descriptor);
    static std::string UnresolvedOIDMessage(std::string_view component, std::string_view value);

private:
    bool fail(std::string message);

    MIBXDocument document_;
    std::string filename_;
    std::string moduleName_;
    MIBXNode tree_;
    std::string message_;
};

}  // namespace qlmib
