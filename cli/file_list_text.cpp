#include "cli/file_list_text.h"

#include <cstddef>

#include "text/unicode_text.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace ambersel::cli {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kLittleEndianMark = "\xFF\xFE";
constexpr std::string_view kBigEndianMark = "\xFE\xFF";

bool isUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = decodeGeneralizedUtf8(bytes, at).length;
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units.push_back(
            static_cast<char16_t>(bigEndian ? (first << 8U) | second : (second << 8U) | first));
    }
    if (bytes.size() % 2 != 0) {
        units.push_back(u'\uFFFD');
    }
    return generalizedUtf8FromUtf16(units);
}

#if defined(_WIN32)

// What cmd wrote the list in: the console's code page, which `chcp` may have changed from the OEM
// code page; the OEM code page when there is no console to ask. A console set to UTF-8 wrote no
// list that is not UTF-8.
UINT legacyCodePage() {
    const UINT console = GetConsoleOutputCP();
    return console != 0 && console != CP_UTF8 ? console : GetOEMCP();
}

std::string fromLegacyCodePage(std::string_view bytes) {
    const UINT page = legacyCodePage();
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, wide.data(), length);
    return generalizedUtf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

#else

std::string fromLegacyCodePage(std::string_view bytes) {
    return std::string(bytes);
}

#endif

}  // namespace

FileListEncoding fileListEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) {
        return FileListEncoding::Utf8WithMark;
    }
    if (bytes.starts_with(kLittleEndianMark)) {
        return FileListEncoding::Utf16LittleEndian;
    }
    if (bytes.starts_with(kBigEndianMark)) {
        return FileListEncoding::Utf16BigEndian;
    }
    std::size_t nulsAtEven = 0;
    std::size_t nulsAtOdd = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\0') {
            ++(at % 2 == 0 ? nulsAtEven : nulsAtOdd);
        }
    }
    if (nulsAtEven + nulsAtOdd > 0) {
        return nulsAtOdd >= nulsAtEven ? FileListEncoding::Utf16LittleEndian
                                       : FileListEncoding::Utf16BigEndian;
    }
    return isUtf8(bytes) ? FileListEncoding::Utf8 : FileListEncoding::LegacyCodePage;
}

std::string fileListText(std::string_view bytes) {
    switch (fileListEncoding(bytes)) {
        case FileListEncoding::Utf8:
            return std::string(bytes);
        case FileListEncoding::Utf8WithMark:
            return std::string(bytes.substr(kUtf8Mark.size()));
        case FileListEncoding::Utf16LittleEndian:
            return fromUtf16(bytes.starts_with(kLittleEndianMark) ? bytes.substr(2) : bytes, false);
        case FileListEncoding::Utf16BigEndian:
            return fromUtf16(bytes.starts_with(kBigEndianMark) ? bytes.substr(2) : bytes, true);
        case FileListEncoding::LegacyCodePage:
            break;
    }
    return fromLegacyCodePage(bytes);
}

}  // namespace ambersel::cli
