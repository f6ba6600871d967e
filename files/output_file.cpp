#include "files/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <random>

#if defined(_WIN32)
#include <windows.h>
// The C runtime's descriptors, after windows.h.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "files/windows_path.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ambersel {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

#if defined(_WIN32)
int createNew(const std::filesystem::path& path) {
    return _wopen(extendedLengthPath(path).c_str(),
                  _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

void removeFile(const std::filesystem::path& path) {
    DeleteFileW(extendedLengthPath(path).c_str());
}

int writeSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1U << 30)));
}

int flushToDisk(int fd) {
    return _commit(fd);
}

int closeFile(int fd) {
    return _close(fd);
}

void keepPermissions(int /*fd*/, const std::filesystem::path& /*target*/) {}

std::optional<int> openStreamTarget(const std::filesystem::path& /*target*/,
                                    std::error_code& /*error*/) {
    return std::nullopt;
}

std::error_code renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(extendedLengthPath(from).c_str(), extendedLengthPath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return {static_cast<int>(GetLastError()), std::system_category()};
}
#else
int createNew(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
}

void removeFile(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

int writeSome(int fd, const char* data, std::size_t size) {
    return static_cast<int>(::write(fd, data, std::min<std::size_t>(size, 1U << 30)));
}

int flushToDisk(int fd) {
    return ::fsync(fd);
}

int closeFile(int fd) {
    return ::close(fd);
}

// A report rewritten by a later run stays readable by whoever could read it before.
void keepPermissions(int fd, const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        ::fchmod(fd, status.st_mode & 07777);
    }
}

// A device or a FIFO (/dev/null, /dev/stdout, a pipe) takes the bytes as they come: renaming a new
// file over it would put a plain file in its place.
std::optional<int> openStreamTarget(const std::filesystem::path& target, std::error_code& error) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0 || S_ISREG(status.st_mode) ||
        S_ISDIR(status.st_mode)) {
        return std::nullopt;
    }
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    error = fd < 0 ? lastError() : std::error_code();
    return fd;
}

std::error_code renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : lastError();
}
#endif

// Large enough that a table of ten thousand rows takes a few dozen writes.
constexpr std::size_t kPendingBytes = std::size_t{64} * 1024;

}  // namespace

std::string lowerCaseExtension(const std::filesystem::path& target) {
    std::string extension = target.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension;
}

std::variant<FileReplacement, std::error_code> FileReplacement::begin(
    const std::filesystem::path& target) {
    std::error_code error;
    FileReplacement replacement;
    if (const std::optional<int> stream = openStreamTarget(target, error)) {
        if (error) {
            return error;
        }
        replacement.m_fd = *stream;
        replacement.m_stream = true;
        return replacement;
    }
    const bool link = std::filesystem::is_symlink(std::filesystem::symlink_status(target, error));
    error.clear();
    replacement.m_target = link ? std::filesystem::canonical(target, error) : target;
    if (error) {
        return error;
    }
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && replacement.m_fd < 0; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(seed()));
        replacement.m_new = replacement.m_target;
        replacement.m_new += suffix;
        replacement.m_fd = createNew(replacement.m_new);
        error = replacement.m_fd < 0 ? lastError() : std::error_code();
        if (error && error != std::errc::file_exists) {
            break;
        }
    }
    if (replacement.m_fd < 0) {
        return error;
    }
    replacement.m_created = true;
    keepPermissions(replacement.m_fd, replacement.m_target);
    return replacement;
}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_new(std::move(other.m_new)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_pending(std::move(other.m_pending)),
      m_error(other.m_error),
      m_created(std::exchange(other.m_created, false)),
      m_stream(other.m_stream) {}

FileReplacement::~FileReplacement() {
    if (m_fd >= 0) {
        closeFile(m_fd);
    }
    if (m_created) {
        removeFile(m_new);
    }
}

void FileReplacement::write(std::string_view bytes) {
    if (m_error || m_fd < 0) {
        return;
    }
    if (m_pending.size() + bytes.size() <= kPendingBytes) {
        m_pending += bytes;
        return;
    }
    m_error = writeAll(m_pending);
    m_pending.clear();
    if (m_error) {
        return;
    }
    if (bytes.size() < kPendingBytes) {
        m_pending = bytes;
    } else {
        m_error = writeAll(bytes);
    }
}

std::error_code FileReplacement::writeAll(std::string_view bytes) const {
    while (!bytes.empty()) {
        const int written = writeSome(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            return lastError();
        }
        bytes.remove_prefix(written > 0 ? static_cast<std::size_t>(written) : 0);
    }
    return {};
}

std::error_code FileReplacement::commit() {
    if (m_fd < 0) {
        return m_error ? m_error : std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (!m_error) {
        m_error = writeAll(m_pending);
        m_pending.clear();
    }
    if (!m_error && !m_stream && flushToDisk(m_fd) != 0) {
        m_error = lastError();
    }
    const int fd = std::exchange(m_fd, -1);
    if (closeFile(fd) != 0 && !m_error) {
        m_error = lastError();
    }
    if (m_error || m_stream) {
        return m_error;
    }
    m_error = renameOver(m_new, m_target);
    m_created = m_created && m_error;
    return m_error;
}

std::error_code replaceFile(const std::filesystem::path& target, std::string_view bytes) {
    auto begun = FileReplacement::begin(target);
    if (auto* error = std::get_if<std::error_code>(&begun)) {
        return *error;
    }
    auto& replacement = std::get<FileReplacement>(begun);
    replacement.write(bytes);
    return replacement.commit();
}

}  // namespace ambersel
