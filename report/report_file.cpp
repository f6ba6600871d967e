#include "report/report_file.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include "report/html_report.h"
#include "report/pdf_report.h"

namespace ambersel::report {
namespace {

QString qtPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace

std::optional<std::string> writeReport(const std::filesystem::path& target, ReportFormat format,
                                       const ReportHeading& heading,
                                       const std::vector<ListRecord>& records) {
    // Written beside the target and renamed over it at the end, so that no reader ever sees half
    // a report and a failure leaves the old one in place.
    QSaveFile file(qtPath(target));
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString().toStdString();
    }
    const std::string text =
        format == ReportFormat::Html ? reportHtml(heading, records) : pdfReport(heading, records);
    const bool written = file.write(text.data(), static_cast<qint64>(text.size())) ==
                         static_cast<qint64>(text.size());
    if (!written || !file.commit()) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        return why.empty() ? std::string("write error") : why;
    }
    return std::nullopt;
}

}  // namespace ambersel::report
