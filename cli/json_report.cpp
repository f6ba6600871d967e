#include "cli/json_report.h"

#include <charconv>
#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "evaluation/value_text.h"

namespace ambersel::cli {
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

Json stopObject(const FileEvaluation& evaluation) {
    if (!evaluation.opened) {
        return nullptr;
    }
    const bool malformed = evaluation.stop.end == ReadingEnd::MalformedItem;
    Json stop = Json::object();
    stop["reason"] = stopReasonName(evaluation.stop.end);
    stop["line"] = malformed ? Json(evaluation.stop.line) : Json(nullptr);
    stop["excerpt"] = malformed ? Json(evaluation.stop.excerpt) : Json(nullptr);
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

Json bandsArray(const FileEvaluation& evaluation, const std::vector<double>& bandEdges) {
    const std::vector<double> edges =
        bandEdges.empty() ? decadeEdges(evaluation.points) : bandEdges;
    Json bands = Json::array();
    if (edges.size() < 2) {
        return bands;
    }
    for (const BandShare& band : shareByBand(evaluation.points, edges)) {
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

Json heaviestArray(const FileEvaluation& evaluation, std::size_t count) {
    Json top = Json::array();
    for (const RankedPoint& heavy : heaviestPoints(evaluation.points, count)) {
        const std::optional<double> share = shareOfFigure(heavy.term, evaluation.verdict.figure);
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

}  // namespace

void writeJsonObject(std::ostream& out, const FileEvaluation& evaluation,
                     const JsonContent& content) {
    const bool verdict = evaluation.status != FileStatus::Error;
    const float figure = evaluation.verdict.figure;
    Json object = Json::object();
    object["path"] = evaluation.argument;
    object["verdict"] = verdictName(evaluation.status);
    object["line"] = verdict ? Json(formatVerdictUtf8(evaluation.verdict)) : Json(nullptr);
    object["figure"] = verdict ? floatNumber(figure) : Json(nullptr);
    object["figure_text"] = verdict ? Json(shortestText(figure)) : Json(nullptr);
    object["figure_bits"] = verdict ? Json(floatBitsText(figure)) : Json(nullptr);
    object["point_count"] = evaluation.points.size();
    object["stop"] = stopObject(evaluation);
    object["error"] = verdict ? Json(nullptr) : Json(evaluation.errorReason);
    object["margin_db"] = verdict ? marginNumber(marginDb(figure)) : Json(nullptr);
    object["bands"] = verdict ? bandsArray(evaluation, content.bandEdges) : Json::array();
    if (content.heaviest > 0) {
        object["top"] = verdict ? heaviestArray(evaluation, content.heaviest) : Json::array();
    }
    std::string text = dump(object);
    if (!content.pointTable) {
        out << text;
        return;
    }
    // The points are written one by one, never held as one JSON tree: a list of millions of
    // points would otherwise take gigabytes. Each point is still a library-made object.
    text.pop_back();
    out << text << ",\"points\":[";
    float running = 0;
    for (std::size_t index = 0; verdict && index < evaluation.points.size(); ++index) {
        const PointContribution c = contributeToTestFigure(evaluation.points[index], running);
        running = c.runningFigure;
        out << (index == 0 ? "" : ",") << dump(pointObject(index, evaluation.points[index], c));
    }
    out << "]}";
}

}  // namespace ambersel::cli
