#include "evaluation/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>

#if defined(_WIN32)
#include <windows.h>
// The C runtime's descriptors, after windows.h.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
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
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
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

std::error_code renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return {static_cast<int>(GetLastError()), std::system_category()};
}
#else
int createNew(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
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

std::error_code renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : lastError();
}
#endif

// The new file beside the target, removed unless it was renamed over the target.
class NewFile {
  public:
    explicit NewFile(const std::filesystem::path& target) {
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(seed()));
            m_path = target;
            m_path += suffix;
            m_fd = createNew(m_path);
            m_error = m_fd < 0 ? lastError() : std::error_code();
            if (m_error && m_error != std::errc::file_exists) {
                break;
            }
        }
        m_created = m_fd >= 0;
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile() {
        if (m_fd >= 0) {
            closeFile(m_fd);
        }
        if (m_created && !m_renamed) {
            std::error_code ignored;
            std::filesystem::remove(m_path, ignored);
        }
    }

    // Why it could not be made; nothing once it was.
    std::error_code error() const { return m_error; }

    std::error_code write(std::string_view bytes) {
        while (!bytes.empty()) {
            const int written = writeSome(m_fd, bytes.data(), bytes.size());
            if (written < 0 && errno != EINTR) {
                return lastError();
            }
            bytes.remove_prefix(written > 0 ? static_cast<std::size_t>(written) : 0);
        }
        return flushToDisk(m_fd) == 0 ? std::error_code() : lastError();
    }

    std::error_code renameOver(const std::filesystem::path& target) {
        const int fd = std::exchange(m_fd, -1);
        if (closeFile(fd) != 0) {
            return lastError();
        }
        const std::error_code error = ambersel::renameOver(m_path, target);
        m_renamed = !error;
        return error;
    }

    int descriptor() const { return m_fd; }

  private:
    std::filesystem::path m_path;
    int m_fd = -1;
    std::error_code m_error;
    bool m_created = false;  // never remove a file of that name that someone else made
    bool m_renamed = false;
};

}  // namespace

std::string lowerCaseExtension(const std::filesystem::path& target) {
    std::string extension = target.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension;
}

std::error_code replaceFile(const std::filesystem::path& target, std::string_view bytes) {
    std::error_code error;
    const bool link = std::filesystem::is_symlink(std::filesystem::symlink_status(target, error));
    error.clear();
    const std::filesystem::path file = link ? std::filesystem::canonical(target, error) : target;
    if (error) {
        return error;
    }
    NewFile written(file);
    if (written.error()) {
        return written.error();
    }
    keepPermissions(written.descriptor(), file);
    if (const std::error_code failed = written.write(bytes)) {
        return failed;
    }
    return written.renameOver(file);
}

}  // namespace ambersel
