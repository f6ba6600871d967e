#include "validation/kit_manifest.h"

#include <bit>
#include <charconv>
#include <fstream>
#include <optional>
#include <ostream>

#include "evaluation/evaluated_list.h"
#include "text/value_text.h"

namespace ambersel::validation {
namespace {

constexpr std::size_t kFieldCount = 8;

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

template <typename Number>
bool parsedNumber(std::string_view text, Number& value, int base = 10) {
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && parsed.ec == std::errc() && parsed.ptr == text.data() + text.size();
}

bool parsedStop(std::string_view text, ReadingEnd& stop) {
    for (const ReadingEnd candidate : {ReadingEnd::EndOfFile, ReadingEnd::MalformedItem}) {
        if (text == stopReasonName(candidate)) {
            stop = candidate;
            return true;
        }
    }
    return false;
}

// One case from its fields, or nothing when a field is not what the manifest holds there.
std::optional<KitCase> caseOf(const std::vector<std::string_view>& fields) {
    constexpr std::string_view kBitsPrefix = "0x";
    constexpr std::size_t kDigestLength = 64;
    KitCase kitCase{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), {}};
    ListOutcome& expected = kitCase.expected;
    const std::string_view bits = fields[6];
    if (kitCase.name.empty() || kitCase.file.empty() || kitCase.sha256.size() != kDigestLength ||
        !parsedNumber(fields[3], expected.pointCount) || !parsedStop(fields[4], expected.stop) ||
        !parsedNumber(fields[5], expected.stopLine) || !bits.starts_with(kBitsPrefix) ||
        !parsedNumber(bits.substr(kBitsPrefix.size()), expected.figureBits, 16) ||
        fields[7].empty()) {
        return std::nullopt;
    }
    expected.line = std::string(fields[7]);
    return kitCase;
}

}  // namespace

std::variant<std::vector<KitCase>, std::string> readKitManifest(
    const std::filesystem::path& folder) {
    const std::filesystem::path path = folder / kManifestName;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "cannot open the kit's manifest " + path.generic_string();
    }
    std::vector<KitCase> cases;
    std::string line;
    for (std::uint64_t number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::vector<std::string_view> fields = fieldsOf(line);
        std::optional<KitCase> kitCase;
        if (fields.size() == kFieldCount) {
            kitCase = caseOf(fields);
        }
        if (!kitCase) {
            return "line " + std::to_string(number) + " of the kit's manifest is not a case";
        }
        cases.push_back(std::move(*kitCase));
    }
    if (in.bad()) {
        return "cannot read the kit's manifest " + path.generic_string();
    }
    if (cases.empty()) {
        return "the kit's manifest holds no case";
    }
    return cases;
}

void writeKitManifest(std::ostream& out, std::string_view comment,
                      const std::vector<KitCase>& cases) {
    while (!comment.empty()) {
        const std::size_t end = comment.find('\n');
        out << '#' << comment.substr(0, end) << '\n';
        comment.remove_prefix(end == std::string_view::npos ? comment.size() : end + 1);
    }
    out << "#case\tfile\tsha256\tpoint_count\tstop\tstop_line\tfigure_bits\tline\n";
    for (const KitCase& kitCase : cases) {
        const ListOutcome& expected = kitCase.expected;
        out << kitCase.name << '\t' << kitCase.file << '\t' << kitCase.sha256 << '\t'
            << expected.pointCount << '\t' << stopReasonName(expected.stop) << '\t'
            << expected.stopLine << '\t' << floatBitsText(std::bit_cast<float>(expected.figureBits))
            << '\t' << expected.line << '\n';
    }
}

}  // namespace ambersel::validation
