// The C library's entry points that make results: evaluating a list, freeing it, the self-test.

#include <bit>
#include <iterator>
#include <memory>
#include <string>

#include "capi/ambersel.h"
#include "capi/c_boundary.h"
#include "capi/installed_kit.h"
#include "capi/list_result.h"
#include "text/unicode_text.h"
#include "validation/self_test.h"

namespace {

using ambersel::capi::copyText;
using ambersel::capi::guarded;
using ambersel::capi::Strictness;

// By status, from AMBERSEL_OK on.
constexpr const char* kStatusTexts[] = {
    "no error",
    "an argument is invalid: a required pointer is NULL, or a value is out of range",
    "the buffer is too small: the size needed has been returned",
    "out of memory",
    "the path is not valid text, or has no form that names a file",
    "the list file cannot be read",
    "the list is incomplete: it holds no points, or reading stopped before the end of the file",
    "the list gave no verdict, so it has no figure, line, margin, bands or contributors",
    "the band edges must be at least two finite positive frequencies in increasing order",
    "the validation kit cannot be read",
    "the self-test failed: a reference list gave another result than expected",
    "an internal error of the library",
};

bool validFlags(unsigned int flags) {
    return (flags & ~AMBERSEL_STRICT) == 0;
}

Strictness strictnessOf(unsigned int flags) {
    return (flags & AMBERSEL_STRICT) != 0 ? Strictness::Strict : Strictness::Lenient;
}

// Hands `made` to the caller as a result of its own.
int handOver(ambersel_result made, ambersel_result** result) {
    auto owned = std::make_unique<ambersel_result>(std::move(made));
    const int status = owned->status;
    *result = owned.release();
    return status;
}

// What evaluating a kit list gives, in the kit's terms: exactly what ambersel_evaluate_file()
// gives of it.
std::variant<ambersel::validation::ListOutcome, std::string> kitOutcomeOf(
    const std::filesystem::path& path) {
    const ambersel_result result = ambersel::capi::evaluatePath(path, Strictness::Lenient);
    const ambersel::ListAnalysis& analysis = result.list.analysis;
    if (result.status != AMBERSEL_OK) {
        return result.list.errorReason;
    }
    return ambersel::validation::ListOutcome{analysis.points.size(), analysis.stop.end,
                                             analysis.stop.line,
                                             std::bit_cast<std::uint32_t>(analysis.verdict.figure),
                                             ambersel::formatVerdictUtf8(analysis.verdict)};
}

int runSelfTest(const char* kitFolder, char* report, size_t size, size_t* needed, uint64_t* cases,
                uint64_t* differing) {
    const std::optional<std::filesystem::path> folder = kitFolder == nullptr
                                                            ? ambersel::capi::installedKitFolder()
                                                            : ambersel::capi::pathOfText(kitFolder);
    if (!folder && kitFolder != nullptr) {
        return AMBERSEL_ERROR_PATH;
    }
    if (!folder) {
        const int status = copyText("the library cannot tell the folder it was installed in\n",
                                    report, size, needed);
        return status == AMBERSEL_ERROR_BUFFER_TOO_SMALL ? status : AMBERSEL_ERROR_KIT;
    }
    auto manifest = ambersel::validation::readKitManifest(*folder);
    if (const auto* why = std::get_if<std::string>(&manifest)) {
        const int status = copyText(*why + "\n", report, size, needed);
        return status == AMBERSEL_ERROR_BUFFER_TOO_SMALL ? status : AMBERSEL_ERROR_KIT;
    }
    const ambersel::validation::SelfTest test = ambersel::validation::runSelfTest(
        *folder, std::get<std::vector<ambersel::validation::KitCase>>(manifest), kitOutcomeOf);
    if (cases != nullptr) {
        *cases = test.cases.size();
    }
    if (differing != nullptr) {
        *differing = test.differing();
    }
    const int status = copyText(selfTestReport(test), report, size, needed);
    if (status != AMBERSEL_OK) {
        return status;
    }
    return test.passed() ? AMBERSEL_OK : AMBERSEL_ERROR_SELF_TEST_FAILED;
}

}  // namespace

extern "C" {

const char* ambersel_version(void) {
    return AMBERSEL_VERSION;
}

const char* ambersel_status_text(int status) {
    if (status < 0 || static_cast<std::size_t>(status) >= std::size(kStatusTexts)) {
        return "an unknown status";
    }
    return kStatusTexts[static_cast<std::size_t>(status)];
}

int ambersel_evaluate_file(const char* path, unsigned int flags, ambersel_result** result) {
    if (result == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    *result = nullptr;
    if (path == nullptr || !validFlags(flags)) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    return guarded(
        [&] { return handOver(ambersel::capi::evaluateFile(path, strictnessOf(flags)), result); });
}

#if defined(_WIN32)
int ambersel_evaluate_file_w(const wchar_t* path, unsigned int flags, ambersel_result** result) {
    if (result == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    *result = nullptr;
    if (path == nullptr || !validFlags(flags)) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    return guarded([&] {
        const std::wstring_view units(path);
        const std::string text =
            ambersel::generalizedUtf8FromUtf16(std::u16string(units.begin(), units.end()));
        return handOver(ambersel::capi::evaluateFile(text, strictnessOf(flags)), result);
    });
}
#endif

int ambersel_evaluate_buffer(const void* bytes, size_t size, const char* name, unsigned int flags,
                             ambersel_result** result) {
    if (result == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    *result = nullptr;
    if ((bytes == nullptr && size > 0) || !validFlags(flags)) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    return guarded([&] {
        const std::span<const char> contents(static_cast<const char*>(bytes), size);
        return handOver(ambersel::capi::evaluateBytes(contents, name == nullptr ? "-" : name,
                                                      strictnessOf(flags)),
                        result);
    });
}

void ambersel_free(ambersel_result* result) {
    const std::unique_ptr<ambersel_result> owned(result);
}

int ambersel_self_test(const char* kit_folder, char* report, size_t size, size_t* needed,
                       uint64_t* cases, uint64_t* differing) {
    if (report == nullptr && size > 0) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    return guarded([&] { return runSelfTest(kit_folder, report, size, needed, cases, differing); });
}

}  // extern "C"
