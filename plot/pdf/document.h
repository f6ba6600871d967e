#pragma once

// A PDF document for the archive (PDF/A-3, level B), written front to back as it is made: the
// metadata and the sRGB output intent first, each page as it is added (its content already
// compressed by whoever made it), files attached as they are given, and at the end what only the
// end knows: each page's footer ("Page n of m" needs m), the fonts cut to the glyphs the pages
// used, the page tree and the catalog, then the cross-reference table. Nothing is patched after
// it is written. Every font is embedded, nothing refers outside the file, nothing is encrypted.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/pdf/archive_metadata.h"
#include "plot/pdf/object_writer.h"
#include "plot/pdf/page.h"

namespace ambersel::plot::pdf {

// How an attached file relates to the document (PDF/A-3's AFRelationship).
enum class FileRelationship { Source, Data, Alternative, Supplement, Unspecified };

// A file carried inside the document, as evidence of what it shows.
struct AssociatedFile {
    std::string name;       // its file name, UTF-8
    std::string mediaType;  // "text/plain", "application/json"
    FileRelationship relationship = FileRelationship::Unspecified;
    std::string description;  // what it is, for a reader's list of attachments
    std::chrono::sys_seconds modified{};
};

class Document {
  public:
    // Draws `footer` over page `number` (from 1) of `count`, a page as large as that one.
    using Footer = std::function<void(Page& footer, std::size_t number, std::size_t count)>;

    // Starts the document on `sink`; with `footer`, every page gets one when the document ends.
    Document(ByteSink sink, DocumentInfo info, Footer footer = {});

    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Writes `page` now, after the pages added before it.
    void addPage(Page page);
    std::size_t pageCount() const { return m_pages.size(); }

    // Gives a file's bytes, first to last, by calling `piece` with each piece in turn.
    using FileProducer = std::function<void(const std::function<void(std::string_view)>& piece)>;

    // Carries `bytes` as `file`, compressed, in the document's attachments and as one of its
    // associated files. Files keep the order given; a name given twice gets " (2)" and so on.
    void attach(const AssociatedFile& file, std::string_view bytes);
    // The same for a file of `size` bytes that `produce` gives piece by piece (read from its file
    // as it is written here, say), so that it is never held whole. Throws std::runtime_error when
    // the pieces do not come to `size` bytes; a producer that cannot give them throws. Either way
    // the document is then unfinished and must be dropped.
    void attach(const AssociatedFile& file, std::uint64_t size, const FileProducer& produce);

    // Writes the footers, the fonts and everything that refers to all pages, and ends the file.
    // Throws std::logic_error without a page: a document has at least one.
    void finish();

  private:
    struct PageEntry {
        Size size;
        ObjectRef page;
        ObjectRef footer;  // 0: none
    };
    struct FileEntry {
        std::string key;  // its name in the attachments' name tree, unique
        ObjectRef fileEntry;
    };

    void writeFooters();
    void writeResources();
    void writeCatalog();

    ObjectWriter m_objects;
    DocumentInfo m_info;
    Footer m_footer;
    ObjectRef m_catalog;
    ObjectRef m_pageTree;
    ObjectRef m_resources;
    ObjectRef m_metadata;
    ObjectRef m_outputIntent;
    ResourceUse m_uses;
    std::vector<PageEntry> m_pages;
    std::vector<FileEntry> m_files;
};

}  // namespace ambersel::plot::pdf
