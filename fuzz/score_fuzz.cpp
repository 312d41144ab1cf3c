// Fuzzing the score file reader with libFuzzer (make fuzz). Whatever the bytes, the
// game's reader takes exactly the number the C library's strtoll finds in them, held
// to 32 bits. The fuzzer starts from the score file test cases, which it writes into a
// corpus folder of their own and adds to its arguments.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "score_cases.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    mkdir(SCORE_SEEDS, 0777);
    int32_t number = 0;
    for (const ScoreCase& c : ScoreCases())
        std::ofstream(std::string(SCORE_SEEDS) + "/case" + std::to_string(number++), std::ios::binary) << c.text;
    static std::vector<char*> args(*argv, *argv + *argc);
    static char seeds[] = SCORE_SEEDS;
    args.push_back(seeds);
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The game's reader over exactly these bytes.
    int32_t value = -1;
    bool number = false;
    if (size > 0) {
        FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
        number = ReadNumber(file, &value);
        std::fclose(file);
    }
    if (!number && value != -1) std::abort();  // no number leaves the value alone

    // strtoll reads the same way, up to the first NUL byte.
    const std::string text(reinterpret_cast<const char*>(data), size);
    char* end = nullptr;
    long long expected = std::strtoll(text.c_str(), &end, 10);
    expected = expected > INT32_MAX ? INT32_MAX : expected < INT32_MIN ? INT32_MIN : expected;
    if (number != (end != text.c_str()) || (number && value != expected)) std::abort();
    return 0;
}
