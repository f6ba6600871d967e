#pragma once

// Windows only: paths as the system's file functions take them whatever their length.

#include <filesystem>
#include <string>

namespace ambersel {

// `path` as CreateFileW, MoveFileExW and the C runtime's wide functions take it. Without the
// program opting in to long paths, they refuse a full path of MAX_PATH (260) characters or more
// unless it is in its "\\?\" form ("\\?\UNC\server\share\..." for a network path), so such a path
// is given in that form, made full and with its "." and ".." resolved as the system would. A
// shorter path, and one already in "\\?\" or device ("\\.\") form, is returned as it is.
std::wstring extendedLengthPath(const std::filesystem::path& path);

}  // namespace ambersel
