#pragma once

// A report as a document: sections of headings, verdict lines, tables, pictures and preformatted
// lines, each saying what it is rather than how it looks. The HTML writer and the writers of pages
// (PDF) render the same document; a writer of pages continues a table on the next page under its
// heads again, and draws pictures through plot::Canvas.

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "plot/canvas/canvas.h"

namespace ambersel::report {

// What a table cell holds, for its face and alignment: a label of the row (a table of facts), plain
// text, a number (set flush right), a hash (a fixed-width face, never broken), or a result line (in
// the colour of its verdict).
enum class CellKind { Label, Text, Number, Hash, Pass, Fail };

struct Cell {
    std::string text;
    CellKind kind = CellKind::Text;
};

struct Table {
    // The heads of the columns; none for a table of facts, whose rows each start with a label.
    std::vector<std::string> heads;
    std::vector<std::vector<Cell>> rows;
};

// A heading: level 1 heads a page (a list's name, "Summary"), level 2 a part of it.
struct Heading {
    std::string text;
    int level = 1;
};

// A list's result line, in the colour of its verdict.
struct VerdictLine {
    std::string text;
    bool failed = false;
};

// A picture drawn on a canvas of `size` picture units by `draw`, which may be called any number of
// times, from any thread.
struct Picture {
    plot::Size size;
    std::string title;        // the picture's title, for readers and search
    std::string description;  // one line
    std::string id;           // unique within the document ("list2", "lot")
    std::function<void(plot::Canvas&)> draw;
};

// Lines of text set as they are, in a fixed-width face.
struct Preformatted {
    std::vector<std::string> lines;
};

using Block = std::variant<Heading, VerdictLine, Table, Picture, Preformatted>;

struct Section {
    // Inside a frame of its own (a list's page), starting a new printed page when ownPage.
    bool framed = true;
    bool ownPage = false;
    std::vector<Block> blocks;
};

struct Document {
    std::vector<Section> sections;
};

}  // namespace ambersel::report
