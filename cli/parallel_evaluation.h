#pragma once

// Evaluating many list files on every core while their outputs come out exactly as one after the
// other would write them: in the order given, each file whole.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/file_evaluation.h"

namespace ambersel::cli {

// Files claimed ahead of the one being delivered, per job: enough that a slow file does not leave
// a job idle, few enough that the points held stay a handful of lists.
inline constexpr std::size_t kFilesAheadPerJob = 4;

// One list file as a worker leaves it for the calling thread: the evaluation and the texts
// prepared from it there, so that formatting runs on every core as well.
struct PreparedFile {
    FileEvaluation evaluation;
    std::string standardOutput;
    std::string standardError;
    std::string tableRow;
};

// Runs on a worker thread once the file is evaluated; must touch nothing but `file` and what is
// safe to share between threads.
using PrepareFile = std::function<void(PreparedFile& file)>;
// Runs on the calling thread, once for each file, in the order of `files`. What it leaves in
// `file` is dropped before the next file's turn.
using DeliverFile = std::function<void(PreparedFile& file)>;

// Evaluates `files` (as evaluateListFile does, with the files' facts when `facts` asks for them)
// on `jobs` threads, the calling thread one of them, prepares each on the thread that evaluated it
// and delivers each on the calling thread in order. At most a few files per job are held at once,
// evaluated but not yet delivered (kFilesAheadPerJob), so memory does not grow with the number of
// files. Files named
// "-" read standard input in their order. With one job everything runs on the calling thread. An
// exception thrown while evaluating, preparing or delivering stops the workers and is rethrown
// here once every thread has ended.
void evaluateInOrder(const std::vector<std::string>& files, unsigned jobs, FileFactsWanted facts,
                     const PrepareFile& prepare, const DeliverFile& deliver);

}  // namespace ambersel::cli
