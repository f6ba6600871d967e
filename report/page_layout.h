#pragma once

// A report's pages for print: the blocks of its document set on A4 pages in the shipped faces,
// measured by the metrics every picture is laid out with, so that the pages come out alike on
// every platform. A heading is never left alone at a page's foot; a table that runs past a page's
// end goes on on the next under its heads again; a picture is drawn as vectors through the PDF
// canvas. Every page keeps room above and below its body for the running head and foot, which
// the document draws once the page count is known.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/canvas/font_metrics.h"
#include "plot/pdf/page.h"
#include "report/document.h"

namespace ambersel::report {

// Where a page's body lies, in points from its top-left corner.
inline constexpr double kPageMargin = 42;
inline constexpr double kBodyTop = 64;
inline constexpr double kBodyBottom = plot::pdf::kA4.height - 60;

// `text` in lines no wider than `width` points in `face` at `size`: broken after a space where
// one fits, else between two characters, so that a word wider than the line (a long path) is
// broken too. One line, maybe empty, for text that fits or holds nothing.
std::vector<std::string> wrappedLines(std::string_view text, plot::Face face, double size,
                                      double width);

class PageLayout {
  public:
    // Hands each page to `finished` as soon as nothing more goes on it, in order.
    explicit PageLayout(std::function<void(plot::pdf::Page)> finished);

    // Sets `section` after what came before: on a page of its own when it asks for one (and for
    // the first), else after a gap.
    void section(const Section& section);
    // Sets `closing` as the report's last line, centred under a rule, and hands over the last
    // page.
    void end(std::string_view closing);

  private:
    struct TableGeometry;
    struct RowLines {
        std::vector<std::vector<std::string>> lines;  // each cell's
        double height = 0;
    };

    void heading(const std::string& text, plot::Face face, double size, plot::Colour colour);
    void table(const Table& table);
    static RowLines rowLines(const std::vector<Cell>& cells, const TableGeometry& geometry,
                             bool head);
    void drawRow(const RowLines& row, const std::vector<Cell>& cells, const TableGeometry& geometry,
                 bool head);
    void picture(const Picture& picture);
    void preformatted(const Preformatted& lines);
    void ensureRoom(double height);
    void newPage();
    plot::pdf::Page& page();

    std::function<void(plot::pdf::Page)> m_finished;
    std::optional<plot::pdf::Page> m_page;
    double m_y = kBodyTop;
};

}  // namespace ambersel::report
