#include "report/file_facts.h"

#include "report/sha256.h"

namespace ambersel::report {
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

ListFileWithFacts readListFileWithFacts(const std::filesystem::path& path) {
    FactsTaker taker;
    ListFileWithFacts read{readListFile(path, &taker.sink()), std::nullopt};
    read.facts = taker.facts(read.reading.contentsTaken, read.reading.stamp);
    return read;
}

std::optional<FileFacts> factsOfReadFile(const std::filesystem::path& path,
                                         const ListFileStamp& stamp) {
    FactsTaker taker;
    return taker.facts(readStampedListFile(path, stamp, taker.sink()), stamp);
}

}  // namespace ambersel::report
