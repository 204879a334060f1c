// Replays the artwork fuzzer's corpus (fuzz/corpus/art) and every input it once failed on
// (tests/art/fuzz_crashers) through the same readers and checks the fuzzer uses.

#include "art_exercise.h"
#include "support/fuzz_inputs.h"

#include <gtest/gtest.h>

namespace {

TEST(ArtFuzzRegression, CorpusAndFormerCrashersRunClean)
{
    const auto corpus = fuzztest::filesOf("fuzz/corpus/art");
    const auto crashers = fuzztest::filesOf("tests/art/fuzz_crashers");
    ASSERT_FALSE(corpus.empty());
    for (const auto* inputs : { &corpus, &crashers }) {
        for (const auto& [name, bytes] : *inputs) {
            SCOPED_TRACE(name);
            ExerciseArt(fuzztest::bytesOf(bytes), std::size_t(bytes.size()));
        }
    }
}

} // namespace
