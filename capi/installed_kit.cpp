#include "capi/installed_kit.h"

#if defined(_WIN32)
#include <windows.h>

#include <vector>
#else
#include <dlfcn.h>
#endif

namespace ambersel::capi {
namespace {

// Any address inside the library.
void kitAnchor() {}

std::optional<std::filesystem::path> libraryFile() {
#if defined(_WIN32)
    HMODULE module = nullptr;
    if (GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            // NOLINTNEXTLINE(performance-no-int-to-ptr): the API takes an address.
            reinterpret_cast<LPCWSTR>(&kitAnchor), &module) == 0) {
        return std::nullopt;
    }
    // A long path may need more than MAX_PATH units: grow until the name fits.
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return std::nullopt;
        }
        if (length < name.size()) {
            return std::filesystem::path(std::wstring(name.data(), length));
        }
        name.resize(name.size() * 2);
    }
#else
    Dl_info information{};
    if (dladdr(reinterpret_cast<void*>(&kitAnchor), &information) == 0 ||
        information.dli_fname == nullptr) {
        return std::nullopt;
    }
    return std::filesystem::path(information.dli_fname);
#endif
}

}  // namespace

std::optional<std::filesystem::path> installedKitFolder() {
    const std::optional<std::filesystem::path> library = libraryFile();
    if (!library) {
        return std::nullopt;
    }
    return (library->parent_path() / AMBERSEL_KIT_FROM_LIBRARY).lexically_normal();
}

}  // namespace ambersel::capi
