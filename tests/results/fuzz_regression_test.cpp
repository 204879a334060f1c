// Replays the results-file fuzzer's corpus (fuzz/corpus/hits) and every input it once failed on
// (tests/results/fuzz_crashers) through the same steps the fuzzer takes: each as hits.dat, opened,
// read, appended to, read again and closed as the game does.

#include "hits_exercise.h"
#include "support/fuzz_inputs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(HitsFileFuzzRegression, CorpusAndFormerCrashersRunClean)
{
    const auto corpus = fuzztest::filesOf("fuzz/corpus/hits");
    const auto crashers = fuzztest::filesOf("tests/results/fuzz_crashers");
    ASSERT_FALSE(corpus.empty());
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("hits.dat"));
    for (const auto* inputs : { &corpus, &crashers }) {
        for (const auto& [name, bytes] : *inputs) {
            SCOPED_TRACE(name);
            ExerciseHitsFile(path, fuzztest::bytesOf(bytes), std::size_t(bytes.size()));
        }
    }
}

} // namespace
