#include "plot/pdf/document.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "plot/pdf/deflate.h"
#include "plot/pdf/embedded_font.h"
#include "plot/pdf/pdf_syntax.h"
#include "plot/pdf/srgb_profile.h"
#include "text/byte_text.h"

namespace ambersel::plot::pdf {
namespace {

// An attached file is compressed and written in pieces this large.
constexpr std::size_t kFilePiece = 1 << 20;

std::string_view relationshipName(FileRelationship relationship) {
    switch (relationship) {
        case FileRelationship::Source:
            return "/Source";
        case FileRelationship::Data:
            return "/Data";
        case FileRelationship::Alternative:
            return "/Alternative";
        case FileRelationship::Supplement:
            return "/Supplement";
        case FileRelationship::Unspecified:
            break;
    }
    return "/Unspecified";
}

// `utf8` with every code point outside printable ASCII as '_': a file name for readers that know
// no other (the /F of the attached file's dictionary), and the attachment's key.
std::string asciiName(std::string_view utf8) {
    std::string out;
    for (const char32_t codePoint : drawnCodePoints(utf8)) {
        const bool printable = codePoint >= 0x20 && codePoint < 0x7F;
        out += printable ? static_cast<char>(codePoint) : '_';
    }
    return out;
}

std::string mediaBox(Size size) {
    return "[0 0 " + number(size.width) + " " + number(size.height) + "]";
}

}  // namespace

Document::Document(ByteSink sink, DocumentInfo info, Footer footer)
    : m_objects(std::move(sink)), m_info(std::move(info)), m_footer(std::move(footer)) {
    m_catalog = m_objects.reserve();
    m_pageTree = m_objects.reserve();
    m_resources = m_objects.reserve();
    // Left uncompressed, as archival PDF requires, so that any tool finds it as text.
    m_metadata = m_objects.stream(" /Type /Metadata /Subtype /XML", xmpMetadata(m_info));
    const ObjectRef profile =
        m_objects.stream(" /N 3 /Filter /FlateDecode", deflated(srgbProfile()));
    m_outputIntent = m_objects.object(
        "<< /Type /OutputIntent /S /GTS_PDFA1 /OutputConditionIdentifier " +
        literalString(kSrgbName) + " /RegistryName (http://www.color.org) /Info " +
        literalString(kSrgbName) + " /DestOutputProfile " + reference(profile) + " >>");
}

void Document::addPage(Page page) {
    const Size size = page.size();
    FinishedContent content = page.finish();
    m_uses.merge(content.uses);
    const ObjectRef contents = m_objects.stream(" /Filter /FlateDecode", content.compressed);
    const PageEntry entry{size, m_objects.reserve(), m_footer ? m_objects.reserve() : ObjectRef{}};
    const std::string contentList =
        entry.footer.number == 0 ? reference(contents)
                                 : "[" + reference(contents) + " " + reference(entry.footer) + "]";
    m_objects.object(entry.page, "<< /Type /Page /Parent " + reference(m_pageTree) + " /MediaBox " +
                                     mediaBox(size) + " /Resources " + reference(m_resources) +
                                     " /Contents " + contentList + " >>");
    m_pages.push_back(entry);
}

void Document::attach(const AssociatedFile& file, std::string_view bytes) {
    attach(file, bytes.size(),
           [bytes](const std::function<void(std::string_view)>& piece) { piece(bytes); });
}

void Document::attach(const AssociatedFile& file, std::uint64_t size, const FileProducer& produce) {
    const std::string base = asciiName(file.name);
    std::string key = base;
    for (int copy = 2; std::any_of(m_files.begin(), m_files.end(),
                                   [&key](const FileEntry& entry) { return entry.key == key; });
         ++copy) {
        key = base + " (" + std::to_string(copy) + ")";
    }
    const ObjectRef stream = m_objects.reserve();
    m_objects.beginStream(stream, " /Type /EmbeddedFile /Subtype " + name(file.mediaType) +
                                      " /Params << /Size " + std::to_string(size) + " /ModDate " +
                                      literalString(pdfDate(file.modified)) +
                                      " >> /Filter /FlateDecode");
    // Compressed in blocks of a fixed size, whatever pieces the producer gives, so that the
    // same bytes compress alike.
    Deflater deflater;
    std::string block;
    std::string compressed;
    std::uint64_t given = 0;
    const auto compress = [&](std::string_view bytes) {
        deflater.add(bytes, compressed);
        m_objects.streamData(compressed);
        compressed.clear();
    };
    produce([&](std::string_view piece) {
        given += piece.size();
        while (!piece.empty()) {
            const std::size_t taken = std::min(piece.size(), kFilePiece - block.size());
            block += piece.substr(0, taken);
            piece.remove_prefix(taken);
            if (block.size() == kFilePiece) {
                compress(block);
                block.clear();
            }
        }
    });
    if (given != size) {
        throw std::runtime_error("an attached file's bytes did not come to its size");
    }
    compress(block);
    deflater.finish(compressed);
    m_objects.streamData(compressed);
    m_objects.endStream();
    const ObjectRef fileEntry = m_objects.object(
        "<< /Type /Filespec /F " + literalString(key) + " /UF " + textString(file.name) +
        " /Desc " + textString(file.description) + " /AFRelationship " +
        std::string(relationshipName(file.relationship)) + " /EF << /F " + reference(stream) +
        " /UF " + reference(stream) + " >> >>");
    m_files.push_back({std::move(key), fileEntry});
}

void Document::writeFooters() {
    for (std::size_t index = 0; index < m_pages.size() && m_footer; ++index) {
        Page footer(m_pages[index].size);
        m_footer(footer, index + 1, m_pages.size());
        FinishedContent content = footer.finish();
        m_uses.merge(content.uses);
        m_objects.stream(m_pages[index].footer, " /Filter /FlateDecode", content.compressed);
    }
}

void Document::writeResources() {
    std::string fonts;
    for (const Face face : {Face::Sans, Face::SansBold, Face::SansMono}) {
        const GlyphUse& used = m_uses.faces[indexOf(face)];
        if (!used.empty()) {
            const ObjectRef font = m_objects.reserve();
            writeFont(m_objects, font, face, used);
            fonts += " " + fontResourceName(face) + " " + reference(font);
        }
    }
    std::string states;
    for (std::size_t alpha = 0; alpha < 256; ++alpha) {
        const std::string opacity = number(static_cast<double>(alpha) / 255.0, 4);
        const auto value = static_cast<std::uint8_t>(alpha);
        if (m_uses.fillOpacities.test(alpha)) {
            states += " " + opacityResourceName(value, false) + " << /Type /ExtGState /ca " +
                      opacity + " >>";
        }
        if (m_uses.strokeOpacities.test(alpha)) {
            states += " " + opacityResourceName(value, true) + " << /Type /ExtGState /CA " +
                      opacity + " >>";
        }
    }
    m_objects.object(m_resources, "<< /Font <<" + fonts + " >> /ExtGState <<" + states + " >> >>");
}

void Document::writeCatalog() {
    std::string kids;
    for (const PageEntry& entry : m_pages) {
        kids += (kids.empty() ? "" : " ") + reference(entry.page);
    }
    m_objects.object(m_pageTree, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                     std::to_string(m_pages.size()) + " >>");
    std::string catalog = "<< /Type /Catalog /Pages " + reference(m_pageTree) + " /Metadata " +
                          reference(m_metadata) + " /OutputIntents [" + reference(m_outputIntent) +
                          "] /Lang " + literalString(m_info.language) +
                          " /ViewerPreferences << /DisplayDocTitle true >>";
    if (!m_files.empty()) {
        std::vector<FileEntry> sorted = m_files;
        std::sort(sorted.begin(), sorted.end(),
                  [](const FileEntry& a, const FileEntry& b) { return a.key < b.key; });
        std::string names;
        std::string associated;
        for (const FileEntry& entry : sorted) {
            names += " " + literalString(entry.key) + " " + reference(entry.fileEntry);
        }
        for (const FileEntry& entry : m_files) {
            associated += " " + reference(entry.fileEntry);
        }
        catalog +=
            " /Names << /EmbeddedFiles << /Names [" + names + " ] >> >> /AF [" + associated + " ]";
    }
    m_objects.object(m_catalog, catalog + " >>");
}

void Document::finish() {
    if (m_pages.empty()) {
        throw std::logic_error("a PDF document needs at least one page");
    }
    writeFooters();
    writeResources();
    writeCatalog();
    const ObjectRef info = m_objects.object(infoDictionary(m_info));
    m_objects.finish("/Root " + reference(m_catalog) + " /Info " + reference(info) + " /ID " +
                     documentIdArray(m_info));
}

}  // namespace ambersel::plot::pdf
