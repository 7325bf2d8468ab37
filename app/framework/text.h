// Text and number functions the battery readers parse tool output with.
//
// Texts are UTF-8 std::strings. Positions and lengths count characters
// (code points), the first character is position 1 and 0 means "not found".
// Matching is exact and case-sensitive: the readers look for labels exactly
// as the tools print them. No function here fails or has undefined
// behaviour, whatever start or count it is handed: the parsers pass 0 and
// negative values when a terminator is missing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ambrelux {

// The line end the tools write and the readers search for.
inline constexpr std::string_view EndOfLine = "\n";

// Bytes (1 to 4) of the well-formed UTF-8 character that `text` starts
// with; 0 when it starts with none: an empty text, a stray or cut-short
// sequence, an overlong form, a surrogate or a value above U+10FFFF.
// Utf8CharBytes("é!") == 2; Utf8CharBytes("\xE0\x80\x80") == 0.
std::size_t Utf8CharBytes(std::string_view text);

// Number of characters; each byte of a malformed sequence counts as one.
// Len("añb") == 3.
std::int64_t Len(std::string_view text);

// Position of the first `find` in `source`, 0 when absent.
// InStr("abcabc", "c") == 3; InStr("abc", "") == 1; InStr("", "") == 0.
std::int64_t InStr(std::string_view source, std::string_view find);

// As above, searching from character `start` on; the result still counts
// from the start of `source`. A start below 1 searches from 1; a start past
// the end finds nothing. InStr(4, "abcabc", "c") == 6.
std::int64_t InStr(std::int64_t start, std::string_view source, std::string_view find);

// From character `start` to the end. A start below 1 gives the empty text
// (so a cut at a marker that was not found yields nothing to parse); a start
// past the end gives the empty text. Mid("hello", 2) == "ello".
std::string Mid(std::string_view text, std::int64_t start);

// At most `count` characters from `start`. A start below 1 gives the empty
// text; a negative count gives the rest of the text, since it only arises
// when the terminator of a value is missing and the value then runs to the
// end. Mid("hello", 2, 3) == "ell"; Mid("hello", 2, -7) == "ello".
std::string Mid(std::string_view text, std::int64_t start, std::int64_t count);

// The first / last n characters; the whole text when n is at least its
// length; the empty text when n is 0 or negative. Left("hello", 2) == "he".
std::string Left(std::string_view text, std::int64_t n);
std::string Right(std::string_view text, std::int64_t n);

// The text without its leading blanks and tabs. LTrim("  a b ") == "a b ".
std::string LTrim(std::string_view text);

// Whole-text equality; an absent text is the empty text.
bool TextEquals(std::string_view a, std::string_view b);

// The texts one after another. Concat({"(", "12", ")"}) == "(12)".
std::string Concat(std::initializer_list<std::string_view> parts);

// The decimal number the text starts with (leading blanks and tabs skipped):
// optional sign, digits, optional fraction, optional exponent. Independent
// of the process locale. 0 when the text starts with no number; no hex,
// "inf" or "nan" forms. Val("12.5abc") == 12.5; Val("abc") == 0.
// A number too large for a double gives +/- infinity.
double Val(std::string_view text);

// Decimal text of a number: digits, "-" and "." only, no exponent, no
// separators; a whole value has no point; otherwise the shortest text that
// reads back as the same double. Str(2600.0) == "2600"; Str(12.603) ==
// "12.603"; Str(-0.5) == "-0.5". Infinities give "inf"/"-inf", NaN "nan".
std::string Str(double value);
std::string Str(std::int32_t value);

// Nearest whole number, halves away from zero. Round(2.5) == 3.
double Round(double value);

// Double to Int32, dropping the fraction; values out of range saturate,
// NaN gives 0. ToInt32(158.9) == 158; ToInt32(3e10) == 2147483647.
std::int32_t ToInt32(double value);

// Bitwise AND of two flag words.
std::uint64_t BitAnd(std::uint64_t a, std::uint64_t b);

}  // namespace ambrelux
