#pragma once
#include "support/TsStatus.h"
#include <cstdint>
#include <string>

// Which surrounding characters tsTrimEx2 removes. Blanks go first, from both ends,
// then one pair of enclosing quotes, so that a quoted path with spaces still names it.
enum TrimOption : unsigned {
    TrimSpace = 1u << 0,
    TrimTab = 1u << 1,
    TrimLineBreaks = 1u << 2, // CR and LF
    TrimNul = 1u << 3,
    TrimDoubleQuotes = 1u << 4,
};

// The options a command line is trimmed with. Rarer blanks (a no-break space...) are
// never trimmed, since they may be part of a folder's name.
constexpr unsigned kTrimCommandLine = TrimSpace | TrimTab | TrimLineBreaks | TrimNul | TrimDoubleQuotes;

// A number in decimal digits, without the C library's formatting engine, which would
// cost the exe more than all of its own number texts.
std::wstring tsDecimal(long long number);

TsStatus tsTrimEx2(const std::wstring& text, unsigned options, std::wstring& result);

// "0x" and eight upper-case hex digits: the form the shell itself reads, e.g. 0x00FF8000.
TsStatus tsHexEx4(std::int32_t value, std::wstring& result);

// Reads what tsHexEx4 writes ("0x" and hex digits of any case, at most eight after
// leading zeros) and plain decimal with an optional sign, over the whole signed 32-bit
// range. Hex digits are
// the raw bits, so 0x8000000F gives a negative number. Anything else, or a decimal
// outside the range, fails and leaves result alone.
TsStatus tsParseLong(const std::wstring& text, std::int32_t& result);
