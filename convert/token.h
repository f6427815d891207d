#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pellum {

// Copies field number n (counted from 0) of text into token and returns 1; returns -1,
// leaving token untouched, when text has no field number n; returns 1 without touching
// token when n is negative.
//
// A field is a run of the bytes 0x21 to 0x7F. Every other byte separates fields: blanks,
// tabs and other control bytes, the zero byte among them, and every byte from 0x80 up (a
// degree sign 0xB0 glued to a number ends it).
//
//   ExtractToken(0, "  25.5\t  100 ", t) -> 1, t = "25.5"
//   ExtractToken(1, "  25.5\t  100 ", t) -> 1, t = "100"
//   ExtractToken(2, "  25.5\t  100 ", t) -> -1, t still "100"
//   ExtractToken(1, "25.5\xB0" "C", t)     -> 1, t = "C"
//   ExtractToken(1, "1\0" "2", t)          -> 1, t = "2"
int ExtractToken(int n, std::string_view text, std::string& token);

// The first fields.size() fields of text, by the same rules, found in one walk and not
// copied; returns how many text holds up to that number. The converters read two fields
// of every row this way.
//
//   SplitTokens("  25.5\t  100 ", fields of size 3) -> 2: fields[0] = "25.5", fields[1] = "100"
std::size_t SplitTokens(std::string_view text, std::span<std::string_view> fields);

// As above for a whole line read by ReadTextLine; a little faster, as the walk stops at
// the line's terminating zero byte, and only there looks whether the text has ended.
std::size_t SplitLineTokens(const std::string& line, std::span<std::string_view> fields);

}  // namespace pellum
