#include "SettingsFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "qlmib/common/Error.h"

namespace qlmib::snmp::internal {
namespace {

std::string errnoText() { return std::strerror(errno); }

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, const std::string& why) {
    throw Error(ERR_FILE, what + " " + path.string() + ": " + why);
}

class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (it can report a
    // delayed write error).
    bool reset() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string envText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool mustEscape(unsigned char c, std::string_view extra) {
    return c < 0x20 || c == 0x7f || c == '%' || extra.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string encode(std::string_view text, std::string_view extra) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (mustEscape(c, extra)) {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// Names never hold a raw '=', and never start a line the way a header or a
// comment does.
constexpr std::string_view kNameSpecials = "=[];#";
constexpr std::string_view kGroupSpecials = "[]";

std::string headerLine(std::string_view group) { return "[" + encode(group, kGroupSpecials) + "]"; }

std::string entryLine(std::string_view name, std::string_view value) {
    return encode(name, kNameSpecials) + "=" + encode(value, {});
}

// $HOME, else the home folder of the user's account; never a relative path,
// which would put the settings wherever the program happens to run.
std::filesystem::path homeFolder() {
    if (auto home = envText("HOME"); !home.empty() && home.front() == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{}, *found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    throw Error(ERR_FILE, "No home folder for the settings file: set HOME or QLMIB_CONFIG_HOME");
}

}  // namespace

std::filesystem::path ConfigFolder() {
    if (auto own = envText("QLMIB_CONFIG_HOME"); !own.empty()) return own;
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    if (auto xdg = envText("XDG_CONFIG_HOME"); !xdg.empty() && xdg.front() == '/')
        return std::filesystem::path(xdg) / "qlmibtree";
    return homeFolder() / ".config" / "qlmibtree";
}

std::optional<std::string> SettingsFile::Snapshot::find(std::string_view group, std::string_view name) const {
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        if (it->entry && it->group == group && it->name == name) return it->value;
    return std::nullopt;
}

std::vector<std::string> SettingsFile::Snapshot::groups() const {
    std::vector<std::string> names;
    for (const auto& line : lines_)
        if (line.entry && (names.empty() || names.back() != line.group) &&
            std::find(names.begin(), names.end(), line.group) == names.end())
            names.push_back(line.group);
    return names;
}

SettingsFile::SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

SettingsFile::Snapshot SettingsFile::load() const {
    UniqueFd file(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT) return {};
        fail("Cannot read the settings file", path_, errnoText());
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("Cannot read the settings file", path_, errnoText());
        if (n == 0) break;
        content.append(buffer, static_cast<size_t>(n));
    }
    return parse(content);
}

SettingsFile::Snapshot SettingsFile::parse(const std::string& content) const {
    Snapshot snapshot;
    std::string group;
    bool inGroup = false;
    size_t start = 0;
    for (int number = 1; start < content.size(); ++number) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string_view line(content.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        Snapshot::Line parsed;
        parsed.text = line;
        parsed.group = group;
        std::optional<std::string> name, value;
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            // a blank or a comment: kept as it is
        } else if (line.front() == '[' && line.back() == ']' && line.size() >= 2 &&
                   (value = decode(line.substr(1, line.size() - 2)))) {
            group = parsed.group = *value;
            parsed.header = inGroup = true;
        } else if (const auto eq = line.find('='); inGroup && eq != std::string_view::npos &&
                                                   (name = decode(line.substr(0, eq))) &&
                                                   (value = decode(line.substr(eq + 1)))) {
            parsed.name = std::move(*name);
            parsed.value = std::move(*value);
            parsed.entry = true;
        } else {
            throw Error(ERR_FILE, "The settings file " + path_.string() + " is damaged at line " +
                                      std::to_string(number) + "; correct or remove that line");
        }
        snapshot.lines_.push_back(std::move(parsed));
    }
    return snapshot;
}

void SettingsFile::write(std::string_view group, std::string_view name, std::string_view value) const {
    rewrite([&](std::vector<Snapshot::Line>& lines) {
        Snapshot::Line entry{entryLine(name, value), std::string(group), std::string(name), std::string(value), true};
        auto target = lines.end();
        auto lastOfGroup = lines.end();
        for (auto it = lines.begin(); it != lines.end(); ++it) {
            if (it->group != group || !(it->entry || it->header)) continue;
            lastOfGroup = it;
            if (it->entry && it->name == name) target = it;
        }
        if (target != lines.end()) {
            *target = std::move(entry);
        } else if (lastOfGroup != lines.end()) {
            lines.insert(lastOfGroup + 1, std::move(entry));
        } else {
            if (!lines.empty() && !lines.back().text.empty()) lines.push_back({});
            lines.push_back({headerLine(group), std::string(group), {}, {}, false, true});
            lines.push_back(std::move(entry));
        }
    });
}

void SettingsFile::replaceGroup(std::string_view group, const Entries& entries) const {
    rewrite([&](std::vector<Snapshot::Line>& lines) {
        std::erase_if(lines, [&](const Snapshot::Line& line) {
            return line.group == group && (line.entry || line.header);
        });
        if (entries.empty()) return;
        if (!lines.empty() && !lines.back().text.empty()) lines.push_back({});
        lines.push_back({headerLine(group), std::string(group), {}, {}, false, true});
        for (const auto& [name, value] : entries)
            lines.push_back({entryLine(name, value), std::string(group), name, value, true});
    });
}

void SettingsFile::rewrite(const std::function<void(std::vector<Snapshot::Line>&)>& change) const {
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    if (ec) fail("Cannot create the settings folder for", path_, ec.message());

    const std::string lockPath = path_.string() + ".lock";
    UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.get() < 0) fail("Cannot lock the settings file", path_, errnoText());
    while (::flock(lock.get(), LOCK_EX) != 0)
        if (errno != EINTR) fail("Cannot lock the settings file", path_, errnoText());

    // Re-read under the lock so that a value another process stored since
    // our last read survives.
    Snapshot snapshot = load();
    auto& lines = snapshot.lines_;
    change(lines);
    std::string content;
    for (const auto& line : lines) content.append(line.text).append("\n");

    std::string tempPath = path_.string() + ".XXXXXX";
    UniqueFd temp(::mkostemp(tempPath.data(), O_CLOEXEC));
    if (temp.get() < 0) fail("Cannot write the settings file", path_, errnoText());
    bool renamed = false;
    struct RemoveUnlessRenamed {
        const std::string& path;
        const bool& renamed;
        ~RemoveUnlessRenamed() {
            if (!renamed) ::unlink(path.c_str());
        }
    } cleanup{tempPath, renamed};

    for (size_t done = 0; done < content.size();) {
        const ssize_t n = ::write(temp.get(), content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("Cannot write the settings file", path_, errnoText());
        done += static_cast<size_t>(n);
    }
    // The data must be on disk before the rename makes it the file, or a
    // crash could leave an empty file behind the new name.
    if (::fsync(temp.get()) != 0 || !temp.reset()) fail("Cannot write the settings file", path_, errnoText());
    if (::rename(tempPath.c_str(), path_.c_str()) != 0) fail("Cannot replace the settings file", path_, errnoText());
    renamed = true;
    UniqueFd folder(::open(path_.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
}

}  // namespace qlmib::snmp::internal
