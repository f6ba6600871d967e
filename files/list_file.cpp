#include "files/list_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define AMBERSEL_POSIX_OPEN 1
#elif defined(_WIN32)
#include <windows.h>
// The C runtime's descriptors, after windows.h.
#include <fcntl.h>
#include <io.h>

#include "files/windows_path.h"
#define AMBERSEL_WINDOWS_OPEN 1
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
            case ListFileError::InUse:
                return "another program has the file open for writing, or has locked it";
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

ListFileStamp stampOfStatus(const struct stat& status) {
    constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
    return {static_cast<std::uint64_t>(status.st_dev),
            static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size),
            status.st_mtim.tv_sec,
            static_cast<std::int32_t>(status.st_mtim.tv_nsec),
            status.st_ctim.tv_sec * kNanosecondsPerSecond + status.st_ctim.tv_nsec};
}

FileHandle openRegularFile(const std::filesystem::path& path, std::error_code& error,
                           ListFileStamp& stamp) {
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
    stamp = stampOfStatus(status);
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

ListFileStamp stampOf(std::FILE* file) {
    struct stat status {};
    return ::fstat(::fileno(file), &status) == 0 ? stampOfStatus(status) : ListFileStamp{};
}

#elif defined(AMBERSEL_WINDOWS_OPEN)

// A handle closed when it goes, until it is handed to a descriptor.
class Win32Handle {
  public:
    explicit Win32Handle(HANDLE handle) : m_handle(handle) {}
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;
    ~Win32Handle() {
        if (valid()) {
            CloseHandle(m_handle);
        }
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    HANDLE release() { return std::exchange(m_handle, INVALID_HANDLE_VALUE); }

  private:
    HANDLE m_handle;
};

// Why CreateFileW refused `path`, in the terms the other systems use.
std::error_code openErrorOf(DWORD code, const std::filesystem::path& path) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DIRECTORY:
            return systemError(ENOENT);
        case ERROR_ACCESS_DENIED: {
            // Opening a folder as a file is refused as a denied access.
            const DWORD attributes = GetFileAttributesW(extendedLengthPath(path).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return ListFileError::NotARegularFile;
            }
            return systemError(EACCES);
        }
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return ListFileError::InUse;
        case ERROR_PIPE_BUSY:
            return ListFileError::NotARegularFile;
        case ERROR_FILENAME_EXCED_RANGE:
            return systemError(ENAMETOOLONG);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return systemError(ENOMEM);
        default:
            return systemError(EIO);
    }
}

ListFileStamp stampOfHandle(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& information) {
    const auto high = [](DWORD upper, DWORD lower) {
        return (static_cast<std::uint64_t>(upper) << 32U) | lower;
    };
    // 100-nanosecond ticks since 1601-01-01, of which 1970-01-01 is this many.
    constexpr std::int64_t kTicksTo1970 = 116444736000000000;
    constexpr std::int64_t kTicksPerSecond = 10000000;
    const std::int64_t ticks =
        static_cast<std::int64_t>(high(information.ftLastWriteTime.dwHighDateTime,
                                       information.ftLastWriteTime.dwLowDateTime)) -
        kTicksTo1970;
    std::int64_t seconds = ticks / kTicksPerSecond;
    std::int64_t rest = ticks % kTicksPerSecond;
    if (rest < 0) {
        --seconds;
        rest += kTicksPerSecond;
    }
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
        return {};
    }
    return {information.dwVolumeSerialNumber,
            high(information.nFileIndexHigh, information.nFileIndexLow),
            static_cast<std::int64_t>(high(information.nFileSizeHigh, information.nFileSizeLow)),
            seconds,
            static_cast<std::int32_t>(rest * 100),
            basic.ChangeTime.QuadPart};
}

ListFileStamp stampOf(std::FILE* file) {
    BY_HANDLE_FILE_INFORMATION information{};
    // The C runtime gives the stream's Windows handle only as an integer.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return GetFileInformationByHandle(handle, &information) ? stampOfHandle(handle, information)
                                                            : ListFileStamp{};
}

FileHandle openRegularFile(const std::filesystem::path& path, std::error_code& error,
                           ListFileStamp& stamp) {
    // Shared for reading only: a file that another program holds open for writing, say a list
    // still being measured, is refused instead of read half written.
    Win32Handle handle(CreateFileW(extendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.valid()) {
        error = openErrorOf(GetLastError(), path);
        return nullptr;
    }
    // The type is checked on the opened file itself: a device (NUL, CON, COM1), a pipe or a folder
    // is no list file.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle.get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = ListFileError::NotARegularFile;
        return nullptr;
    }
    stamp = stampOfHandle(handle.get(), information);
    // Binary: the reader takes CR LF as white space itself, and a Ctrl-Z is a byte like any other.
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        error = systemError(errno);
        return nullptr;
    }
    handle.release();
    FileHandle file(_fdopen(fd, "rb"));
    if (!file) {
        error = systemError(errno);
        _close(fd);
        return nullptr;
    }
    return file;
}

#else

// Without the system's file status neither a change nor the size is known.
ListFileStamp stampOf(std::FILE* /*file*/) {
    return {};
}

FileHandle openRegularFile(const std::filesystem::path& path, std::error_code& error,
                           ListFileStamp& /*stamp*/) {
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

// Gives `contents` the bytes of `file` from its start, as many as `stamp` says it holds, and
// whether they are the file `stamp` describes: all of its bytes, with no write before or during the
// reading. A file that a writer keeps growing cannot keep this reading going.
bool readContents(std::FILE* file, const ListFileStamp& stamp, const ContentSink& contents) {
    if (stamp.size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        return false;
    }
    std::vector<unsigned char> buffer(std::size_t{64} * 1024);
    auto left = static_cast<std::uint64_t>(stamp.size);
    while (left > 0) {
        const std::size_t count =
            std::fread(buffer.data(), 1, std::min<std::uint64_t>(left, buffer.size()), file);
        if (count == 0) {
            return false;
        }
        contents(std::span(buffer.data(), count));
        left -= count;
    }
    return stampOf(file) == stamp;
}

}  // namespace

const std::error_category& listFileErrorCategory() noexcept {
    static const ListFileErrorCategory category;
    return category;
}

std::error_code make_error_code(ListFileError error) noexcept {
    return {static_cast<int>(error), listFileErrorCategory()};
}

namespace {

// Opens a list file as readListFile() opens it, and gives its stamp as it was when it was opened.
FileHandle openStampedListFile(const std::filesystem::path& path, std::error_code& error,
                               ListFileStamp& stamp) {
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
    FileHandle file = openRegularFile(path, error, stamp);
    if (file) {
        // The readers take large pieces at a time, straight into their own buffers; a stream
        // buffer would only cost its allocation and the status call that sizes it.
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    }
    return file;
}

}  // namespace


ListFileReading readListFile(const std::filesystem::path& path, const ContentSink* contents) {
    ListFileReading reading;
    const FileHandle file = openStampedListFile(path, reading.openError, reading.stamp);
    if (!file) {
        return reading;
    }
    ReadingOptions options;
    options.fileSize = reading.stamp.size > 0 ? static_cast<std::uint64_t>(reading.stamp.size) : 0;
    std::uint64_t contentBytes = 0;
    const ContentSink countedContents = [&](std::span<const unsigned char> bytes) {
        contentBytes += bytes.size();
        (*contents)(bytes);
    };
    if (contents != nullptr) {
        options.contents = &countedContents;
    }
    reading.stop = scanFrequencyLevelList(file.get(), reading.points, options);
    if (reading.stop.end == ReadingEnd::ReadError) {
        return reading;
    }
    // A file written while it was read can give a list that never stood in it whole: the start of
    // one version and the end of another. No verdict is drawn from that. A rename or an unlink
    // moves the change time too but leaves the open file's bytes as they were.
    const ListFileStamp after = stampOf(file.get());
    if (after.size != reading.stamp.size ||
        after.modifiedSeconds != reading.stamp.modifiedSeconds ||
        after.modifiedNanoseconds != reading.stamp.modifiedNanoseconds) {
        reading.stop = ReadingStop{ReadingEnd::FileChanged, 0, {}};
        return reading;
    }
    if (contents != nullptr) {
        reading.contentsTaken = reading.stamp.size >= 0 &&
                                contentBytes == static_cast<std::uint64_t>(reading.stamp.size) &&
                                after == reading.stamp;
    }
    return reading;
}

bool readStampedListFile(const std::filesystem::path& path, const ListFileStamp& stamp,
                         const ContentSink& contents) {
    std::error_code error;
    ListFileStamp opened;
    const FileHandle file = openStampedListFile(path, error, opened);
    return file && opened == stamp && readContents(file.get(), stamp, contents);
}

}  // namespace ambersel
