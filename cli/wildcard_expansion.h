#pragma once

// File arguments with wildcards, expanded by the program itself as Windows programs do: no
// Windows shell expands them. A Windows file name cannot hold * or ?, so an argument that holds
// either is always a pattern and never a name.
//
// `*` stands for any run of characters, `?` for exactly one; a pattern that ends in ".*" also
// takes the name without that ending, so "*.*" is every file, as on Windows. Names compare without
// regard to case, as the file system compares them. A wildcard may stand in any folder of the
// path, not only in the file name ("lots\*\*.ASC"); the drive, a share ("\\server\share\") and a
// "\\?\" prefix are taken as they are. The last part of a pattern matches files, the parts before
// it folders; hidden and system entries (desktop.ini, Thumbs.db) match neither, as with cmd's
// `for`. The matches come in name order, compared as the file system compares names (upper case,
// then code unit by code unit: the order an NTFS folder lists and `dir` shows), folder by folder;
// the text before the first wildcard stays as typed.

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace ambersel::cli {

// One entry of a folder as a listing gives it.
struct FolderEntry {
    std::u16string name;
    bool isFolder = false;
    bool isHidden = false;  // hidden or a system file
};

// The file system as an expansion sees it.
class FolderView {
  public:
    virtual ~FolderView() = default;
    // The entries of `folder`, a path as typed that is empty (the current folder), ends in a
    // separator or is a drive ("C:"); nothing when it cannot be listed.
    virtual std::optional<std::vector<FolderEntry>> entries(std::u16string_view folder) const = 0;
    // `name` in the upper case in which the file system compares names, unit for unit.
    virtual std::u16string upperCase(std::u16string_view name) const = 0;
};

// The paths that `pattern`, an argument in generalized UTF-8, stands for, in name order; empty
// when nothing matches. An argument without a wildcard stands for itself.
std::vector<std::string> expandedPattern(const std::string& pattern, const FolderView& folders);

// The arguments with each pattern replaced by its matches. On Windows, a pattern that matches
// nothing stays as it is, for the list job to refuse it (unmatchedPattern()); elsewhere the
// shell has expanded them already, and every argument stays as it is.
std::vector<std::string> expandedArguments(std::vector<std::string> arguments);

// Why `argument` names no list before any file is opened: on Windows, a pattern that matched
// nothing (any match replaced it), "no file matches the pattern"; no error otherwise, and never on
// other systems, where * and ? are characters of file names like any other.
std::error_code unmatchedPattern(std::string_view argument);

}  // namespace ambersel::cli
