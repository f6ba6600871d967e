// The main dialog's template and icon as the resource compiler built them into the program: the
// dialog manager lays the dialog out from exactly these bytes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/ui/resource.h"

namespace ambersel::testing {
namespace {

struct ControlRow {
    const char* name;
    int id;
    WORD classAtom;  // 0x80 button, 0x81 edit, 0x82 static
    const wchar_t* text;
    std::vector<int> units;  // left, top, width, height in dialog units
    DWORD style;
};

// In tab order.
const ControlRow kControls[] = {
    {"Calculate", IDOK, 0x80, L"Calculate", {263, 48, 50, 16}, 0x50010001},
    {"Cancel", IDCANCEL, 0x80, L"Cancel", {7, 48, 50, 16}, 0x50010000},
    {"result_line", IDC_RESULT, 0x82, L"", {7, 33, 306, 8}, 0x50020001},
    {"File", IDC_BROWSE, 0x80, L"File", {9, 9, 50, 14}, 0x50010000},
    {"path_field", IDC_FILEPATH, 0x81, L"", {64, 9, 249, 14}, 0x50810880},
};

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
    // `count` 16-bit fields.
    std::vector<int> shorts(int count) {
        std::vector<int> values;
        while (count-- > 0) {
            values.push_back(read<short>());
        }
        return values;
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
    ResourceReader in(RT_DIALOG, IDD_TEST_DIALOG);
    EXPECT_EQ(in.read<WORD>(), 1);       // version
    EXPECT_EQ(in.read<WORD>(), 0xFFFF);  // an extended template
    in.read<DWORD>();                    // help context
    EXPECT_EQ(in.read<DWORD>(), 0x00040000U) << "extended style: a taskbar button";
    // Frame, caption, minimise and maximise buttons, no system menu (it brings a close button).
    EXPECT_EQ(in.read<DWORD>(), 0x90C300C8U) << "style";
    ASSERT_EQ(in.read<WORD>(), std::size(kControls));
    EXPECT_EQ(in.shorts(4), (std::vector<int>{0, 0, 320, 71}));
    EXPECT_EQ(in.nameOrOrdinal(), L"") << "menu";
    EXPECT_EQ(in.nameOrOrdinal(), L"") << "window class";
    EXPECT_EQ(in.nameOrOrdinal(), L"Ambersel Test Calculator (R&S file format)");
    EXPECT_EQ(in.read<WORD>(), 8) << "font size";
    EXPECT_EQ(in.read<WORD>(), 0) << "font weight";
    EXPECT_EQ(in.read<BYTE>(), 0) << "italic";
    EXPECT_EQ(in.read<BYTE>(), 1) << "character set";
    EXPECT_EQ(in.nameOrOrdinal(), L"MS Shell Dlg");

    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        in.alignTo(4);
        in.read<DWORD>();  // help context
        EXPECT_EQ(in.read<DWORD>(), 0U) << "extended style";
        EXPECT_EQ(in.read<DWORD>(), row.style) << "style";
        EXPECT_EQ(in.shorts(4), row.units);
        EXPECT_EQ(in.read<DWORD>(), static_cast<DWORD>(row.id));
        EXPECT_EQ(in.nameOrOrdinal(), L"#" + std::to_wstring(row.classAtom)) << "class";
        EXPECT_EQ(in.nameOrOrdinal(), row.text);
        in.skip(in.read<WORD>());  // creation data
    }
}

TEST(DialogTemplate, IconIsOne32By32ImageOf24BitsPerPixel) {
    ResourceReader group(RT_GROUP_ICON, IDR_MAINFRAME);
    group.read<WORD>();
    EXPECT_EQ(group.read<WORD>(), 1) << "an icon";
    ASSERT_EQ(group.read<WORD>(), 1) << "images";
    EXPECT_EQ(group.read<BYTE>(), 32);
    EXPECT_EQ(group.read<BYTE>(), 32);
    group.skip(4);  // colour count, reserved, planes
    EXPECT_EQ(group.read<WORD>(), 24) << "bits per pixel";
    group.read<DWORD>();

    ResourceReader image(RT_ICON, group.read<WORD>());
    EXPECT_EQ(image.read<DWORD>(), 40U) << "a bitmap, not a PNG";
    EXPECT_EQ(image.read<LONG>(), 32);
    EXPECT_EQ(image.read<LONG>(), 64) << "colour and mask";
    image.read<WORD>();
    EXPECT_EQ(image.read<WORD>(), 24);
}

}  // namespace
}  // namespace ambersel::testing
