#include "report/report_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <QTextDocument>
#include <QTimeZone>
#include <QUrl>

#include <cstdlib>

#include "evaluation/output_file.h"
#include "report/html_report.h"

namespace ambersel::report {
namespace {

QString qtPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace

std::string pdfReport(const ReportHeading& heading, const std::vector<ListRecord>& records) {
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
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(QStringLiteral("Ambersel test report"));
    writer.setCreator(QStringLiteral("Ambersel Test Calculator ") +
                      QString::fromStdString(heading.programVersion));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(14, 14, 14, 14), QPageLayout::Millimeter));
    document.print(&writer);
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

std::optional<std::string> writeReport(const std::filesystem::path& target, ReportFormat format,
                                       const ReportHeading& heading,
                                       const std::vector<ListRecord>& records) {
    const std::string bytes = format == ReportFormat::Html
                                  ? reportHtml(heading, records, PictureSource::DataUri)
                                  : pdfReport(heading, records);
    if (bytes.empty()) {
        return "the report could not be made";
    }
    if (const std::error_code error = replaceFile(target, bytes)) {
        return error.message();
    }
    return std::nullopt;
}

std::optional<FileFacts> fileFactsOf(const std::filesystem::path& path) {
    QFile file(qtPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    const QFileInfo info(file);
    FileFacts facts;
    facts.size = static_cast<std::uintmax_t>(info.size());
    facts.modified = info.lastModified()
                         .toUTC()
                         .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'"))
                         .toStdString();
    facts.sha256 = hash.result().toHex().toStdString();
    return facts;
}

std::string localTimeNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
    return (now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + zone).toStdString();
}

}  // namespace ambersel::report
