#include "results/result_text.h"

namespace ambersel {

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

}  // namespace ambersel
