#include "support/LocalText.h"

std::wstring fillIn(std::wstring_view pattern, std::initializer_list<std::wstring_view> values)
{
    std::wstring filled;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        const std::size_t place = pattern[i] == L'%' && next >= L'1' && next <= L'9' ? next - L'1' : values.size();
        if (place < values.size()) {
            filled += values.begin()[place];
            ++i;
        } else {
            filled += pattern[i];
        }
    }
    return filled;
}

std::wstring CountedText::operator()(std::size_t count) const
{
    const wchar_t* form = nullptr;
    if (interfaceLanguage() == Language::English) {
        form = english_[count == 1 ? 0 : 1];
    } else {
        const std::size_t ones = count % 10, tens = count % 100;
        form = russian_[ones == 1 && tens != 11 ? 0 : ones >= 2 && ones <= 4 && !(tens >= 12 && tens <= 14) ? 1 : 2];
    }
    return fillIn(form, {tsDecimal(count)});
}
