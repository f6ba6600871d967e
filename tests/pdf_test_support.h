#pragma once

// What the PDF writer's tests read back: Flate streams inflated, and the cross-reference table
// of a written file checked against the objects where its offsets point.

#include <zlib.h>

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ambersel::testing {

inline std::string inflated(std::string_view compressed) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        throw std::runtime_error("inflateInit");
    }
    std::string out;
    char chunk[16384];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || stream.avail_in != 0) {
        throw std::runtime_error("not one whole Flate stream");
    }
    return out;
}

inline std::uint64_t numberAt(std::string_view text, std::size_t at) {
    std::uint64_t value = 0;
    std::from_chars(text.data() + at, text.data() + text.size(), value);
    return value;
}

// What is wrong with the file's cross-reference table, or nothing: startxref must point at it,
// and every object in use must start where its entry says, as "N 0 obj".
inline std::string crossReferenceFault(std::string_view file) {
    const std::size_t start = file.rfind("startxref\n");
    if (start == std::string_view::npos || !file.ends_with("%%EOF\n")) {
        return "no startxref or %%EOF at the end";
    }
    const std::uint64_t table = numberAt(file, start + 10);
    if (file.substr(table, 7) != "xref\n0 ") {
        return "startxref does not point at the table";
    }
    const std::size_t count = numberAt(file, table + 7);
    const std::size_t entries = file.find('\n', table + 7) + 1;
    for (std::size_t object = 0; object < count; ++object) {
        const std::string_view entry = file.substr(entries + object * 20, 20);
        if (entry.size() != 20 || (object == 0) != (entry[17] == 'f')) {
            return "entry " + std::to_string(object) + " is not 20 bytes of its kind";
        }
        const std::string header = std::to_string(object) + " 0 obj\n";
        if (object > 0 && file.substr(numberAt(entry, 0), header.size()) != header) {
            return "entry " + std::to_string(object) + " does not point at its object";
        }
    }
    if (file.substr(entries + count * 20, 8) != "trailer\n") {
        return "the table does not end where its count says";
    }
    return {};
}

}  // namespace ambersel::testing
