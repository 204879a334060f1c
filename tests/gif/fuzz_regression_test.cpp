// Replays the GIF fuzzer's corpus (fuzz/corpus/gif) and every input it once failed on
// (tests/gif/fuzz_crashers) through the same steps the fuzzer takes.

#include "gif_exercise.h"
#include "support/fuzz_inputs.h"

#include <gtest/gtest.h>

namespace {

TEST(GifFuzzRegression, CorpusAndFormerCrashersRunClean)
{
    const auto corpus = fuzztest::filesOf("fuzz/corpus/gif");
    const auto crashers = fuzztest::filesOf("tests/gif/fuzz_crashers");
    ASSERT_FALSE(corpus.empty());
    ASSERT_FALSE(crashers.empty());
    for (const auto* inputs : { &corpus, &crashers }) {
        for (const auto& [name, bytes] : *inputs) {
            SCOPED_TRACE(name);
            ExerciseGif(fuzztest::bytesOf(bytes), std::size_t(bytes.size()));
        }
    }
}

} // namespace
