#pragma once

// Text as a read-only C stream, for feeding the list reader and the C library the same bytes.

#include <string>
#include <string_view>

#include "evaluation/file_handle.h"

namespace ambersel::support {

// An open stream that reads `text` byte for byte from its start. Throws std::runtime_error when
// no stream can be made.
class TextStream {
  public:
    explicit TextStream(std::string_view text);
    std::FILE* get() const { return m_file.get(); }

  private:
    std::string m_text;  // the bytes a stream in memory reads; one more, so that it is never empty
    FileHandle m_file;
};

}  // namespace ambersel::support
