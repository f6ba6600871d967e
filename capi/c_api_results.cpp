// The C library's entry points that read an evaluated list. None changes the result, so several
// threads may read one result at once.

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "capi/ambersel.h"
#include "capi/c_boundary.h"
#include "capi/list_result.h"
#include "evaluation/list_analysis.h"
#include "evaluation/test_figure.h"
#include "text/value_text.h"

namespace {

using ambersel::EvaluatedList;
using ambersel::ListStatus;
using ambersel::capi::copyItems;
using ambersel::capi::copyText;
using ambersel::capi::guarded;

bool hasVerdict(const ambersel_result& result) {
    return result.list.hasVerdict();
}

// The edges a caller gave, or none for the decades; false when they are not band edges.
bool bandEdges(const double* edges, std::size_t count, std::vector<double>& given) {
    if (edges == nullptr) {
        return count == 0;
    }
    given.assign(edges, edges + count);
    if (given.size() < 2) {
        return false;
    }
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (!std::isfinite(given[i]) || given[i] <= 0 || (i > 0 && given[i] <= given[i - 1])) {
            return false;
        }
    }
    return true;
}

int64_t placeCode(ambersel::BandPlace place) {
    switch (place) {
        case ambersel::BandPlace::Between:
            return AMBERSEL_BAND_BETWEEN;
        case ambersel::BandPlace::Below:
            return AMBERSEL_BAND_BELOW;
        case ambersel::BandPlace::Above:
            return AMBERSEL_BAND_ABOVE;
        case ambersel::BandPlace::NoFrequency:
            break;
    }
    return AMBERSEL_BAND_NO_FREQUENCY;
}

int stopCode(const EvaluatedList& list) {
    if (!list.opened) {
        return AMBERSEL_STOP_NOT_OPENED;
    }
    switch (list.analysis.stop.end) {
        case ambersel::ReadingEnd::EndOfFile:
            return AMBERSEL_STOP_END_OF_FILE;
        case ambersel::ReadingEnd::MalformedItem:
            return AMBERSEL_STOP_MALFORMED_ITEM;
        case ambersel::ReadingEnd::ReadError:
            return AMBERSEL_STOP_READ_ERROR;
        case ambersel::ReadingEnd::FileChanged:
            break;
    }
    return AMBERSEL_STOP_FILE_CHANGED;
}

// How many heaviest points to rank: no more than the list holds (a caller's SIZE_MAX must not
// become an allocation), but still some when some were asked, so that "top" is there, empty.
std::size_t heaviestAsked(const ambersel_result& result, std::size_t wanted) {
    return std::min(wanted, std::max<std::size_t>(result.list.analysis.points.size(), 1));
}

std::vector<ambersel_band> bandsOf(const ambersel_result& result,
                                   const std::vector<double>& edges) {
    std::vector<ambersel_band> bands;
    for (const ambersel::BandShare& share : ambersel::capi::bandsOf(result, edges)) {
        bands.push_back(ambersel_band{
            placeCode(share.place), share.lower, share.upper, share.pointCount, share.sumOfTerms,
            share.share.has_value(), share.share.value_or(0), share.marginWithout.has_value(),
            share.marginWithout ? ambersel::roundedMargin(*share.marginWithout) : 0});
    }
    return bands;
}

std::vector<ambersel_contributor> heaviestOf(const ambersel_result& result, std::size_t count) {
    std::vector<ambersel_contributor> points;
    for (const ambersel::RankedPoint& heavy : ambersel::capi::heaviestOf(result, count)) {
        points.push_back(ambersel_contributor{heavy.index + 1, heavy.point.frequency,
                                              heavy.point.level, heavy.term,
                                              heavy.share.has_value(), heavy.share.value_or(0)});
    }
    return points;
}

}  // namespace

extern "C" {

int ambersel_message(const ambersel_result* result, char* buffer, size_t size, size_t* needed) {
    if (result == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    return copyText(hasVerdict(*result) ? "" : result->list.errorReason, buffer, size, needed);
}

int ambersel_verdict(const ambersel_result* result, int* verdict) {
    if (result == nullptr || verdict == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    const ListStatus status = result->list.status;
    *verdict = status == ListStatus::Pass   ? AMBERSEL_PASS
               : status == ListStatus::Fail ? AMBERSEL_FAIL
                                            : AMBERSEL_NONE;
    return AMBERSEL_OK;
}

int ambersel_figure(const ambersel_result* result, float* figure, uint32_t* bits) {
    if (result == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    if (!hasVerdict(*result)) {
        return AMBERSEL_ERROR_NO_VERDICT;
    }
    const float value = result->list.analysis.verdict.figure;
    if (figure != nullptr) {
        *figure = value;
    }
    if (bits != nullptr) {
        *bits = std::bit_cast<uint32_t>(value);
    }
    return AMBERSEL_OK;
}

int ambersel_result_line(const ambersel_result* result, char* buffer, size_t size, size_t* needed) {
    if (result == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    if (!hasVerdict(*result)) {
        return AMBERSEL_ERROR_NO_VERDICT;
    }
    return guarded([&] {
        return copyText(ambersel::formatVerdictUtf8(result->list.analysis.verdict), buffer, size,
                        needed);
    });
}

int ambersel_point_count(const ambersel_result* result, uint64_t* count) {
    if (result == nullptr || count == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    *count = result->list.analysis.points.size();
    return AMBERSEL_OK;
}

int ambersel_stop(const ambersel_result* result, int* reason, uint64_t* line, char* excerpt,
                  size_t size, size_t* needed) {
    if (result == nullptr || reason == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    const EvaluatedList& list = result->list;
    *reason = stopCode(list);
    const bool malformed = *reason == AMBERSEL_STOP_MALFORMED_ITEM;
    if (line != nullptr) {
        *line = malformed ? list.analysis.stop.line : 0;
    }
    if (excerpt == nullptr && size == 0 && needed == nullptr) {
        return AMBERSEL_OK;
    }
    return copyText(malformed ? std::string_view(list.analysis.stop.excerpt) : std::string_view(),
                    excerpt, size, needed);
}

int ambersel_margin(const ambersel_result* result, int* has_margin, double* margin_db) {
    if (result == nullptr || has_margin == nullptr || margin_db == nullptr) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    if (!hasVerdict(*result)) {
        return AMBERSEL_ERROR_NO_VERDICT;
    }
    const std::optional<double>& margin = result->list.analysis.margin;
    *has_margin = margin.has_value() ? 1 : 0;
    *margin_db = margin ? ambersel::roundedMargin(*margin) : 0;
    return AMBERSEL_OK;
}

int ambersel_bands(const ambersel_result* result, const double* edges, size_t edge_count,
                   ambersel_band* bands, size_t capacity, size_t* count) {
    if (result == nullptr || count == nullptr || (bands == nullptr && capacity > 0)) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    return guarded([&] {
        std::vector<double> given;
        if (!bandEdges(edges, edge_count, given)) {
            return AMBERSEL_ERROR_BAND_EDGES;
        }
        if (!hasVerdict(*result)) {
            return AMBERSEL_ERROR_NO_VERDICT;
        }
        const std::vector<ambersel_band> all = bandsOf(*result, given);
        return copyItems<ambersel_band>(all, bands, capacity, count);
    });
}

int ambersel_heaviest(const ambersel_result* result, size_t wanted, ambersel_contributor* points,
                      size_t capacity, size_t* count) {
    if (result == nullptr || count == nullptr || (points == nullptr && capacity > 0)) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    if (!hasVerdict(*result)) {
        return AMBERSEL_ERROR_NO_VERDICT;
    }
    return guarded([&] {
        const std::vector<ambersel_contributor> all =
            heaviestOf(*result, heaviestAsked(*result, wanted));
        return copyItems<ambersel_contributor>(all, points, capacity, count);
    });
}

int ambersel_json(const ambersel_result* result, size_t top, const double* edges, size_t edge_count,
                  int with_points, char* buffer, size_t size, size_t* needed) {
    if (result == nullptr || (buffer == nullptr && size > 0)) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    return guarded([&] {
        std::vector<double> given;
        if (!bandEdges(edges, edge_count, given)) {
            return AMBERSEL_ERROR_BAND_EDGES;
        }
        return copyText(ambersel::capi::jsonObject(*result, heaviestAsked(*result, top), given,
                                                   with_points != 0),
                        buffer, size, needed);
    });
}

}  // extern "C"
