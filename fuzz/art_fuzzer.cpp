// libFuzzer entry for the artwork readers: see art_exercise.h for what each input goes through.

#include "art_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ExerciseArt(data, size);
    return 0;
}
