// Score files as hand editors, other programs and accidents leave them, and what each
// reads as. The score file tests load every one, and the reader's fuzz target starts
// from them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ScoreCase {
    std::string text;  // the whole file
    bool number;       // whether it holds a number at all (if not, the score stays 0)
    int32_t score;     // the number it reads as
};

inline std::vector<ScoreCase> ScoreCases() {
    const std::string megabyte(1 << 20, '9');
    std::string noise;  // bytes of every value, in a scrambled order
    for (uint32_t i = 0, x = 7; i < 4096; i++) noise += static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
    noise[0] = '\xff';
    return {
        {"", false, 0}, {"   ", false, 0}, {" \t\n\v\f\r", false, 0}, {"57", true, 57}, {"+57", true, 57},
        {"-17", true, -17}, {"-0", true, 0}, {"007", true, 7}, {"+-5", false, 0}, {"- 5", false, 0},
        {" 123abc", true, 123}, {"abc123", false, 0}, {"12 34", true, 12}, {"3.9", true, 3}, {"0x1F", true, 0},
        {"57\n", true, 57}, {"57\r\n", true, 57}, {"\r\n\t 8\r\n", true, 8}, {std::string("4\0" "2", 3), true, 4},
        {std::string("\0" "42", 3), false, 0},
        {"\xd9\xa3", false, 0},  // an Arabic-Indic three is no digit here
        // Past 32 bits a number stops at the largest or smallest 32-bit value.
        {"2147483647", true, 2147483647}, {"2147483648", true, 2147483647}, {"-2147483648", true, INT32_MIN},
        {"-2147483649", true, INT32_MIN},
        {"18446744073709551673", true, 2147483647},  // 2^64 + 57: no wrapping round
        {"-99999999999999999999", true, INT32_MIN}, {"00000000000000000000000000042", true, 42},
        {megabyte, true, 2147483647}, {std::string(1 << 20, '0') + "57", true, 57},
        {std::string(1 << 20, ' ') + "-8", true, -8}, {noise, false, 0}, {"31" + noise, true, 31},
    };
}
