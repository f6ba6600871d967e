#include "report/report_file.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFont>
#include <QFileInfo>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <QTextDocument>
#include <QTimeZone>
#include <QUrl>

#include <cstdlib>

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
