// The Details window on Linux as the engineer meets it: its picture laid out and drawn for the
// room the window gives it, at the window's font, its tables shown whole whatever the window's
// size and font, and the Save dialog it opens in the user's documents folder. Every row opens a
// window of its own.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QLayout>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "dialog_test_support.h"
#include "plot/layout/spectrum_chart.h"
#include "report/list_record.h"
#include "test_files.h"
#include "ui/chart_view.h"
#include "ui/details_window.h"

namespace ambersel::testing {
namespace {

// A Details window of `points`, read from the list `name`, owned by `owner`, as the dialog opens
// it.
ui::DetailsWindow* detailsOf(QWidget& owner, const std::string& name,
                             const FrequencyLevelList& points) {
    const EvaluatedList list = evaluatedList(name, points, {}, recordScope());
    plot::Chart chart = plot::spectrumChart({report::listFileName(list), &list.analysis});
    return new ui::DetailsWindow(report::recordOf(list), std::move(chart),
                                 report::ReportHeading{"1.0.0", {}}, &owner);
}

// How many pixels of `image`'s columns from `from` to its right edge are not white.
int inkRightOf(const QImage& image, int from) {
    int ink = 0;
    for (int x = from; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    return ink;
}

TEST(Details, FillTheirWindowAndShowEveryColumnWhole) {
    const FrequencyLevelList points = emissionScan();
    QFont large = QApplication::font();
    large.setPixelSize(20);
    const struct Row {
        const char* name;
        std::function<void(QWidget&)> change;
    } rows[] = {
        {"as it opens", [](QWidget&) {}},
        {"made larger", [](QWidget& window) { window.resize(window.size() + QSize(400, 300)); }},
        {"made as small as it goes", [](QWidget& window) { window.resize(1, 1); }},
        {"in a larger font", [&](QWidget& window) { window.setFont(large); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget owner;
        ui::DetailsWindow* window = detailsOf(owner, "/lab/emission_150k_30M.ASC", points);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        row.change(*window);
        QApplication::processEvents();

        auto* picture = window->findChild<ui::ChartView*>(QStringLiteral("picture"));
        const QImage drawn = picture->grab().toImage();
        const QMargins margins = window->layout()->contentsMargins();
        EXPECT_EQ(picture->width(), window->width() - margins.left() - margins.right())
            << "an empty field beside the picture";
        const plot::WindowChart& chart = picture->drawn();
        EXPECT_NEAR(chart.layout.canvas.width * chart.scale, picture->width(), 1e-6)
            << "the picture is not laid out at its size";
        EXPECT_NEAR(chart.layout.canvas.height * chart.scale, picture->height(), 1e-6)
            << "the picture is not laid out at its size";
        EXPECT_GE(chart.scale * plot::kSmallestChartText, QFontInfo(picture->font()).pixelSize())
            << "text smaller than the window's";
        EXPECT_GT(inkRightOf(drawn, drawn.width() * 85 / 100), 0)
            << "the picture's right side is left white";
        for (const char* name : {"bands", "contributors"}) {
            SCOPED_TRACE(name);
            const auto* table = window->findChild<QTableWidget*>(QString::fromLatin1(name));
            EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width())
                << "a column hidden behind the edge";
            EXPECT_LE(table->verticalHeader()->length(), table->viewport()->height())
                << "a row hidden behind the edge";
            EXPECT_FALSE(table->horizontalScrollBar()->isVisible());
            EXPECT_FALSE(table->verticalScrollBar()->isVisible());
        }
    }
}

// The Save dialog of a Details window: where it starts and the name it proposes.
TEST(Details, ProposeTheReportInTheDocumentsFolderUnderTheListsName) {
    const QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Akten"));
    const QString userFolders =
        QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + QStringLiteral("/user-dirs.dirs");
    const FrequencyLevelList points{{150e3, 40}, {1e6, 50}};
    const struct Row {
        const char* name;
        bool documentsExist;
        std::string list;
        bool chooseHtml;
        QString folder;
        QString file;
    } rows[] = {
        {"the list's folder proposed, or a name of its own", true,
         "/lab/lists/emission_150k_30M.ASC", false, documents,
         QStringLiteral("emission_150k_30M-report.pdf")},
        {"choosing HTML leaves the name ending in .pdf", true, "/lab/run.ASC", true, documents,
         QStringLiteral("run-report.html")},
        {"more than the last extension cut off", true, "/lab/unit 7.2024-03.asc", false, documents,
         QStringLiteral("unit 7.2024-03-report.pdf")},
        {"a documents folder that is not there proposed", false, "/lab/run.ASC", false,
         QDir::homePath(), QStringLiteral("run-report.pdf")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(documents).removeRecursively();
        if (row.documentsExist) {
            ASSERT_TRUE(QDir().mkpath(documents));
        }
        std::ofstream(userFolders.toStdString())
            << "XDG_DOCUMENTS_DIR=\"" << documents.toStdString() << "\"\n";
        QWidget owner;
        ui::DetailsWindow* window = detailsOf(owner, row.list, points);
        QString folder;
        QString file;
        const auto look = [&](QWidget& modal) {
            auto* files = qobject_cast<QFileDialog*>(&modal);
            ASSERT_NE(files, nullptr);
            if (row.chooseHtml) {
                auto* types = files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                ASSERT_NE(types, nullptr);
                QTest::keyClick(types, Qt::Key_Down);
            }
            folder = files->directory().absolutePath();
            file = QFileInfo(files->selectedFiles().value(0)).fileName();
        };
        EXPECT_EQ(whileWatching(*window, look, [&] { window->saveReport(); }),
                  QStringLiteral("QFileDialog"));
        EXPECT_EQ(folder, row.folder);
        EXPECT_EQ(file, row.file);
    }
    std::filesystem::remove(userFolders.toStdString());
}

}  // namespace
}  // namespace ambersel::testing
