// The command line's text as Windows users meet it, checked on every system: wildcards expanded
// over a folder tree of the test's making, file lists in the encodings Windows tools write, text
// on its way to a console, and paths as printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/console_output.h"
#include "cli/file_list.h"
#include "cli/file_list_text.h"
#include "cli/wildcard_expansion.h"
#include "text/byte_text.h"
#include "text/unicode_text.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace ambersel::cli {
namespace {

// Folders held in memory, by their paths with backslashes for separators, with their entries. Upper
// case for ASCII and a few letters beyond it, enough to tell a case-blind match from a byte match.
class FakeFolders final : public FolderView {
  public:
    FakeFolders(
        std::initializer_list<std::pair<const std::u16string, std::vector<FolderEntry>>> folders)
        : m_folders(folders) {}

    std::optional<std::vector<FolderEntry>> entries(std::u16string_view folder) const override {
        std::u16string path(folder);
        std::replace(path.begin(), path.end(), u'/', u'\\');
        const auto found = m_folders.find(path);
        if (found == m_folders.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    std::u16string upperCase(std::u16string_view name) const override {
        std::u16string upper(name);
        for (char16_t& unit : upper) {
            if ((unit >= u'a' && unit <= u'z') || unit == u'\u00FC' || unit == u'\u03C9') {
                unit = static_cast<char16_t>(unit == u'\u03C9' ? u'\u03A9' : unit - 0x20);
            }
        }
        return upper;
    }

  private:
    std::map<std::u16string, std::vector<FolderEntry>> m_folders;
};

FolderEntry file(std::u16string name) {
    return {std::move(name), false, false};
}
FolderEntry folder(std::u16string name) {
    return {std::move(name), true, false};
}

TEST(WildcardExpansion, GivesTheMatchesInNameOrder) {
    const FakeFolders folders{
        {u"",
         {folder(u"."),
          folder(u".."),
          file(u"b.ASC"),
          file(u"C.ASC"),
          file(u"a.ASC"),
          file(u"_x.ASC"),
          file(u"notes.txt"),
          file(u"unit.ASCX"),
          folder(u"lot.ASC"),
          file(u"unit"),
          file(u"a.b.ASC"),
          {u"Thumbs.ASC", false, true}}},
        {u"lot\\",
         {file(u"unit2.ASC"), file(u"Unit1.asc"), file(u"unit12.ASC"), file(u"unit.ASC"),
          file(u"Pr\u00FCfung_\u03C9.ASC"), file(u"u\U0001F600.ASC")}},
        {u"lots\\", {folder(u"b"), folder(u"A"), file(u"x.ASC"), folder(u"empty")}},
        {u"lots\\A\\", {file(u"2.ASC"), file(u"1.ASC")}},
        {u"lots\\b\\", {file(u"1.ASC"), folder(u"raw")}},
        {u"lots\\b\\raw\\", {file(u"1.ASC")}},
        {u"lots\\empty\\", {}},
        {u"C:", {file(u"u.ASC")}},
        {u"\\\\?\\C:\\lot\\", {file(u"u.ASC")}},
        {u"\\\\server\\share\\", {file(u"u.ASC")}},
    };
    // What would go wrong; the argument; what it must stand for.
    for (const auto& [what, argument, expected] :
         std::initializer_list<std::tuple<const char*, std::string, std::vector<std::string>>>{
             {"not ordered without regard to case, or by lower instead of upper case (a letter "
              "sorts before _), or folders, the extension's 8.3 look-alike, hidden files taken",
              "*.ASC",
              {"a.ASC", "a.b.ASC", "b.ASC", "C.ASC", "_x.ASC"}},
             {"the folder not kept as typed, or the name's case not kept",
              "lot\\*.ASC",
              {"lot\\Pr\u00FCfung_\u03C9.ASC", "lot\\unit.ASC", "lot\\Unit1.asc", "lot\\unit12.ASC",
               "lot\\unit2.ASC", "lot\\u\xF0\x9F\x98\x80.ASC"}},
             {"? taking none or two characters, or half of a surrogate pair",
              "lot\\u????.asc",
              {"lot\\Unit1.asc", "lot\\unit2.ASC"}},
             {"? not taking a character beyond the basic plane whole",
              "lot\\u?.ASC",
              {"lot\\u\xF0\x9F\x98\x80.ASC"}},
             {"a match that needs a star to give back what it took",
              "lot\\*u*t*.ASC",
              {"lot\\unit.ASC", "lot\\Unit1.asc", "lot\\unit12.ASC", "lot\\unit2.ASC"}},
             {"letters beyond ASCII compared by their bytes",
              "lot\\PR\u00DC*\u03A9.asc",
              {"lot\\Pr\u00FCfung_\u03C9.ASC"}},
             {"forward slashes not kept as typed", "lot/unit1.*", {"lot/Unit1.asc"}},
             {"a folder wildcard not expanded, or not depth first in name order, or files taken "
              "as folders",
              "lots\\*\\*.ASC",
              {"lots\\A\\1.ASC", "lots\\A\\2.ASC", "lots\\b\\1.ASC"}},
             {"a literal name after a folder wildcard not looked for",
              "lots\\*\\raw\\1.ASC",
              {"lots\\b\\raw\\1.ASC"}},
             {"unit.* (and so *.*) not taking the name without an extension",
              "unit.*",
              {"unit", "unit.ASCX"}},
             {"a drive without a separator not listed as the drive's folder",
              "C:*.ASC",
              {"C:u.ASC"}},
             {"the ? of \\\\?\\ taken for a wildcard",
              "\\\\?\\C:\\lot\\*.ASC",
              {"\\\\?\\C:\\lot\\u.ASC"}},
             {"a share listed as a folder of its server",
              "\\\\server\\share\\*.ASC",
              {"\\\\server\\share\\u.ASC"}},
             {"a name without wildcards looked for", "missing.ASC", {"missing.ASC"}},
             {"nothing matching yet something given", "*.xyz", {}},
             {"a folder that is not there yet something given", "nowhere\\*.ASC", {}},
             {"an empty folder yet something given", "lots\\empty\\*", {}},
         }) {
        SCOPED_TRACE(what);
        EXPECT_EQ(expandedPattern(argument, folders), expected);
    }
}

TEST(WildcardExpansion, LeavesArgumentsToTheShellOutsideWindows) {
    const std::vector<std::string> arguments{"-", "lot/*.ASC", "unit?.ASC"};
#if defined(_WIN32)
    EXPECT_EQ(unmatchedPattern("surely\\none*.ASC").message(), "no file matches the pattern");
    EXPECT_FALSE(unmatchedPattern("\\\\?\\C:\\unit.ASC"));
#else
    EXPECT_EQ(expandedArguments(arguments), arguments);
    EXPECT_FALSE(unmatchedPattern("lot/*.ASC"));
#endif
}

// "Prüfung Ω.ASC" and "C:\lab\µ.ASC", and the bytes of those lines as each tool writes them.
const std::vector<std::string> kListedNames{"Pr\u00FCfung \u03A9.ASC", "C:\\lab\\\u00B5.ASC"};

std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8U);
        const auto low = static_cast<char>(unit & 0xFFU);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(FileListText, ReadsWhatWindowsToolsWrite) {
    const std::u16string lines = u"Pr\u00FCfung \u03A9.ASC\r\nC:\\lab\\\u00B5.ASC\r\n";
    // What would go wrong; the bytes; the encoding they must be taken for.
    for (const auto& [what, bytes, encoding] :
         std::initializer_list<std::tuple<const char*, std::string, FileListEncoding>>{
             {"UTF-8 with LF line ends misread", "Pr\u00FCfung \u03A9.ASC\nC:\\lab\\\u00B5.ASC",
              FileListEncoding::Utf8},
             {"the mark kept as part of the first name",
              "\xEF\xBB\xBFPr\u00FCfung \u03A9.ASC\r\nC:\\lab\\\u00B5.ASC\r\n",
              FileListEncoding::Utf8WithMark},
             {"PowerShell 5's UTF-16 taken as bytes", "\xFF\xFE" + utf16(lines, false),
              FileListEncoding::Utf16LittleEndian},
             {"big-endian UTF-16 read with its bytes swapped", "\xFE\xFF" + utf16(lines, true),
              FileListEncoding::Utf16BigEndian},
             {"cmd /u's UTF-16 without a mark taken as names with NULs", utf16(lines, false),
              FileListEncoding::Utf16LittleEndian},
         }) {
        SCOPED_TRACE(what);
        EXPECT_EQ(fileListEncoding(bytes), encoding);
        EXPECT_EQ(pathsOfFileList(fileListText(bytes)), kListedNames);
    }
}

TEST(FileListText, KeepsEveryCharacterOfUtf16) {
    // What would go wrong; the UTF-16 text; the names it must give.
    for (const auto& [what, bytes, expected] :
         std::initializer_list<std::tuple<const char*, std::string, std::vector<std::string>>>{
             {"a pair of surrogates not joined into one character",
              "\xFF\xFE" + utf16(u"\U0001F600.ASC", false),
              {"\xF0\x9F\x98\x80.ASC"}},
             {"an unpaired surrogate, valid in a Windows name, lost",
              "\xFF\xFE" + utf16(u"\xD800.ASC", false),
              {"\xED\xA0\x80.ASC"}},
             {"half a unit at the end dropped unseen",
              "\xFF\xFE" + utf16(u"a.ASC", false) + "x",
              {"a.ASC\uFFFD"}},
         }) {
        SCOPED_TRACE(what);
        EXPECT_EQ(pathsOfFileList(fileListText(bytes)), expected);
    }
}

TEST(FileListText, ReadsTextThatIsNoUtf8InTheCodePageOnWindowsOnly) {
    // "Prüfung.ASC" as cmd writes it in code page 850 or 437: ü is 0x81.
    const std::string legacy =
        "Pr\x81"
        "fung.ASC\r\n";
    EXPECT_EQ(fileListEncoding(legacy), FileListEncoding::LegacyCodePage);
    EXPECT_EQ(fileListEncoding("unit\xE2\x82.ASC"), FileListEncoding::LegacyCodePage);
#if defined(_WIN32)
    UINT page = GetConsoleOutputCP();
    page = page != 0 && page != CP_UTF8 ? page : GetOEMCP();
    wchar_t expected[16] = {};
    const int length = MultiByteToWideChar(page, 0, legacy.data(), 11, expected, 16);
    const std::u16string name(expected, expected + length);
    EXPECT_EQ(pathsOfFileList(fileListText(legacy)),
              std::vector<std::string>{ambersel::generalizedUtf8FromUtf16(name)});
#else
    EXPECT_EQ(pathsOfFileList(fileListText(legacy)), std::vector<std::string>{"Pr\x81"
                                                                              "fung.ASC"});
#endif
}

// What a console would show: everything a WideTextBuffer handed over, one piece after another.
struct ConsoleRecord {
    std::u16string text;
    std::size_t pieces = 0;
};

TEST(WideTextBuffer, HandsOverWholeCharactersInUtf16) {
    const std::string filler(4095, 'a');
    // What would go wrong; the writes, each followed by a flush unless it is empty; the text.
    for (const auto& [what, writes, expected] :
         std::initializer_list<std::tuple<const char*, std::vector<std::string>, std::u16string>>{
             {"µ, ü and Ω shown as their UTF-8 bytes",
              {"dB\u00B5V Pr\u00FC \u03A9\n"},
              u"dB\u00B5V Pr\u00FC \u03A9\n"},
             {"a character cut between two flushes shown as two wrong ones",
              {"\xCE", "\xA9", "\xF0\x9F", "\x98\x80"},
              u"\u03A9\U0001F600"},
             {"a character cut by the full buffer shown as two wrong ones",
              {filler + "\xCE\xA9"},
              std::u16string(4095, u'a') + u"\u03A9"},
             {"a byte that starts no character ending the text",
              {"a\xFF"
               "b\xC3(\n"},
              u"a\uFFFD"
              u"b\uFFFD(\n"},
             {"a character cut by the end dropped unseen", {"ok\xE2\x82"}, u"ok\uFFFD"},
             {"an unpaired surrogate of a file name lost", {"\xED\xA0\x80"}, u"\xD800"},
         }) {
        SCOPED_TRACE(what);
        ConsoleRecord record;
        {
            WideTextBuffer buffer([&record](std::u16string_view text) {
                record.text += text;
                ++record.pieces;
                return true;
            });
            std::ostream out(&buffer);
            for (const std::string& piece : writes) {
                out << piece << std::flush;
            }
        }
        EXPECT_EQ(record.text, expected);
    }
}

TEST(WideTextBuffer, FailsTheStreamWhenTheConsoleRefuses) {
    WideTextBuffer buffer([](std::u16string_view /*text*/) { return false; });
    std::ostream out(&buffer);
    out << "PASS : F = 0.1210\n" << std::flush;
    EXPECT_TRUE(out.bad());
}

TEST(PrintedPath, EscapesWhatCouldBreakALineAndBackslashesWhereNamesMayHoldThem) {
    // What would go wrong; the path; as Linux prints it; as Windows prints it.
    for (const auto& [what, path, linux, windows] :
         std::initializer_list<std::tuple<const char*, std::string, std::string, std::string>>{
             {"a Windows path printed with doubled separators", "C:\\lab\\unit1.ASC",
              "C:\\\\lab\\\\unit1.ASC", "C:\\lab\\unit1.ASC"},
             {"a line end or an escape sequence let through", "a\nb\x1b[2J\x7f.ASC",
              "a\\x0ab\\x1b[2J\\x7f.ASC", "a\\x0ab\\x1b[2J\\x7f.ASC"},
             {"letters beyond ASCII escaped", "Pr\u00FCfung.ASC", "Pr\u00FCfung.ASC",
              "Pr\u00FCfung.ASC"},
         }) {
        SCOPED_TRACE(what);
#if defined(_WIN32)
        EXPECT_EQ(printedPath(path), windows);
#else
        EXPECT_EQ(printedPath(path), linux);
#endif
    }
}

}  // namespace
}  // namespace ambersel::cli
