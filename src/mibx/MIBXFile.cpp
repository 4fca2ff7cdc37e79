#include "MIBXFile.h"

namespace qlmib {

bool MIBXFile::fail(std::string message) {
    message_ = std::move(message);
    return false;
}

bool MIBXFile::Load(const std::string& Filename) {
    filename_ = Filename;
    tree_ = {};
    message_.clear();
    if (document_.load(Filename)) return true;
    return fail("Could not load " + Filename + "\r\n" + document_.loadError());
}

bool MIBXFile::CheckVersion() {
    const auto tag = select("MIBX/VERSION");
    if (!tag) return fail(NotMIBXMessage(filename_));
    const auto version = tag.text();
    if (version == kMIBXVersion) return true;
    return fail(filename_ + " is '" + version +
                "' format. This version of the RAD-Ivazudar/Oriredu only supports MIB-X Version 1.0."
                " Please visit the Quellon web site for an update.");
}

bool MIBXFile::CheckModule() {
    const auto name = select("MIBX/MODULE/NAME");
    if (!name) return fail(NotMIBXMessage(filename_));
    moduleName_ = name.trimmedText();
    tree_ = select("MIBX/TREE");
    if (!tree_) return fail(NotMIBXMessage(filename_));
    return true;
}

bool MIBXFile::CheckTreeObject(MIBXNode object) {
    if (object.select("OID") && object.select("SYNTAX")) return true;
    return fail(filename_ + " is corrupt.");
}

bool MIBXFile::CheckCompiled() {
    return select("MIBX/COMPILED") ? true : fail(NotMIBXMessage(filename_));
}

std::string MIBXFile::NotMIBXMessage(std::string_view file) {
    return std::string(file) + " is not a Quellon MIBX file or is corrupt.";
}

std::string MIBXFile::NoOIDMessage(std::string_view descriptor) {
    return std::string(descriptor) + " has no OID.";
}

std::string MIBXFile::UnresolvedOIDMessage(std::string_view component, std::string_view value) {
    return "Cannot determine OID value for '" + std::string(component) + "' in { " + std::string(value) + " }.";
}

}  // namespace qlmib
