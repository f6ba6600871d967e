#pragma once

// The one owner of an open C stream in the project: whoever holds a FileHandle holds the stream,
// and the stream is closed when the handle goes, on every path.

#include <cstdio>
#include <memory>

namespace ambersel {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

// An open stream, or none. To learn whether closing succeeded (for a stream written to), close
// it yourself: std::fclose(handle.release()).
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace ambersel
