#include "win32/framework/file_dialog.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace ambersel::win32 {
namespace {

// Room for the longest path the platform knows, so that no choice fails for want of it.
constexpr std::size_t kFileNameCapacity = 32768;

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const wchar_t* defaultExtension,
                         const wchar_t* fileName, DWORD flags, const wchar_t* filter)
    : m_fileName(kFileNameCapacity, L'\0'), m_open(openFileDialog != FALSE) {
    if (filter != nullptr) {
        // "Name|pattern||" becomes "Name\0pattern\0\0".
        m_filter = filter;
        std::replace(m_filter.begin(), m_filter.end(), L'|', L'\0');
    }
    if (defaultExtension != nullptr) {
        m_defaultExtension = defaultExtension;
    }
    if (fileName != nullptr) {
        const std::wstring name = fileName;
        std::copy_n(name.begin(), std::min(name.size(), m_fileName.size() - 1), m_fileName.begin());
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = GetActiveWindow();
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size());
    if (m_open ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn)) {
        return IDOK;
    }
    const DWORD error = CommDlgExtendedError();
    if (error != 0) {
        std::array<char, 64> text{};
        std::snprintf(text.data(), text.size(), "the file dialog failed (error 0x%04lX)",
                      static_cast<unsigned long>(error));
        throw std::runtime_error(text.data());
    }
    return IDCANCEL;
}

std::wstring CFileDialog::GetPathName() const {
    return m_fileName.data();
}

}  // namespace ambersel::win32
