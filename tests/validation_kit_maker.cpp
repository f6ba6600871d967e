// Writes the validation kit: its reference lists, and the manifest of what each must give, every
// expected value computed by the C library's own fscanf loop and a plain figure loop, never by the
// program the kit checks.
//
//   validation_kit_maker EXAMPLES_FOLDER KIT_FOLDER
//
// tests/CMakeLists.txt runs it into the build folder and compares with validation/kit/; to change
// the kit, run it onto validation/kit/ itself.

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "files/sha256.h"
#include "tests/support/figure_reference.h"
#include "tests/support/realistic_list.h"
#include "tests/support/scan_format_reference.h"
#include "validation/kit_manifest.h"

namespace {

using ambersel::support::readTextWithScanFormat;
using ambersel::support::referenceVerdict;
using ambersel::validation::KitCase;
namespace fs = std::filesystem;

struct ListText {
    std::string_view name;
    std::string text;
};

std::string repeated(std::string_view piece, std::size_t count) {
    std::string text;
    while (count-- > 0) {
        text += piece;
    }
    return text;
}

std::string utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// The worked examples of the figure and the list format, then the reader's hard cases.
std::vector<ListText> writtenLists() {
    return {
        {"figure_empty_list", ""},
        {"figure_one_point_passes", "1000,100\n"},
        {"figure_one_point_fails", "1000,120\n"},
        {"figure_two_points", "1000,100\n30,60\n"},
        {"figure_two_points_reversed", "30,60\n1000,100\n"},
        {"figure_nine_equal_points_fail", repeated("1000,100\n", 9)},
        {"figure_high_frequency_tiny_term", "1000000,40\n"},
        {"figure_just_below_one", "1000,118.3411\n"},
        {"figure_just_above_one", "1000,118.3412\n"},
        {"figure_zero_frequency_infinite", "0,50\n"},
        {"figure_negative_zero_frequency", "-0,50\n"},
        {"figure_negative_frequency_not_a_number", "1000,120\n-5,40\n"},
        {"figure_level_overflows", "1000,1e39\n"},
        {"figure_level_underflows", "1000,-2000\n"},
        {"reader_crlf_line_end", "1000000,40\r\n"},
        {"reader_no_final_line_end", "1000000,40"},
        {"reader_blank_lines_between", "150000,60\n\n\n30000000,30\n"},
        {"reader_exponents", "1.5E+05,6.0E+01\n"},
        {"reader_header_line", "Frequency,Level\n1000,100\n"},
        {"reader_blank_before_comma", "150000 ,60\n"},
        {"reader_blank_after_comma", "150000, 60\n"},
        {"reader_line_end_after_comma", "1000,\n100\n"},
        {"reader_no_digit_before_point", ".5,7\n"},
        {"reader_no_digit_after_point", "7.,5\n1000,100.\n"},
        {"reader_semicolon", "150000;60\n"},
        {"reader_text_in_the_middle", "1,2\n3,4\nend\n5,6\n"},
        {"reader_lone_number", "1,2\n3\n"},
        {"reader_three_numbers", "1,2,3\n"},
        {"reader_utf8_byte_order_mark",
         "\xEF\xBB\xBF"
         "1000,100\n"},
        {"reader_utf16_file", utf16Le("1000,100\r\n")},
        {"reader_tabs_and_form_feeds", "\t1000,\t100\v\f150000,\r\n60\n"},
        {"reader_signs", "+1000,+100\n+2000,-10.5\n+.5e3,-.5e1\n"},
        {"reader_lone_point", "1000,100\n.,5\n"},
        {"reader_exponent_without_digits", "1000,100\n1e,5\n"},
        {"reader_hexadecimal", "0x3E8,0x64\n0x1.8p3,40\n"},
        {"reader_infinity_and_nan", "1000,100\ninf,40\n1000,nan\n"},
        {"reader_long_number",
         "1" + repeated("0", 3) + "." + repeated("0", 2000) + "1," + repeated("9", 2) + "\n"},
        {"reader_halfway_rounding", "1.000000059604644775390625,100.000003814697265625\n"},
        {"reader_subnormal_level", "1000,1e-45\n1000,1e-50\n"},
        {"reader_nul_byte", std::string("1000,100\n2000,\0"
                                        "50\n",
                                        18)},
    };
}

std::string sha256Of(std::string_view bytes) {
    ambersel::Sha256 digest;
    digest.add(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    return digest.hexDigest();
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The case of one list whose bytes are written to `lists`/NAME.ASC.
KitCase referenceCase(std::string_view name, const std::string& bytes, const fs::path& lists) {
    const std::string file = "lists/" + std::string(name) + ".ASC";
    std::ofstream(lists / (std::string(name) + ".ASC"), std::ios::binary) << bytes;
    const ambersel::support::ScanFormatReading reading = readTextWithScanFormat(bytes);
    const ambersel::support::ReferenceVerdict verdict = referenceVerdict(reading.points);
    return KitCase{std::string(name),
                   file,
                   sha256Of(bytes),
                   {reading.points.size(), reading.stop.end, reading.stop.line,
                    std::bit_cast<std::uint32_t>(verdict.figure), verdict.line}};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: validation_kit_maker EXAMPLES_FOLDER KIT_FOLDER\n";
        return 2;
    }
    const fs::path examples = argv[1];
    const fs::path kit = argv[2];
    const fs::path lists = kit / "lists";
    fs::create_directories(lists);
    std::vector<KitCase> cases;
    for (const ListText& list : writtenLists()) {
        cases.push_back(referenceCase(list.name, list.text, lists));
    }
    for (const char* example : {"emission_150k_30M", "switching_supply_fail"}) {
        const std::string name = std::string("scan_") + example;
        cases.push_back(
            referenceCase(name, contentsOf(examples / (std::string(example) + ".ASC")), lists));
    }
    // Realistic scans of growing length, 9 kHz to 1 GHz.
    const fs::path scratch = kit / "realistic.tmp";
    for (const std::uint64_t points : {1000, 20000}) {
        if (!ambersel::support::writeRealisticList(scratch, points)) {
            std::cerr << "cannot write " << scratch << "\n";
            return 1;
        }
        cases.push_back(referenceCase("scan_realistic_" + std::to_string(points) + "_points",
                                      contentsOf(scratch), lists));
    }
    fs::remove(scratch);
    std::ofstream manifest(kit / ambersel::validation::kManifestName, std::ios::binary);
    ambersel::validation::writeKitManifest(
        manifest,
        " The validation kit of the Ambersel Test Calculator: each reference list in lists/ and\n"
        " the result it must give, to the bit. Every expected value was computed by the C\n"
        " library's own fscanf(\"%f,%f\\n\") loop and a plain loop over the figure's steps, not\n"
        " by the program under test. Fields are separated by tabs.",
        cases);
    return manifest.flush() ? 0 : 1;
}
