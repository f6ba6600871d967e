#include "win32/ui/report_saving.h"

#include <windows.h>

#include <string_view>

#include "evaluation/unicode_text.h"
#include "report/html_report.h"

namespace {

// Why the last Win32 call failed, in the system's words.
std::string systemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

std::wstring reportNameFor(const std::string& listName) {
    const std::u16string path = ambersel::utf16FromGeneralizedUtf8(listName).value_or(u"report");
    std::wstring name(path.begin(), path.end());
    name.erase(0, name.find_last_of(L"\\/:") + 1);
    if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) {
        name.resize(dot);
    }
    return (name.empty() ? L"report" : name) + L".html";
}

std::optional<std::string> saveHtmlReport(const std::wstring& target,
                                          const ambersel::report::ReportHeading& heading,
                                          const ambersel::report::ListRecord& record) {
    const std::string html = ambersel::report::reportHtml(heading, {record});
    // Written beside the target and moved over it, so that a failure leaves the target whole.
    const std::wstring partial = target + L".partial";
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return systemMessage(GetLastError());
    }
    DWORD written = 0;
    const bool whole =
        WriteFile(file, html.data(), static_cast<DWORD>(html.size()), &written, nullptr) &&
        written == html.size() && FlushFileBuffers(file);
    const DWORD writeError = GetLastError();
    CloseHandle(file);
    if (!whole || !MoveFileExW(partial.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = whole ? GetLastError() : writeError;
        DeleteFileW(partial.c_str());
        return systemMessage(error);
    }
    return std::nullopt;
}
