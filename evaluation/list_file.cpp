#include "evaluation/list_file.h"

#include <cerrno>
#include <string>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define AMBERSEL_POSIX_OPEN 1
#elif defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The C runtime's descriptors, after windows.h.
#include <fcntl.h>
#include <io.h>
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
            const DWORD attributes = GetFileAttributesW(path.c_str());
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

// The path as CreateFileW takes it. A full path of MAX_PATH or more characters is only opened in
// its "\\?\" form; a device's path ("\\.\NUL") stays as it is.
std::wstring openablePath(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    const DWORD length = GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    if (length < MAX_PATH) {
        return native;
    }
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(native.c_str(), length, full.data(), nullptr));
    if (full.rfind(LR"(\\?\)", 0) == 0 || full.rfind(LR"(\\.\)", 0) == 0) {
        return full;
    }
    if (full.rfind(LR"(\\)", 0) == 0) {
        return LR"(\\?\UNC\)" + full.substr(2);
    }
    return LR"(\\?\)" + full;
}

FileHandle openRegularFile(const std::filesystem::path& path, std::error_code& error) {
    // Shared for reading only: a file that another program holds open for writing, say a list
    // still being measured, is refused instead of read half written.
    Win32Handle handle(CreateFileW(openablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
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

// What writing to a file changes: its size and its last write time.
struct FileState {
    long long size = -1;
    unsigned long long lastWrite = 0;

    bool operator==(const FileState&) const = default;
};

FileState stateOf(std::FILE* file) {
    BY_HANDLE_FILE_INFORMATION information{};
    // The C runtime gives the stream's Windows handle only as an integer.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (!GetFileInformationByHandle(handle, &information)) {
        return {};
    }
    const auto high = [](DWORD upper, DWORD lower) {
        return (static_cast<unsigned long long>(upper) << 32) | lower;
    };
    return {static_cast<long long>(high(information.nFileSizeHigh, information.nFileSizeLow)),
            high(information.ftLastWriteTime.dwHighDateTime,
                 information.ftLastWriteTime.dwLowDateTime)};
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
