#include "results/json_object.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "text/value_text.h"

namespace ambersel {
namespace {

using Json = nlohmann::ordered_json;

std::string dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A float as the JSON number whose text is its shortest decimal: the library writes doubles, and
// the double nearest to that decimal prints as the decimal itself. Not finite: null.
Json floatNumber(float value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    const std::string text = shortestText(value);
    double widened = 0;
    std::from_chars(text.data(), text.data() + text.size(), widened);
    return widened;
}

Json doubleNumber(double value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    return value;
}

Json stopObject(const EvaluatedList& list) {
    if (!list.opened) {
        return nullptr;
    }
    const ReadingStop& reading = list.analysis.stop;
    const bool malformed = reading.end == ReadingEnd::MalformedItem;
    Json stop = Json::object();
    stop["reason"] = stopReasonName(reading.end);
    stop["line"] = malformed ? Json(reading.line) : Json(nullptr);
    stop["excerpt"] = malformed ? Json(reading.excerpt) : Json(nullptr);
    return stop;
}

Json pointObject(std::size_t index, FrequencyLevelPoint point, const PointContribution& c) {
    Json object = Json::object();
    object["index"] = index + 1;
    object["frequency"] = floatNumber(point.frequency);
    object["level"] = floatNumber(point.level);
    object["a"] = floatNumber(c.a);
    object["b"] = floatNumber(c.b);
    object["V"] = floatNumber(c.V);
    object["Z"] = floatNumber(c.Z);
    object["w"] = doubleNumber(c.w);
    object["s"] = doubleNumber(c.s);
    object["K"] = floatNumber(c.K);
    object["D"] = floatNumber(c.D);
    object["term"] = doubleNumber(c.term);
    object["running_figure"] = floatNumber(c.runningFigure);
    return object;
}

const char* placeName(BandPlace place) {
    switch (place) {
        case BandPlace::Between:
            return "between";
        case BandPlace::Below:
            return "below";
        case BandPlace::Above:
            return "above";
        case BandPlace::NoFrequency:
            break;
    }
    return "no_frequency";
}

// The margin as printed, to 0.01 dB; null where F has none.
Json marginNumber(std::optional<double> margin) {
    return margin ? Json(roundedMargin(*margin)) : Json(nullptr);
}

Json bandsArray(const ListAnalysis& analysis) {
    Json bands = Json::array();
    for (const BandShare& band : analysis.bands) {
        Json entry = Json::object();
        entry["place"] = placeName(band.place);
        entry["lower_hz"] = doubleNumber(band.lower);
        entry["upper_hz"] = doubleNumber(band.upper);
        entry["point_count"] = band.pointCount;
        entry["sum_of_terms"] = doubleNumber(band.sumOfTerms);
        entry["share"] = band.share ? doubleNumber(*band.share) : Json(nullptr);
        entry["margin_without_db"] = marginNumber(band.marginWithout);
        bands.push_back(std::move(entry));
    }
    return bands;
}

Json heaviestArray(const ListAnalysis& analysis, std::size_t count) {
    Json top = Json::array();
    for (std::size_t rank = 0; rank < count && rank < analysis.heaviest.size(); ++rank) {
        const RankedPoint& heavy = analysis.heaviest[rank];
        const std::optional<double>& share = heavy.share;
        Json entry = Json::object();
        entry["index"] = heavy.index + 1;
        entry["frequency"] = floatNumber(heavy.point.frequency);
        entry["level"] = floatNumber(heavy.point.level);
        entry["term"] = doubleNumber(heavy.term);
        entry["share"] = share ? doubleNumber(*share) : Json(nullptr);
        top.push_back(std::move(entry));
    }
    return top;
}

// Writes an object member by member: each key and value through the library's serialiser, the
// punctuation between them here.
class ObjectWriter {
  public:
    explicit ObjectWriter(std::ostream& out) : m_out(out) {}

    void member(std::string_view key, const Json& value) {
        open(key);
        m_out << dump(value);
    }
    // A member whose value is an array written element by element by `elements`, which calls
    // the function it is given once for each.
    template <typename Elements>
    void streamedArray(std::string_view key, Elements&& elements) {
        open(key);
        m_out << '[';
        bool first = true;
        elements([&](const Json& element) {
            m_out << (first ? "" : ",") << dump(element);
            first = false;
        });
        m_out << ']';
    }
    void close() { m_out << (m_first ? "{}" : "}"); }

  private:
    void open(std::string_view key) {
        m_out << (m_first ? "{" : ",") << dump(Json(key)) << ':';
        m_first = false;
    }

    std::ostream& m_out;
    bool m_first = true;
};

}  // namespace

void writeJsonObject(std::ostream& out, const EvaluatedList& list, const JsonContent& content) {
    const bool verdict = list.hasVerdict();
    const ListAnalysis& analysis = list.analysis;
    const float figure = analysis.verdict.figure;
    ObjectWriter object(out);
    object.member("path", list.name);
    object.member("verdict", verdictName(list.status));
    object.member("line", verdict ? Json(formatVerdictUtf8(analysis.verdict)) : Json(nullptr));
    object.member("figure", verdict ? floatNumber(figure) : Json(nullptr));
    object.member("figure_text", verdict ? Json(shortestText(figure)) : Json(nullptr));
    object.member("figure_bits", verdict ? Json(floatBitsText(figure)) : Json(nullptr));
    object.member("point_count", analysis.points.size());
    object.member("stop", stopObject(list));
    object.member("error", verdict ? Json(nullptr) : Json(list.errorReason));
    object.member("margin_db", verdict ? marginNumber(analysis.margin) : Json(nullptr));
    object.member("bands", verdict ? bandsArray(analysis) : Json::array());
    if (content.heaviest > 0) {
        object.member("top", verdict ? heaviestArray(analysis, content.heaviest) : Json::array());
    }
    if (content.pointTable) {
        object.streamedArray("points", [&](const auto& element) {
            float running = 0;
            for (std::size_t index = 0; verdict && index < analysis.points.size(); ++index) {
                const PointContribution c = contributeToTestFigure(analysis.points[index], running);
                running = c.runningFigure;
                element(pointObject(index, analysis.points[index], c));
            }
        });
    }
    object.close();
}

}  // namespace ambersel
