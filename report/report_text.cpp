#include "report/report_text.h"

#include "evaluation/unicode_text.h"

namespace ambersel::report {

std::string marginMeaning(std::optional<double> margin) {
    if (!margin) {
        return "no level change reaches the limit";
    }
    if (*margin >= 0) {
        return "passes with " + decimalsText(*margin, 2) + " dB to spare";
    }
    return "every level must come down by " + decimalsText(-*margin, 2) + " dB";
}

std::string bandText(const BandShare& band) {
    switch (band.place) {
        case BandPlace::Between:
            return frequencyText(band.lower, kFrequencyDigits) + " - " +
                   frequencyText(band.upper, kFrequencyDigits);
        case BandPlace::Below:
            return "below " + frequencyText(band.upper, kFrequencyDigits);
        case BandPlace::Above:
            return "above " + frequencyText(band.lower, kFrequencyDigits);
        case BandPlace::NoFrequency:
            break;
    }
    return "no frequency";
}

std::string percentText(std::optional<double> share) {
    return share ? ambersel::percentText(*share) : "-";
}

std::string printableText(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        const DecodedCodePoint decoded = decodeGeneralizedUtf8(bytes, at);
        if (byte < 0x20 || byte == 0x7F) {
            text += escapedBytes(bytes.substr(at, 1), false);
        } else if (decoded.length > 0 && !isSurrogate(decoded.codePoint) &&
                   decoded.codePoint != 0xFFFE && decoded.codePoint != 0xFFFF) {
            text.append(bytes.substr(at, decoded.length));
            at += decoded.length;
            continue;
        } else {
            text += "\xEF\xBF\xBD";
        }
        ++at;
    }
    return text;
}

}  // namespace ambersel::report
