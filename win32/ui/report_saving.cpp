#include "win32/ui/report_saving.h"

#include <shlobj.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "report/record_document.h"
#include "report/report_file.h"
#include "report/report_format.h"
#include "text/unicode_text.h"

namespace {

// The user's Documents folder, or nothing where there is none.
std::optional<std::filesystem::path> documentsFolder() {
    PWSTR found = nullptr;
    const HRESULT result =
        SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &found);
    // The path is the caller's to free, even when the call failed.
    const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owned(found, &CoTaskMemFree);
    if (FAILED(result) || found == nullptr) {
        return std::nullopt;
    }
    return std::filesystem::path(found);
}

}  // namespace

std::wstring proposedReportPath(const std::string& listName) {
    const std::u16string list = ambersel::utf16FromGeneralizedUtf8(listName).value_or(u"");
    const std::filesystem::path name = ambersel::report::proposedReportName(
        std::wstring(list.begin(), list.end()), ambersel::report::ReportFormat::Html);
    std::error_code failure;
    const std::optional<std::filesystem::path> folder = documentsFolder();
    if (!folder || !std::filesystem::is_directory(*folder, failure)) {
        return name.wstring();
    }
    return (*folder / name).wstring();
}

std::optional<std::string> saveHtmlReport(const std::wstring& target,
                                          const ambersel::report::ReportHeading& heading,
                                          const ambersel::report::ListRecord& record) {
    return ambersel::report::writeReportFile(std::filesystem::path(target),
                                             ambersel::report::reportDocument(heading, {record}),
                                             heading, {});
}
