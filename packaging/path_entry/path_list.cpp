#include "packaging/path_entry/path_list.h"

#include <windows.h>

#include <vector>

namespace ambersel::packaging {
namespace {

std::vector<std::wstring_view> entriesOf(std::wstring_view path) {
    std::vector<std::wstring_view> entries;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find(L';', start);
        entries.push_back(path.substr(start, end - start));
        if (end == std::wstring_view::npos) {
            return entries;
        }
        start = end + 1;
    }
}

std::wstring_view bareFolder(std::wstring_view entry) {
    if (entry.size() >= 2 && entry.front() == L'"' && entry.back() == L'"') {
        entry = entry.substr(1, entry.size() - 2);
    }
    while (entry.size() > 1 && (entry.back() == L'\\' || entry.back() == L'/')) {
        entry.remove_suffix(1);
    }
    return entry;
}

bool namesFolder(std::wstring_view entry, std::wstring_view folder) {
    entry = bareFolder(entry);
    folder = bareFolder(folder);
    return !entry.empty() &&
           CompareStringOrdinal(entry.data(), static_cast<int>(entry.size()), folder.data(),
                                static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::optional<std::wstring> pathWithFolder(std::wstring_view path, std::wstring_view folder) {
    for (const std::wstring_view entry : entriesOf(path)) {
        if (namesFolder(entry, folder)) {
            return std::nullopt;
        }
    }
    std::wstring added(path);
    if (!added.empty() && added.back() != L';') {
        added += L';';
    }
    return added += folder;
}

std::optional<std::wstring> pathWithoutFolder(std::wstring_view path, std::wstring_view folder) {
    std::wstring kept;
    bool removed = false;
    bool first = true;
    for (const std::wstring_view entry : entriesOf(path)) {
        if (namesFolder(entry, folder)) {
            removed = true;
            continue;
        }
        if (!first) {
            kept += L';';
        }
        kept += entry;
        first = false;
    }
    return removed ? std::optional(kept) : std::nullopt;
}

}  // namespace ambersel::packaging
