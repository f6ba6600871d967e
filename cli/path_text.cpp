#include "cli/path_text.h"

#include "evaluation/value_text.h"

namespace ambersel::cli {

std::string printedPath(std::string_view path) {
#if defined(_WIN32)
    std::string text;
    text.reserve(path.size());
    std::size_t from = 0;
    for (std::size_t at = 0; at < path.size(); ++at) {
        const auto byte = static_cast<unsigned char>(path[at]);
        if (byte < 0x20 || byte == 0x7F) {
            text.append(path.substr(from, at - from));
            text += escapedBytes(path.substr(at, 1), true);
            from = at + 1;
        }
    }
    text.append(path.substr(from));
    return text;
#else
    return escapedBytes(path, true);
#endif
}

}  // namespace ambersel::cli
