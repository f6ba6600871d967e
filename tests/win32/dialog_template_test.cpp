// The main dialog's template and icon as the resource compiler built them into the program: the
// dialog manager lays the dialog out from exactly these bytes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "win32/ui/resource.h"

namespace ambersel::testing {
namespace {

using Fields = std::vector<std::int64_t>;

// Reads the fields of the program's German resource `id` in order, each at its natural alignment.
class ResourceReader {
  public:
    ResourceReader(LPCWSTR type, int id) {
        const HMODULE module = GetModuleHandleW(nullptr);
        const HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id),
                                            MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
        if (found == nullptr) {
            throw std::runtime_error("no German resource " + std::to_string(id));
        }
        m_bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
        m_size = SizeofResource(module, found);
    }

    template <typename T>
    T read() {
        T value{};
        if (m_offset + sizeof(T) > m_size) {
            throw std::runtime_error("the resource ends early");
        }
        std::memcpy(&value, m_bytes + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }
    // The next fields, of these types, in order.
    template <typename... T>
    Fields fields() {
        return {static_cast<std::int64_t>(read<T>())...};
    }
    // A name or number field: an ordinal comes back as "#number", nothing as "".
    std::wstring nameOrOrdinal() {
        const auto first = read<WORD>();
        if (first == 0xFFFF) {
            return L"#" + std::to_wstring(read<WORD>());
        }
        std::wstring text;
        for (WORD unit = first; unit != 0; unit = read<WORD>()) {
            text.push_back(static_cast<wchar_t>(unit));
        }
        return text;
    }
    void alignTo(std::size_t bytes) { m_offset = (m_offset + bytes - 1) / bytes * bytes; }
    void skip(std::size_t bytes) { m_offset += bytes; }

  private:
    const std::uint8_t* m_bytes = nullptr;
    DWORD m_size = 0;
    std::size_t m_offset = 0;
};

TEST(DialogTemplate, IsTheExtendedTemplateOfTheLayout) {
    // In tab order: name, class (0x80 button, 0x81 edit, 0x82 static), text, and the fields
    // extended style, style, left, top, width and height in dialog units, id.
    const std::tuple<const char*, int, const wchar_t*, Fields> controls[] = {
        {"Calculate", 0x80, L"Calculate", {0, 0x50010001, 263, 48, 50, 16, IDOK}},
        {"Cancel", 0x80, L"Cancel", {0, 0x50010000, 7, 48, 50, 16, IDCANCEL}},
        {"result line", 0x82, L"", {0, 0x50020001, 7, 33, 306, 8, IDC_RESULT}},
        {"File", 0x80, L"File", {0, 0x50010000, 9, 9, 50, 14, IDC_BROWSE}},
        {"path field", 0x81, L"", {0, 0x50810880, 64, 9, 249, 14, IDC_FILEPATH}},
    };
    ResourceReader in(RT_DIALOG, IDD_TEST_DIALOG);
    // Version 1 of the extended template (0xFFFF); after the help context, the extended style (a
    // taskbar button) and the style: frame, caption, minimise and maximise buttons, no system menu
    // (it brings a close button); the number of controls; place and size.
    EXPECT_EQ((in.fields<WORD, WORD>()), (Fields{1, 0xFFFF}));
    in.skip(4);
    EXPECT_EQ((in.fields<DWORD, DWORD, WORD, short, short, short, short>()),
              (Fields{0x00040000, 0x90C300C8, std::size(controls), 0, 0, 320, 71}));
    EXPECT_EQ((std::vector{in.nameOrOrdinal(), in.nameOrOrdinal(), in.nameOrOrdinal()}),
              (std::vector<std::wstring>{L"", L"", L"Ambersel Test Calculator (R&S file format)"}))
        << "menu, window class, caption";
    EXPECT_EQ((in.fields<WORD, WORD, BYTE, BYTE>()), (Fields{8, 0, 0, 1}))
        << "font size, weight, italic, character set";
    EXPECT_EQ(in.nameOrOrdinal(), L"MS Shell Dlg");

    for (const auto& [name, classAtom, text, fields] : controls) {
        SCOPED_TRACE(name);
        in.alignTo(4);
        in.skip(4);  // help context
        EXPECT_EQ((in.fields<DWORD, DWORD, short, short, short, short, DWORD>()), fields);
        EXPECT_EQ(in.nameOrOrdinal(), L"#" + std::to_wstring(classAtom)) << "class";
        EXPECT_EQ(in.nameOrOrdinal(), text);
        in.skip(in.read<WORD>());  // creation data
    }
}

TEST(DialogTemplate, IconIsOne32By32ImageOf24BitsPerPixel) {
    ResourceReader group(RT_GROUP_ICON, IDR_MAINFRAME);
    // Reserved, an icon, one image of 32 by 32; after colour count, reserved and planes, the bits
    // per pixel.
    EXPECT_EQ((group.fields<WORD, WORD, WORD, BYTE, BYTE>()), (Fields{0, 1, 1, 32, 32}));
    group.skip(4);
    EXPECT_EQ(group.read<WORD>(), 24);
    group.skip(4);  // size
    ResourceReader image(RT_ICON, group.read<WORD>());
    // A bitmap, not a PNG: its header's size, width, height of colour and mask, planes, bits.
    EXPECT_EQ((image.fields<DWORD, LONG, LONG, WORD, WORD>()), (Fields{40, 32, 64, 1, 24}));
}

}  // namespace
}  // namespace ambersel::testing
