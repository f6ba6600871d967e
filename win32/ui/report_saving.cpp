#include "win32/ui/report_saving.h"

#include <filesystem>
#include <system_error>

#include "report/record_document.h"
#include "report/report_file.h"
#include "text/unicode_text.h"

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
    return ambersel::report::writeReportFile(std::filesystem::path(target),
                                             ambersel::report::reportDocument(heading, {record}),
                                             heading, {});
}
