#include "cli/wildcard_expansion.h"

#include <algorithm>
#include <cstddef>

#include "text/unicode_text.h"

#if defined(_WIN32)
#include <windows.h>

#include "files/windows_path.h"
#endif

namespace ambersel::cli {
namespace {

constexpr bool isSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

constexpr bool isWildcard(char16_t unit) {
    return unit == u'*' || unit == u'?';
}

bool holdsWildcard(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), isWildcard);
}

// The length of the first component of `path` and the separator after it, if any.
std::size_t componentWithSeparator(std::u16string_view path) {
    std::size_t length = 0;
    while (length < path.size() && !isSeparator(path[length])) {
        ++length;
    }
    return length < path.size() ? length + 1 : length;
}

bool isDrive(std::u16string_view path) {
    const char16_t letter = path.size() >= 2 ? path[0] : u'\0';
    return ((letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z')) &&
           path[1] == u':';
}

// The units of `path` that name where it starts rather than a folder in it: a drive ("C:" or
// "C:\"), a share ("\\server\share\"), a "\\?\" or "\\.\" prefix with the drive, share or device
// after it, or the root of the current drive ("\"). No wildcard in them is expanded: the "?" of
// "\\?\" is none, and shares and drives are not listed.
std::size_t rootLength(std::u16string_view path) {
    const auto shareLength = [](std::u16string_view rest) {
        const std::size_t server = componentWithSeparator(rest);
        return server + componentWithSeparator(rest.substr(server));
    };
    if (path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) &&
        (path[2] == u'?' || path[2] == u'.') && isSeparator(path[3])) {
        const std::u16string_view rest = path.substr(4);
        if (rest.size() >= 4 && (rest.substr(0, 3) == u"UNC" || rest.substr(0, 3) == u"unc") &&
            isSeparator(rest[3])) {
            return 8 + shareLength(rest.substr(4));
        }
        return 4 + (isDrive(rest) ? 2 + (rest.size() > 2 && isSeparator(rest[2]) ? 1 : 0)
                                  : componentWithSeparator(rest));
    }
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        return 2 + shareLength(path.substr(2));
    }
    if (isDrive(path)) {
        return 2 + (path.size() > 2 && isSeparator(path[2]) ? 1 : 0);
    }
    return !path.empty() && isSeparator(path[0]) ? 1 : 0;
}

// The code point that starts at `at` and the units it takes: a surrogate pair is one character.
std::size_t characterLength(std::u16string_view text, std::size_t at) {
    const bool pair = text[at] >= 0xD800 && text[at] <= 0xDBFF && at + 1 < text.size() &&
                      text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

// Whether `name` matches `pattern`, both in the upper case the file system compares in. A star
// that fails to match is retried one character further on from the last star only: earlier stars
// need no retry, so this takes at most pattern length times name length steps.
bool matchesUpperCase(std::u16string_view pattern, std::u16string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::u16string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = ++p;
            resumeAt = n;
        } else if (p < pattern.size() && pattern[p] == u'?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt;
            resumeAt += characterLength(name, resumeAt);
            n = resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

bool nameMatches(std::u16string_view pattern, std::u16string_view name) {
    if (matchesUpperCase(pattern, name)) {
        return true;
    }
    // "unit.*" takes "unit", and so "*.*" takes every name, with or without an extension.
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
           name.find(u'.') == std::u16string_view::npos &&
           matchesUpperCase(pattern.substr(0, pattern.size() - 2), name);
}

// The pattern's parts after the text that stays as typed, each with the separator that follows it.
struct PatternPart {
    std::u16string text;
    std::u16string separator;
};

class Expansion {
  public:
    Expansion(const FolderView& folders, std::vector<PatternPart> parts)
        : m_folders(folders), m_parts(std::move(parts)) {}

    void expand(const std::u16string& folder, std::size_t part) {
        const PatternPart& here = m_parts[part];
        const bool last = part + 1 == m_parts.size();
        // "." and "..", and the empty part of a doubled or final separator, go through as typed.
        if (!last && (here.text.empty() || here.text == u"." || here.text == u"..")) {
            expand(folder + here.text + here.separator, part + 1);
            return;
        }
        if (last && here.text.empty()) {
            m_matches.push_back(generalizedUtf8FromUtf16(folder));
            return;
        }
        const std::optional<std::vector<FolderEntry>> entries = m_folders.entries(folder);
        if (!entries) {
            return;
        }
        const std::u16string pattern = m_folders.upperCase(here.text);
        std::vector<std::pair<std::u16string, const FolderEntry*>> found;
        for (const FolderEntry& entry : *entries) {
            if (entry.isHidden || entry.isFolder == last || entry.name == u"." ||
                entry.name == u"..") {
                continue;
            }
            std::u16string key = m_folders.upperCase(entry.name);
            if (nameMatches(pattern, key)) {
                found.emplace_back(std::move(key), &entry);
            }
        }
        std::sort(found.begin(), found.end(), [](const auto& left, const auto& right) {
            return left.first != right.first ? left.first < right.first
                                             : left.second->name < right.second->name;
        });
        for (const auto& [key, entry] : found) {
            if (last) {
                m_matches.push_back(generalizedUtf8FromUtf16(folder + entry->name));
            } else {
                expand(folder + entry->name + here.separator, part + 1);
            }
        }
    }

    std::vector<std::string> takeMatches() && { return std::move(m_matches); }

  private:
    const FolderView& m_folders;
    std::vector<PatternPart> m_parts;
    std::vector<std::string> m_matches;
};

}  // namespace

std::vector<std::string> expandedPattern(const std::string& pattern, const FolderView& folders) {
    const std::optional<std::u16string> units = utf16FromGeneralizedUtf8(pattern);
    if (!units) {
        return {pattern};
    }
    const std::u16string_view path = *units;
    const std::size_t root = rootLength(path);
    if (!holdsWildcard(path.substr(root))) {
        return {pattern};
    }
    // Up to the folder that holds the first wildcard, the path stays as typed.
    std::size_t typed = root;
    std::vector<PatternPart> parts;
    for (std::size_t at = root; at <= path.size();) {
        const std::size_t length = componentWithSeparator(path.substr(at));
        std::u16string_view part = path.substr(at, length);
        std::u16string_view separator;
        if (!part.empty() && isSeparator(part.back())) {
            separator = part.substr(part.size() - 1);
            part.remove_suffix(1);
        }
        if (parts.empty() && !holdsWildcard(part)) {
            typed = at + length;
        } else {
            parts.push_back({std::u16string(part), std::u16string(separator)});
        }
        if (separator.empty()) {
            break;
        }
        at += length;
    }
    Expansion expansion(folders, std::move(parts));
    expansion.expand(std::u16string(path.substr(0, typed)), 0);
    return std::move(expansion).takeMatches();
}

#if defined(_WIN32)
namespace {

// The folders as Windows lists them.
class SystemFolders final : public FolderView {
  public:
    std::optional<std::vector<FolderEntry>> entries(std::u16string_view folder) const override {
        const std::wstring search =
            extendedLengthPath(std::wstring(folder.begin(), folder.end()) + L"*");
        WIN32_FIND_DATAW found{};
        // Long names only: the short 8.3 names would let "*.ASC" take "unit.ASCX".
        const HANDLE listing =
            FindFirstFileExW(search.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                             nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (listing == INVALID_HANDLE_VALUE) {
            return std::nullopt;
        }
        std::vector<FolderEntry> listed;
        do {
            const std::wstring_view name = found.cFileName;
            listed.push_back(
                {std::u16string(name.begin(), name.end()),
                 (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                 (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0});
        } while (FindNextFileW(listing, &found));
        FindClose(listing);
        return listed;
    }

    std::u16string upperCase(std::u16string_view name) const override {
        std::wstring wide(name.begin(), name.end());
        if (!wide.empty()) {
            // Simple case mapping, one unit for one, as NTFS compares names: no locale's rules.
            LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(),
                          static_cast<int>(wide.size()), wide.data(), static_cast<int>(wide.size()),
                          nullptr, nullptr, 0);
        }
        return std::u16string(wide.begin(), wide.end());
    }
};

bool isUnexpandedPattern(std::string_view argument) {
    const std::optional<std::u16string> units = utf16FromGeneralizedUtf8(argument);
    return units && holdsWildcard(std::u16string_view(*units).substr(rootLength(*units)));
}

}  // namespace

std::vector<std::string> expandedArguments(std::vector<std::string> arguments) {
    const SystemFolders folders;
    std::vector<std::string> expanded;
    expanded.reserve(arguments.size());
    for (std::string& argument : arguments) {
        std::vector<std::string> matches = expandedPattern(argument, folders);
        if (matches.empty()) {
            expanded.push_back(std::move(argument));
        } else {
            expanded.insert(expanded.end(), std::make_move_iterator(matches.begin()),
                            std::make_move_iterator(matches.end()));
        }
    }
    return expanded;
}

std::error_code unmatchedPattern(std::string_view argument) {
    class UnmatchedPattern final : public std::error_category {
      public:
        const char* name() const noexcept override { return "wildcard"; }
        std::string message(int /*value*/) const override { return "no file matches the pattern"; }
    };
    static const UnmatchedPattern category;
    return isUnexpandedPattern(argument) ? std::error_code(1, category) : std::error_code();
}

#else

std::vector<std::string> expandedArguments(std::vector<std::string> arguments) {
    return arguments;
}

std::error_code unmatchedPattern(std::string_view /*argument*/) {
    return {};
}

#endif

}  // namespace ambersel::cli
