// The build without Qt has no SHA-256 yet: it gives no facts.

#include "cli/list_file_facts.h"

namespace ambersel::cli {

std::optional<report::FileFacts> listFileFacts(const FileEvaluation& /*evaluation*/) {
    return std::nullopt;
}

}  // namespace ambersel::cli
