#include "files/list_reading.h"

#include <cstdio>
#include <utility>

#include "files/sha256.h"

namespace ambersel {
namespace {

// The sink that hashes a file's bytes, and the facts they give once the reading vouches for them.
class FactsTaker {
  public:
    const ContentSink& sink() const { return m_sink; }

    std::optional<FileFacts> facts(bool contentsTaken, const ListFileStamp& stamp) {
        if (!contentsTaken) {
            return std::nullopt;
        }
        return FileFacts{static_cast<std::uint64_t>(stamp.size), stamp.modifiedSeconds,
                         m_digest.hexDigest()};
    }

  private:
    Sha256 m_digest;
    ContentSink m_sink = [this](std::span<const unsigned char> bytes) { m_digest.add(bytes); };
};

}  // namespace

EvaluatedList evaluateListFile(std::string name, const std::filesystem::path& path,
                               const AnalysisScope& scope, FactsWanted facts,
                               ListFileStamp* stamp) {
    std::optional<FactsTaker> taker;
    if (facts == FactsWanted::Yes) {
        taker.emplace();
    }
    ListFileReading reading = readListFile(path, taker ? &taker->sink() : nullptr);
    if (stamp != nullptr) {
        *stamp = reading.stamp;
    }
    if (!reading.opened()) {
        return unopenedList(std::move(name), reading.openError);
    }
    EvaluatedList list =
        evaluatedList(std::move(name), std::move(reading.points), std::move(reading.stop), scope);
    if (taker) {
        list.facts = taker->facts(reading.contentsTaken, reading.stamp);
        list.factsWithheld = !list.facts;
    }
    return list;
}

EvaluatedList evaluateStandardInput(const AnalysisScope& scope) {
    FrequencyLevelList points;
    ReadingStop stop = scanFrequencyLevelList(stdin, points);
    return evaluatedList("-", std::move(points), std::move(stop), scope);
}

EvaluatedList unopenedList(std::string name, std::error_code why) {
    EvaluatedList list;
    list.name = std::move(name);
    list.errorReason = why.message();
    return list;
}

std::optional<FileFacts> factsOfReadFile(const std::filesystem::path& path,
                                         const ListFileStamp& stamp) {
    FactsTaker taker;
    return taker.facts(readStampedListFile(path, stamp, taker.sink()), stamp);
}

}  // namespace ambersel
