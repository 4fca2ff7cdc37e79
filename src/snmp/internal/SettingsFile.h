#pragma once
// The per-user settings file: texts addressed by (group, name), where a group
// is an application name and a section. Readers see a whole file, never a
// torn one; writers serialise on a lock file, re-read, and replace the file
// by renaming a complete copy over it, so concurrent writers lose nothing.
//
// Format: lines "[group]" and "name=value" under them, '#' or ';' comments.
// Characters that would break a line are written as %XX; nothing is trimmed.
// A file that does not parse is reported and never rewritten.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlmib::snmp::internal {

// $QLMIB_CONFIG_HOME, else $XDG_CONFIG_HOME/qlmibtree, else ~/.config/qlmibtree
// (~ from $HOME, else the account's home folder). Throws Error(ERR_FILE) when
// there is no absolute home folder.
std::filesystem::path ConfigFolder();

class SettingsFile {
public:
    // One parsed copy of the file.
    class Snapshot {
    public:
        std::optional<std::string> find(std::string_view group, std::string_view name) const;
        // Every group that holds an entry, in file order.
        std::vector<std::string> groups() const;

    private:
        friend class SettingsFile;
        struct Line {
            std::string text;   // as written in the file
            std::string group;  // group the line belongs to
            std::string name;   // "" unless the line is an entry
            std::string value;
            bool entry = false;
            bool header = false;
        };
        std::vector<Line> lines_;
    };

    explicit SettingsFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // Throws Error(ERR_FILE) when the file cannot be read or does not parse.
    Snapshot load() const;
    // Stores one value. Throws Error(ERR_FILE) and leaves the file as it was
    // when it cannot be read, parsed or replaced.
    void write(std::string_view group, std::string_view name, std::string_view value) const;
    // Replaces every entry of `group` by `entries` in one replacement of the
    // file; no entries removes the group. Errors as write.
    using Entries = std::vector<std::pair<std::string, std::string>>;
    void replaceGroup(std::string_view group, const Entries& entries) const;

private:
    Snapshot parse(const std::string& content) const;
    // Locks, re-reads, applies `change` and replaces the file (mode 0600).
    void rewrite(const std::function<void(std::vector<Snapshot::Line>&)>& change) const;

    std::filesystem::path path_;
};

}  // namespace qlmib::snmp::internal
