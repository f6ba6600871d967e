#include "cli/file_list.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "cli/argument_text.h"
#include "cli/file_list_text.h"
#include "evaluation/file_handle.h"

namespace ambersel::cli {
namespace {

std::optional<std::string> readAll(std::FILE* file, std::string& text) {
    char buffer[1 << 16];
    while (true) {
        errno = 0;
        const std::size_t read = std::fread(buffer, 1, sizeof buffer, file);
        text.append(buffer, read);
        if (read < sizeof buffer) {
            break;
        }
    }
    if (std::ferror(file)) {
        return errno != 0 ? std::string(std::strerror(errno)) : std::string("read error");
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> pathsOfFileList(const std::string& text) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::size_t last = end;
        if (last > start && text[last - 1] == '\r') {
            --last;
        }
        if (last > start) {
            paths.emplace_back(text, start, last - start);
        }
        start = end + 1;
    }
    return paths;
}

std::variant<std::vector<std::string>, std::string> readFileList(const std::string& argument) {
    std::string text;
    std::optional<std::string> failure;
    if (argument == "-") {
        failure = readAll(stdin, text);
    } else {
        const std::optional<std::filesystem::path> path = pathOfArgument(argument);
        if (!path || argument.empty()) {
            return std::string("no such file name");
        }
        errno = 0;
#if defined(_WIN32)
        FileHandle file(_wfopen(path->c_str(), L"rb"));
#else
        FileHandle file(std::fopen(path->c_str(), "rb"));
#endif
        if (!file) {
            return std::string(std::strerror(errno));
        }
        failure = readAll(file.get(), text);
    }
    if (failure) {
        return *failure;
    }
    return pathsOfFileList(fileListText(text));
}

}  // namespace ambersel::cli
