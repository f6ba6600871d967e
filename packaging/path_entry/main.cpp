// path-entry.exe, run by the installer and its uninstaller, never installed itself:
//
//   path-entry.exe add|remove machine|user FOLDER
//
// adds FOLDER to the PATH of the machine or of the user running it, or takes it out again, in the
// registry, and tells running programs that the environment changed. It reads and writes the
// whole value however long it is, keeps its type (a PATH with %SystemRoot% stays expandable), and
// writes nothing when there is nothing to change. Status 0 done, 1 failed (reason on standard
// error), 2 wrong arguments.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "packaging/path_entry/path_list.h"

namespace {

constexpr wchar_t kMachineKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr wchar_t kUserKey[] = L"Environment";

struct PathValue {
    std::wstring text;
    DWORD type = REG_EXPAND_SZ;
};

int failed(const wchar_t* what, LSTATUS status) {
    std::fwprintf(stderr, L"path-entry: %ls (error %ld)\n", what, static_cast<long>(status));
    return 1;
}

// The value as stored; an absent value is an empty PATH.
std::optional<PathValue> readPath(HKEY key, LSTATUS& status) {
    PathValue value;
    DWORD bytes = 0;
    status = RegQueryValueExW(key, L"Path", nullptr, &value.type, nullptr, &bytes);
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) {
            status = ERROR_INVALID_DATA;
            return std::nullopt;
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD room = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, L"Path", nullptr, &value.type,
                                  reinterpret_cast<BYTE*>(text.data()), &room);
        if (status == ERROR_SUCCESS) {
            // Stored with its terminator or without.
            text.resize(room / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0') {
                text.pop_back();
            }
            value.text = std::move(text);
            return value;
        }
        // It grew meanwhile: `room` holds its new size.
        bytes = room;
    }
    if (status == ERROR_FILE_NOT_FOUND) {
        return PathValue{};
    }
    return std::nullopt;
}

int run(std::wstring_view action, std::wstring_view scope, const std::wstring& folder) {
    const bool machine = scope == L"machine";
    HKEY key = nullptr;
    LSTATUS status =
        RegOpenKeyExW(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      machine ? kMachineKey : kUserKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS) {
        return failed(L"cannot open the environment's registry key", status);
    }
    const std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> open(key,
                                                                                    &RegCloseKey);
    const std::optional<PathValue> path = readPath(key, status);
    if (!path) {
        return failed(L"cannot read PATH", status);
    }
    const std::optional<std::wstring> changed =
        action == L"add" ? ambersel::packaging::pathWithFolder(path->text, folder)
                         : ambersel::packaging::pathWithoutFolder(path->text, folder);
    if (!changed) {
        return 0;
    }
    status =
        RegSetValueExW(key, L"Path", 0, path->type, reinterpret_cast<const BYTE*>(changed->c_str()),
                       static_cast<DWORD>((changed->size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
        return failed(L"cannot write PATH", status);
    }
    // Explorer, and what it starts from now on, take the new PATH; programs that do not answer
    // within five seconds are not waited for.
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>(L"Environment"), SMTO_ABORTIFHUNG, 5000, nullptr);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const auto is = [&](int index, std::wstring_view a, std::wstring_view b) {
        return std::wstring_view(argv[index]) == a || std::wstring_view(argv[index]) == b;
    };
    if (argc != 4 || !is(1, L"add", L"remove") || !is(2, L"machine", L"user") ||
        argv[3][0] == L'\0') {
        std::fputws(L"usage: path-entry add|remove machine|user FOLDER\n", stderr);
        return 2;
    }
    return run(argv[1], argv[2], argv[3]);
}
