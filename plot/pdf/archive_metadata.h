#pragma once

// What a document says of itself, twice, in agreement: the document information dictionary and
// the XMP metadata that archival PDF (PDF/A-3, level B) requires, which also declares the
// document's conformance.

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace ambersel::plot::pdf {

struct DocumentInfo {
    std::string title;
    std::string author;       // who the document is by; empty: not said
    std::string subject;      // what it is about; empty: not said
    std::string creatorTool;  // the program that made its content, with its version
    std::string producer;     // the program that wrote the PDF, with its version
    // Given, never read from a clock here, so that the same input gives the same bytes.
    std::chrono::sys_seconds created{};
    std::chrono::sys_seconds modified{};
    // The document's identifier (the trailer's /ID, the XMP's document ID): the caller's, made
    // from what identifies the document (a hash of its input, say).
    std::array<std::uint8_t, 16> id{};
    std::string language = "en";  // the natural language of its text (BCP 47)
};

// The XMP packet: PDF/A-3 part and conformance B, title, author, subject, creator tool, producer,
// dates and document ID, as the information dictionary states them.
std::string xmpMetadata(const DocumentInfo& info);

// The document information dictionary ("<< /Title ... >>").
std::string infoDictionary(const DocumentInfo& info);

// The trailer's /ID value: the identifier twice, as a document first written has it.
std::string documentIdArray(const DocumentInfo& info);

// The identifier as a UUID URN ("uuid:01234567-89ab-cdef-0123-456789abcdef").
std::string documentUuid(const DocumentInfo& info);

}  // namespace ambersel::plot::pdf
