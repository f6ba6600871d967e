#pragma once

// Where the validation kit installed with the library lies: found from the library's own file, so
// that an installed tree can be moved as a whole (a ZIP unpacked anywhere, another prefix).

#include <filesystem>
#include <optional>

namespace ambersel::capi {

// The kit's folder, or nothing when the library cannot tell where its own file is.
std::optional<std::filesystem::path> installedKitFolder();

}  // namespace ambersel::capi
