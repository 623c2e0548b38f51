#include "support/tsText.h"

namespace {

bool isTrimmedBlank(wchar_t c, unsigned options)
{
    switch (c) {
    case L' ': return (options & TrimSpace) != 0;
    case L'\t': return (options & TrimTab) != 0;
    case L'\r':
    case L'\n': return (options & TrimLineBreaks) != 0;
    case L'\0': return (options & TrimNul) != 0;
    default: return false;
    }
}

bool isEnclosedIn(const std::wstring& text, std::size_t first, std::size_t last, wchar_t quote)
{
    return last - first >= 2 && text[first] == quote && text[last - 1] == quote;
}

int hexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

} // namespace

TsStatus tsTrimEx2(const std::wstring& text, unsigned options, std::wstring& result)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isTrimmedBlank(text[first], options))
        ++first;
    while (last > first && isTrimmedBlank(text[last - 1], options))
        --last;
    if ((options & TrimDoubleQuotes) && isEnclosedIn(text, first, last, L'"')) {
        ++first;
        --last;
    }
    result = text.substr(first, last - first);
    return {};
}

TsStatus tsHexEx4(std::int32_t value, std::wstring& result)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    const auto bits = static_cast<std::uint32_t>(value);
    std::wstring text = L"0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += digits[(bits >> shift) & 0xF];
    result = std::move(text);
    return {};
}

TsStatus tsParseLong(const std::wstring& text, std::int32_t& result)
{
    const auto invalid = TsStatus::failure(TsStatus::kInvalidData);
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        std::uint32_t bits = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const int digit = hexDigit(text[i]);
            // Leading zeros are harmless; a ninth significant digit would not fit.
            if (digit < 0 || bits > 0x0FFFFFFF)
                return invalid;
            bits = bits << 4 | static_cast<std::uint32_t>(digit);
        }
        result = static_cast<std::int32_t>(bits);
        return {};
    }

    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == L'-';
    if (!text.empty() && (text[0] == L'-' || text[0] == L'+'))
        i = 1;
    if (i == text.size())
        return invalid;
    // Accumulate the magnitude in 64 bits so that one check covers both ends of the range.
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return invalid;
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > std::int64_t {1} << 31)
            return invalid;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return invalid;
    result = static_cast<std::int32_t>(value);
    return {};
}

std::wstring tsDecimal(long long number)
{
    wchar_t digits[24];
    wchar_t* const end = digits + sizeof digits / sizeof *digits;
    wchar_t* start = end;
    // Built from the negative side, which holds the smallest number too.
    long long rest = number < 0 ? number : -number;
    do {
        *--start = static_cast<wchar_t>(L'0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (number < 0)
        *--start = L'-';
    return std::wstring(start, end);
}
