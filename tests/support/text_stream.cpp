#include "tests/support/text_stream.h"

#include <cstdio>
#include <stdexcept>

namespace ambersel::support {
namespace {

#if defined(__unix__) || defined(__APPLE__)
// A stream over the bytes in memory: no file, no system call per read.
FileHandle openText(std::string& bytes, std::size_t size) {
    return FileHandle(fmemopen(bytes.data(), size, "r"));
}
#else
FileHandle openText(std::string& bytes, std::size_t size) {
    FileHandle file(std::tmpfile());
    if (file && (std::fwrite(bytes.data(), 1, size, file.get()) != size ||
                 std::fseek(file.get(), 0, SEEK_SET) != 0)) {
        file.reset();
    }
    return file;
}
#endif

}  // namespace

TextStream::TextStream(std::string_view text)
    : m_text(std::string(text) + '\0'), m_file(openText(m_text, text.size())) {
    if (!m_file) {
        throw std::runtime_error("cannot make a stream of the text");
    }
}

}  // namespace ambersel::support
