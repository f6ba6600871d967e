#pragma once

// The text of a --files-from list in the encodings the tools that write such lists use: UTF-8
// with or without a byte-order mark (Notepad, PowerShell 7, every Linux tool), UTF-16 with one
// (PowerShell 5's `>`, Notepad's "UTF-16"), UTF-16 without one (`cmd /u`), and the console's code
// page (`dir /b /s > list.txt` in cmd). No file name holds a NUL character, so a list that holds
// NUL bytes is UTF-16; and text in a legacy code page is hardly ever valid UTF-8 once it holds a
// letter outside ASCII, so a list that is not is read in the code page.

#include <string>
#include <string_view>

namespace ambersel::cli {

enum class FileListEncoding {
    Utf8,               // no byte-order mark; valid UTF-8, of which ASCII is a part
    Utf8WithMark,       // EF BB BF
    Utf16LittleEndian,  // FF FE, or NUL bytes mostly at odd offsets
    Utf16BigEndian,     // FE FF, or NUL bytes mostly at even offsets
    LegacyCodePage,     // none of these
};

// How the bytes of a file list are encoded, told from the bytes alone.
FileListEncoding fileListEncoding(std::string_view bytes);

// The bytes of a file list as text in generalized UTF-8, the form the program takes file names
// in; the byte-order mark is dropped. Bytes in a legacy code page are read on Windows in the
// console's output code page, or in the OEM code page without a console (cp850 in a German cmd,
// cp437 in an American one); elsewhere they stay as they are, since there a file name is bytes.
// Half a UTF-16 unit at the end becomes U+FFFD.
std::string fileListText(std::string_view bytes);

}  // namespace ambersel::cli
