// ambersel-eval.exe as Windows users run it: wildcards it expands itself, paths printed as typed,
// file lists as Windows tools write them, and text on a console in a code page that has none of
// its letters. Each run is a process of its own, in a fresh folder.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "tests/test_files.h"

namespace ambersel::testing {
namespace {

const std::filesystem::path kProgram = AMBERSEL_EVAL_PROGRAM;

// A list that passes, and one whose single point fails.
constexpr std::string_view kPassing = "150000,40\n";
constexpr std::string_view kFailing = "150000,136\n";

struct EvalRun {
    DWORD status = 99;
    std::string out;
    std::string err;
};

// A handle the started program inherits, closed when it goes.
class InheritedHandle {
  public:
    explicit InheritedHandle(HANDLE handle) : m_handle(handle) {}
    InheritedHandle(const InheritedHandle&) = delete;
    InheritedHandle& operator=(const InheritedHandle&) = delete;
    ~InheritedHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
        }
    }
    HANDLE get() const { return m_handle; }

  private:
    HANDLE m_handle;
};

SECURITY_ATTRIBUTES inheritable() {
    return SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
}

InheritedHandle fileHandle(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES attributes = inheritable();
    return InheritedHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &attributes, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Starts ambersel-eval.exe in `folder` with the command line's `arguments` as typed, its standard
// output and error going to `output` and `error`, and waits for its end.
DWORD runWith(const std::filesystem::path& folder, const std::wstring& arguments, HANDLE output,
              HANDLE error) {
    const InheritedHandle input = fileHandle(L"NUL", GENERIC_READ, OPEN_EXISTING);
    std::wstring commandLine = L"ambersel-eval.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(kProgram.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return 98;
    }
    CloseHandle(process.hThread);
    DWORD status = 97;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &status);
    } else {
        TerminateProcess(process.hProcess, 96);
    }
    CloseHandle(process.hProcess);
    return status;
}

// Runs the program with its output and error caught in files, as a script redirects them.
EvalRun run(const std::filesystem::path& folder, const std::wstring& arguments) {
    const TemporaryFolder io;
    EvalRun result;
    {
        const InheritedHandle output = fileHandle(io.path() / "out", GENERIC_WRITE, CREATE_ALWAYS);
        const InheritedHandle error = fileHandle(io.path() / "err", GENERIC_WRITE, CREATE_ALWAYS);
        result.status = runWith(folder, arguments, output.get(), error.get());
    }
    result.out = contentOf(io.path() / "out");
    result.err = contentOf(io.path() / "err");
    return result;
}

// The paths of the result lines, after their tabs.
std::vector<std::string> pathsOf(const std::string& lines) {
    std::vector<std::string> paths;
    for (std::size_t at = 0; at < lines.size();) {
        const std::size_t end = lines.find('\n', at);
        const std::size_t tab = lines.find('\t', at);
        if (tab < end) {
            paths.push_back(lines.substr(tab + 1, end - tab - 1));
        }
        at = end == std::string::npos ? lines.size() : end + 1;
    }
    return paths;
}

// A lot as a lab keeps it: lists in folders, other files beside them, one list hidden.
void writeLot(const TemporaryFolder& folder) {
    std::filesystem::create_directories(folder.path() / "lot");
    std::filesystem::create_directories(folder.path() / L"lots" / L"A");
    std::filesystem::create_directories(folder.path() / L"lots" / L"b");
    folder.write("lot/unit2.ASC", kPassing);
    folder.write("lot/Unit1.asc", kFailing);
    folder.write(L"lot/Pr\u00FCfung_\u03C9.ASC", kPassing);
    folder.write("lot/notes.txt", "not a list");
    const std::filesystem::path hidden = folder.write("lot/.hidden.ASC", kPassing);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    folder.write("lots/A/1.ASC", kPassing);
    folder.write("lots/b/1.ASC", kPassing);
    folder.write("lots/b/2.txt", kPassing);
}

TEST(Wildcards, AreExpandedInNameOrderWithTheFolderAsTyped) {
    // What would go wrong; the arguments as typed; the paths of the result lines.
    for (const auto& [what, arguments, expected] :
         std::initializer_list<std::tuple<const char*, std::wstring, std::vector<std::string>>>{
             {"not expanded, not in name order without regard to case, the folder's backslash "
              "doubled, or a hidden file or another extension taken",
              L"lot\\*.ASC",
              {"lot\\Pr\u00FCfung_\u03C9.ASC", "lot\\Unit1.asc", "lot\\unit2.ASC"}},
             {"letters beyond ASCII not matched without regard to case",
              L"lot\\PR\u00DC*\u03A9.* lots\\A\\1.ASC",
              {"lot\\Pr\u00FCfung_\u03C9.ASC", "lots\\A\\1.ASC"}},
             {"a wildcard in a folder not expanded",
              L"lots\\*\\?.ASC",
              {"lots\\A\\1.ASC", "lots\\b\\1.ASC"}},
             {"forward slashes not kept, or several patterns not each expanded in turn",
              L"lots/b/*.asc lot/unit?.ASC",
              {"lots/b/1.ASC", "lot/Unit1.asc", "lot/unit2.ASC"}},
             {"a path in quotes, a name in it and a list named twice not kept as given",
              L"\"lot\\unit2.ASC\" .\\lot\\unit2.ASC",
              {"lot\\unit2.ASC", ".\\lot\\unit2.ASC"}},
         }) {
        SCOPED_TRACE(what);
        const TemporaryFolder folder;
        writeLot(folder);
        const EvalRun result = run(folder.path(), arguments);
        EXPECT_EQ(pathsOf(result.out), expected) << result.out << result.err;
        EXPECT_EQ(result.err, "");
    }
}

TEST(Wildcards, ThatMatchNothingAreAnErrorForThemAlone) {
    // Standard error is text, its line ends CR LF, as every Windows program writes them.
    const std::string why = " (no file matches the pattern)\r\n";
    // What would go wrong; the arguments; standard output; standard error.
    for (const auto& [what, arguments, out, err] :
         std::initializer_list<std::tuple<const char*, std::wstring, std::string, std::string>>{
             {"a pattern that matches nothing taken as a name, or passed in silence", L"lot\\*.xyz",
              "", "Error in the input file: lot\\*.xyz" + why},
             {"the other lists not evaluated, or the pattern not named in its place",
              L"lot\\unit2.ASC nowhere\\*.ASC lot\\u*2.ASC",
              "PASS : F = 0.0000\tlot\\unit2.ASC\nERROR\tnowhere\\*.ASC\nPASS : F = "
              "0.0000\tlot\\unit2.ASC\n",
              "Error in the input file: nowhere\\*.ASC" + why},
             {"a missing file's path not as typed", L"lot\\missing.ASC lot\\unit2.ASC",
              "ERROR\tlot\\missing.ASC\nPASS : F = 0.0000\tlot\\unit2.ASC\n",
              "Error in the input file: lot\\missing.ASC (No such file or directory)\r\n"},
         }) {
        SCOPED_TRACE(what);
        const TemporaryFolder folder;
        writeLot(folder);
        const EvalRun result = run(folder.path(), arguments);
        EXPECT_EQ(result.status, 2U);
        EXPECT_EQ(result.out, out);
        EXPECT_EQ(result.err, err);
    }
}

TEST(Paths, ArePrintedAsTypedInTheSummaryAndInMessages) {
    const TemporaryFolder folder;
    writeLot(folder);
    const EvalRun summary = run(folder.path(), L"--summary lot\\Unit1.asc");
    EXPECT_NE(summary.out.find("  FAIL : F = "), std::string::npos) << summary.out;
    EXPECT_NE(summary.out.find("  lot\\Unit1.asc\n"), std::string::npos) << summary.out;
    const EvalRun table = run(folder.path(), L"--table nowhere\\lot.csv lot\\unit2.ASC");
    EXPECT_EQ(table.status, 2U);
    EXPECT_EQ(table.err.rfind("ambersel-eval: cannot write the table nowhere\\lot.csv (", 0), 0U)
        << table.err;
}

std::string utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const wchar_t unit : text) {
        const auto high = static_cast<char>(unit >> 8U);
        const auto low = static_cast<char>(unit & 0xFFU);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// `text` in the code page that cmd wrote a list in: the console's, or the OEM code page.
std::string inCmdCodePage(const std::wstring& text) {
    UINT page = GetConsoleOutputCP();
    page = page != 0 && page != CP_UTF8 ? page : GetOEMCP();
    std::string bytes(text.size() * 2, '\0');
    BOOL lost = FALSE;
    bytes.resize(WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr, &lost));
    EXPECT_FALSE(lost) << "code page " << page << " has no µ or ü";
    return bytes;
}

TEST(FileList, IsReadInEveryEncodingWindowsToolsWrite) {
    // µ and ü are in every OEM code page of Western Europe and America.
    const std::wstring lines = L"lot\\unit2.ASC\r\nPr\u00FCfung \u00B5.ASC\r\n";
    const std::string expected =
        "PASS : F = 0.0000\tlot\\unit2.ASC\nPASS : F = 0.0000\tPr\u00FCfung "
        "\u00B5.ASC\n";
    // What would go wrong; the bytes of the list.
    for (const auto& [what, bytes] : std::initializer_list<std::tuple<const char*, std::string>>{
             {"UTF-8 (PowerShell 7, Notepad) misread", "lot\\unit2.ASC\nPr\u00FCfung \u00B5.ASC\n"},
             {"the byte-order mark taken as part of the first name",
              "\xEF\xBB\xBFlot\\unit2.ASC\r\nPr\u00FCfung \u00B5.ASC\r\n"},
             {"PowerShell 5's UTF-16 misread", utf16(lines, false)},
             {"big-endian UTF-16 misread", utf16(lines, true)},
             {"cmd's dir /b > list.txt misread", inCmdCodePage(lines)},
         }) {
        SCOPED_TRACE(what);
        const TemporaryFolder folder;
        writeLot(folder);
        folder.write("lot/unit2.ASC", kPassing);
        folder.write(L"Pr\u00FCfung \u00B5.ASC", kPassing);
        folder.write("list.txt", bytes);
        const EvalRun result = run(folder.path(), L"--files-from list.txt");
        EXPECT_EQ(result.out, expected) << result.err;
        EXPECT_EQ(result.status, 0U);
    }
}

// A console screen buffer the program can write to, and what it shows.
class ScreenBuffer {
  public:
    ScreenBuffer() {
        SECURITY_ATTRIBUTES attributes = inheritable();
        m_handle = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                                             CONSOLE_TEXTMODE_BUFFER, nullptr);
    }
    ScreenBuffer(const ScreenBuffer&) = delete;
    ScreenBuffer& operator=(const ScreenBuffer&) = delete;
    ~ScreenBuffer() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
        }
    }
    HANDLE get() const { return m_handle; }

    // The first `count` rows, each without the blanks that fill it.
    std::vector<std::wstring> rows(SHORT count) const {
        CONSOLE_SCREEN_BUFFER_INFO information{};
        GetConsoleScreenBufferInfo(m_handle, &information);
        std::vector<std::wstring> shown;
        for (SHORT row = 0; row < count; ++row) {
            std::wstring text(static_cast<std::size_t>(information.dwSize.X), L' ');
            DWORD read = 0;
            ReadConsoleOutputCharacterW(m_handle, text.data(), static_cast<DWORD>(text.size()),
                                        COORD{0, row}, &read);
            text.resize(read);
            text.erase(text.find_last_not_of(L' ') + 1);
            shown.push_back(text);
        }
        return shown;
    }

  private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

TEST(Console, ShowsEveryLetterInAnyCodePageOnOutputAndError) {
    // Started without a console, the test makes one, keeping its own output where it goes.
    if (GetConsoleWindow() == nullptr) {
        const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
        const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
        FreeConsole();
        const bool made = AllocConsole();
        SetStdHandle(STD_OUTPUT_HANDLE, output);
        SetStdHandle(STD_ERROR_HANDLE, error);
        if (!made) {
            GTEST_SKIP() << "no console to be had";
        }
    }
    // A German cmd's code page, which has ü and µ but no Ω: a byte written to it would show
    // Ω as something else.
    const UINT formerPage = GetConsoleOutputCP();
    ASSERT_TRUE(SetConsoleOutputCP(850));
    const TemporaryFolder folder;
    folder.write(L"Pr\u00FCfung_\u03A9.ASC", kFailing);
    const ScreenBuffer output;
    const ScreenBuffer error;
    ASSERT_NE(output.get(), INVALID_HANDLE_VALUE);
    const DWORD status =
        runWith(folder.path(), L"--top 1 Pr\u00FCfung_\u03A9.ASC missing_\u00B5.ASC", output.get(),
                error.get());
    SetConsoleOutputCP(formerPage);
    EXPECT_EQ(status, 2U);
    // The console puts the tabs' stops eight columns apart.
    EXPECT_EQ(output.rows(4),
              (std::vector<std::wstring>{
                  L"FAIL : F = 1.4274       Pr\u00FCfung_\u03A9.ASC",
                  L"  margin -3.09 dB: every level must come down by 3.09 dB",
                  L"  1. point 1: 150000 Hz, 136 dB\u00B5V, term 1.42744, 100.00% of F",
                  L"ERROR   missing_\u00B5.ASC"}));
    EXPECT_EQ(
        error.rows(2),
        (std::vector<std::wstring>{
            L"Error in the input file: missing_\u00B5.ASC (No such file or directory)", L""}));
}

}  // namespace
}  // namespace ambersel::testing
