#include "plot/pdf/srgb_profile.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "plot/pdf/big_endian.h"

namespace ambersel::plot::pdf {
namespace {

using Vector = std::array<double, 3>;
using Matrix = std::array<Vector, 3>;

// The tone curve's samples: as many as common sRGB profiles hold, enough for 16-bit work.
constexpr int kCurveSamples = 1024;
// The profile connection space's white, D50, as ICC profiles state it.
constexpr Vector kD50{0.9642, 1.0, 0.8249};

Vector xyzOf(double x, double y) {
    return {x / y, 1.0, (1 - x - y) / y};
}

Vector times(const Matrix& m, const Vector& v) {
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
            m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

Matrix times(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            product[row][column] =
                a[row][0] * b[0][column] + a[row][1] * b[1][column] + a[row][2] * b[2][column];
        }
    }
    return product;
}

Matrix inverse(const Matrix& m) {
    const double determinant = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix result{};
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            // The cofactor of m[column][row], from the rows and columns after it, cyclically.
            const std::size_t r1 = (column + 1) % 3;
            const std::size_t r2 = (column + 2) % 3;
            const std::size_t c1 = (row + 1) % 3;
            const std::size_t c2 = (row + 2) % 3;
            result[row][column] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / determinant;
        }
    }
    return result;
}

// The sRGB primaries in XYZ, as columns, seen under D50 (Bradford adaptation from D65).
Matrix colorants() {
    const Matrix primaries{{{xyzOf(0.64, 0.33)[0], xyzOf(0.30, 0.60)[0], xyzOf(0.15, 0.06)[0]},
                            {1.0, 1.0, 1.0},
                            {xyzOf(0.64, 0.33)[2], xyzOf(0.30, 0.60)[2], xyzOf(0.15, 0.06)[2]}}};
    const Vector d65 = xyzOf(0.3127, 0.3290);
    const Vector scale = times(inverse(primaries), d65);
    Matrix toXyz{};
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            toXyz[row][column] = primaries[row][column] * scale[column];
        }
    }
    const Matrix bradford{
        {{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
    const Vector from = times(bradford, d65);
    const Vector to = times(bradford, kD50);
    const Matrix gain{{{to[0] / from[0], 0, 0}, {0, to[1] / from[1], 0}, {0, 0, to[2] / from[2]}}};
    return times(times(inverse(bradford), times(gain, bradford)), toXyz);
}

// The fifth root of `value` (0 to 1) by Newton's method, which from 1 falls steadily onto it.
double fifthRoot(double value) {
    double root = 1;
    for (int step = 0; step < 64; ++step) {
        const double square = root * root;
        root = (4 * root + value / (square * square)) / 5;
    }
    return root;
}

// The sRGB tone curve: encoded value (0 to 1) to linear light, x^2.4 as x^2 times (x^2)^(1/5).
double linearOf(double encoded) {
    if (encoded <= 0.04045) {
        return encoded / 12.92;
    }
    const double base = (encoded + 0.055) / 1.055;
    const double square = base * base;
    return square * fifthRoot(square);
}

void appendFixed(std::string& out, double value) {
    appendU32(out,
              static_cast<std::uint32_t>(static_cast<std::int32_t>(std::round(value * 65536))));
}

std::string xyzTag(const Vector& xyz) {
    std::string tag = "XYZ ";
    appendU32(tag, 0);
    for (const double component : xyz) {
        appendFixed(tag, component);
    }
    return tag;
}

std::string curveTag() {
    std::string tag = "curv";
    appendU32(tag, 0);
    appendU32(tag, kCurveSamples);
    for (int sample = 0; sample < kCurveSamples; ++sample) {
        const double linear = linearOf(sample / double{kCurveSamples - 1});
        appendU16(tag, static_cast<std::uint32_t>(std::round(linear * 65535)));
    }
    return tag;
}

// A version 2 description: ASCII, with empty Unicode and ScriptCode parts.
std::string descriptionTag(std::string_view text) {
    std::string tag = "desc";
    appendU32(tag, 0);
    appendU32(tag, static_cast<std::uint32_t>(text.size() + 1));
    tag += text;
    tag += '\0';
    appendU32(tag, 0);
    appendU32(tag, 0);
    appendU16(tag, 0);
    tag += '\0';
    tag.append(67, '\0');
    return tag;
}

std::string textTag(std::string_view text) {
    std::string tag = "text";
    appendU32(tag, 0);
    tag += text;
    tag += '\0';
    return tag;
}

}  // namespace

std::string srgbProfile() {
    const Matrix xyz = colorants();
    const std::string curve = curveTag();
    const std::vector<std::pair<std::string_view, std::string>> tags{
        {"desc", descriptionTag(kSrgbName)},
        {"cprt", textTag("No copyright, use freely")},
        {"wtpt", xyzTag(kD50)},
        {"rXYZ", xyzTag({xyz[0][0], xyz[1][0], xyz[2][0]})},
        {"gXYZ", xyzTag({xyz[0][1], xyz[1][1], xyz[2][1]})},
        {"bXYZ", xyzTag({xyz[0][2], xyz[1][2], xyz[2][2]})},
        {"rTRC", curve},
        {"gTRC", curve},
        {"bTRC", curve}};
    std::string table;
    std::string data;
    appendU32(table, static_cast<std::uint32_t>(tags.size()));
    const std::size_t dataStart = 128 + 4 + tags.size() * 12;
    for (const auto& [signature, tag] : tags) {
        table += signature;
        appendU32(table, static_cast<std::uint32_t>(dataStart + data.size()));
        appendU32(table, static_cast<std::uint32_t>(tag.size()));
        data += tag;
        data.append((4 - data.size() % 4) % 4, '\0');
    }
    std::string header;
    appendU32(header, static_cast<std::uint32_t>(128 + table.size() + data.size()));
    appendU32(header, 0);           // no preferred colour management module
    appendU32(header, 0x02100000);  // version 2.1
    header += "mntrRGB XYZ ";
    // Its date: when these parameters were published, so that the bytes never change.
    for (const std::uint32_t part : {1999, 10, 18, 0, 0, 0}) {
        appendU16(header, part);
    }
    header += "acsp";
    header.append(64 - header.size(), '\0');  // platform, flags, maker, model, attributes
    appendU32(header, 0);                     // perceptual rendering
    for (const double component : kD50) {
        appendFixed(header, component);
    }
    header.append(128 - header.size(), '\0');
    return header + table + data;
}

}  // namespace ambersel::plot::pdf
