#include "files/windows_path.h"

#include <windows.h>

namespace ambersel {

std::wstring extendedLengthPath(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    const DWORD length = GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    if (length < MAX_PATH) {
        return native;
    }
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(native.c_str(), length, full.data(), nullptr));
    if (full.rfind(LR"(\\?\)", 0) == 0 || full.rfind(LR"(\\.\)", 0) == 0) {
        return full;
    }
    if (full.rfind(LR"(\\)", 0) == 0) {
        return LR"(\\?\UNC\)" + full.substr(2);
    }
    return LR"(\\?\)" + full;
}

}  // namespace ambersel
