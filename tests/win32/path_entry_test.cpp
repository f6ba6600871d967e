// The installer's PATH edits: the folder goes on once, comes off wherever and however it was
// written, and every other entry stays exactly as it was.

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "packaging/path_entry/path_list.h"

namespace ambersel::packaging {
namespace {

const std::wstring kFolder = L"C:\\Program Files\\Ambersel Test Calculator\\bin";

struct Row {
    const char* whatWouldGoWrong;
    std::wstring path;
    std::optional<std::wstring> expected;  // nothing: PATH must stay untouched
};

TEST(PathWithFolder, AppendsTheFolderOnceAndKeepsEverythingElse) {
    for (const Row& row : std::initializer_list<Row>{
             {"an empty PATH gets a leading separator", L"", kFolder},
             {"the folder is not appended as the last entry",
              L"%SystemRoot%\\system32;%SystemRoot%",
              L"%SystemRoot%\\system32;%SystemRoot%;" + kFolder},
             {"a trailing separator doubles", L"C:\\Tools;", L"C:\\Tools;" + kFolder},
             {"an entry written in other letter case is added again",
              L"C:\\PROGRAM FILES\\ambersel test calculator\\BIN;C:\\Tools", std::nullopt},
             {"an entry with a trailing backslash is added again", L"C:\\Tools;" + kFolder + L"\\",
              std::nullopt},
             {"a quoted entry is added again", L"\"" + kFolder + L"\";C:\\Tools", std::nullopt},
             {"a longer folder that starts like it counts as the folder",
              L"C:\\Program Files\\Ambersel Test Calculator\\bin2",
              L"C:\\Program Files\\Ambersel Test Calculator\\bin2;" + kFolder},
             {"a PATH longer than an installer's strings is cut",
              std::wstring(5000, L'x') + L";C:\\Tools",
              std::wstring(5000, L'x') + L";C:\\Tools;" + kFolder},
         }) {
        SCOPED_TRACE(row.whatWouldGoWrong);
        EXPECT_EQ(pathWithFolder(row.path, kFolder), row.expected);
    }
}

TEST(PathWithoutFolder, TakesOutEveryEntryOfTheFolderAndNothingElse) {
    for (const Row& row : std::initializer_list<Row>{
             {"the last entry is not found", L"C:\\Tools;" + kFolder, L"C:\\Tools"},
             {"the first entry leaves a leading separator", kFolder + L";C:\\Tools", L"C:\\Tools"},
             {"an entry in the middle takes a neighbour with it", L"A;" + kFolder + L";B", L"A;B"},
             {"the only entry leaves something behind", kFolder, L""},
             {"an entry in other letter case, with a backslash, is left",
              L"A;c:\\program files\\ambersel test calculator\\bin\\;B", L"A;B"},
             {"a second copy is left", kFolder + L";A;" + kFolder, L"A"},
             {"a folder that only starts like it is taken", L"A;" + kFolder + L"2;B", std::nullopt},
             {"empty entries and variables of others are tidied away",
              L"%SystemRoot%;;" + kFolder + L";B;", L"%SystemRoot%;;B;"},
             {"a PATH without the folder is written anyway", L"A;B", std::nullopt},
         }) {
        SCOPED_TRACE(row.whatWouldGoWrong);
        EXPECT_EQ(pathWithoutFolder(row.path, kFolder), row.expected);
    }
}

}  // namespace
}  // namespace ambersel::packaging
