#include "report/report_file.h"

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <QTextDocument>
#include <QUrl>

#include "report/html_report.h"

namespace ambersel::report {
namespace {

QString qtPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

bool printPdf(QSaveFile& file, const ReportHeading& heading,
              const std::vector<ListRecord>& records) {
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(7.5);
    document.setDefaultFont(font);
    document.setHtml(
        QString::fromStdString(reportHtml(heading, records, PictureSource::ResourceName)));
    for (std::size_t index = 0; index < records.size(); ++index) {
        const std::string& png = records[index].picturePng;
        if (!png.empty()) {
            const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                                                    static_cast<int>(png.size()), "PNG");
            document.addResource(QTextDocument::ImageResource,
                                 QUrl(QString::fromStdString(pictureResourceName(index))), picture);
        }
    }
    QPdfWriter writer(&file);
    writer.setTitle(QStringLiteral("Ambersel test report"));
    writer.setCreator(QStringLiteral("Ambersel Test Calculator ") +
                      QString::fromStdString(heading.programVersion));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(14, 14, 14, 14), QPageLayout::Millimeter));
    document.print(&writer);
    return file.error() == QFileDevice::NoError;
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
    bool written = false;
    if (format == ReportFormat::Html) {
        const std::string text = reportHtml(heading, records, PictureSource::DataUri);
        written = file.write(text.data(), static_cast<qint64>(text.size())) ==
                  static_cast<qint64>(text.size());
    } else {
        written = printPdf(file, heading, records);
    }
    if (!written || !file.commit()) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        return why.empty() ? std::string("write error") : why;
    }
    return std::nullopt;
}

}  // namespace ambersel::report
