#include "evaluation/list_file.h"

#include <cerrno>
#include <string>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define AMBERSEL_POSIX_OPEN 1
#endif

namespace ambersel {
namespace {

class ListFileErrorCategory final : public std::error_category {
  public:
    const char* name() const noexcept override { return "list file"; }
    std::string message(int value) const override {
        switch (static_cast<ListFileError>(value)) {
            case ListFileError::NotARegularFile:
                return "not a regular file";
            case ListFileError::NulInPath:
                return "the path holds a NUL character";
            case ListFileError::UnconvertiblePath:
                return "the path has no exact file-system form";
        }
        return "unknown list file error";
    }
};

std::error_code systemError(int value) {
    return {value, std::generic_category()};
}

#if defined(AMBERSEL_POSIX_OPEN)

// A descriptor closed when it goes, until it is handed to a stream.
class Descriptor {
  public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

  private:
    int m_fd;
};

FileHandle openRegularFile(const std::filesystem::path& path, std::error_code& error) {
    // O_NONBLOCK keeps a FIFO without a writer from blocking the open; a regular file ignores it.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        error = systemError(errno);
        return nullptr;
    }
    // The type is checked on the opened file itself, so that no swap of the path after the check
    // can slip a FIFO or device past it.
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        error = systemError(errno);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        error = ListFileError::NotARegularFile;
        return nullptr;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = systemError(errno);
        return nullptr;
    }
    FileHandle file(::fdopen(fd.get(), "r"));
    if (!file) {
        error = systemError(errno);
        return nullptr;
    }
    fd.release();
    return file;
}

// What writing to a file changes: its size and its modification time. Renaming or deleting it
// changes neither, and the open file still holds what it held.
struct FileState {
    long long size = -1;
    long long seconds = -1;
    long long nanoseconds = -1;

    bool operator==(const FileState&) const = default;
};

FileState stateOf(std::FILE* file) {
    struct stat status {};
    if (::fstat(::fileno(file), &status) != 0) {
        return {};
    }
    return {status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

#else

// Without the system's file status neither a change nor the size is known.
struct FileState {
    long long size = -1;

    bool operator==(const FileState&) const = default;
};

FileState stateOf(std::FILE* /*file*/) {
    return {};
}

FileHandle openRegularFile(const std::filesystem::path& path, std::error_code& error) {
    if (!std::filesystem::is_regular_file(path, error)) {
        if (!error) {
            error = ListFileError::NotARegularFile;
        }
        return nullptr;
    }
    FileHandle file(std::fopen(path.string().c_str(), "r"));
    if (!file) {
        error = systemError(errno);
    }
    return file;
}

#endif

}  // namespace

const std::error_category& listFileErrorCategory() noexcept {
    static const ListFileErrorCategory category;
    return category;
}

std::error_code make_error_code(ListFileError error) noexcept {
    return {static_cast<int>(error), listFileErrorCategory()};
}

FileHandle openListFile(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    if (path.empty()) {
        error = systemError(ENOENT);
        return nullptr;
    }
    // The system would read such a path only up to the NUL, which names another file.
    if (path.native().find(std::filesystem::path::value_type{}) != std::string::npos) {
        error = ListFileError::NulInPath;
        return nullptr;
    }
    return openRegularFile(path, error);
}

ListFileReading readListFile(const std::filesystem::path& path) {
    ListFileReading reading;
    const FileHandle file = openListFile(path, reading.openError);
    if (file) {
        const FileState before = stateOf(file.get());
        ReadingOptions options;
        options.fileSize = before.size > 0 ? static_cast<std::uint64_t>(before.size) : 0;
        reading.stop = scanFrequencyLevelList(file.get(), reading.points, options);
        // A file written while it was read can give a list that never stood in it whole: the
        // start of one version and the end of another. No verdict is drawn from that.
        if (reading.stop.end != ReadingEnd::ReadError && stateOf(file.get()) != before) {
            reading.stop = ReadingStop{ReadingEnd::FileChanged, 0, {}};
        }
    }
    return reading;
}

}  // namespace ambersel
