// libFuzzer entry: see gif_exercise.h for what each input goes through.

#include "gif_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ExerciseGif(data, size);
    return 0;
}
