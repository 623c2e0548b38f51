#pragma once
#include "support/InterfaceLanguage.h"
#include "support/tsText.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// One text the user reads, in every language the program speaks. It can only be made
// with all of them, so a missing translation does not compile; it reads as the
// interface language's words.
class Text {
public:
    consteval Text(const wchar_t* russian, const wchar_t* english) : words_ {russian, english}
    {
        // Not constant, so the text does not compile: English words left empty or in Cyrillic.
        if ((*russian == L'\0') != (*english == L'\0'))
            throw "one language's words are missing";
        for (const wchar_t* c = english; *c; ++c) {
            if (*c >= L'\u0400' && *c <= L'\u04FF')
                throw "the English words are not translated";
        }
    }
    // No words: the same in every language.
    consteval Text() : words_ {L"", L""} {}

    const wchar_t* in(Language language) const { return words_[static_cast<int>(language)]; }
    const wchar_t* c_str() const { return in(interfaceLanguage()); }
    operator const wchar_t*() const { return c_str(); }

private:
    const wchar_t* words_[kLanguageCount];
};

inline std::wstring operator+(std::wstring left, const Text& right)
{
    return left += right.c_str();
}
inline std::wstring operator+(const Text& left, const std::wstring& right)
{
    return left.c_str() + right;
}

inline bool operator==(const std::wstring& left, const Text& right)
{
    return left == right.c_str();
}

// A text with places for values: "%1" to "%9" stand for the values in their order, so
// that each language puts them where its sentence needs them.
std::wstring fillIn(std::wstring_view pattern, std::initializer_list<std::wstring_view> values);
inline std::wstring fillText(const Text& text, std::initializer_list<std::wstring_view> values)
{
    return fillIn(text.c_str(), values);
}

// A count and the word for what is counted, in the form its number takes: Russian has
// three ("1 папка", "3 папки", "12 папок"), English two ("1 folder", "3 folders"). Each
// form has "%1" where the number goes.
class CountedText {
public:
    consteval CountedText(const wchar_t* russianOne, const wchar_t* russianFew, const wchar_t* russianMany,
                          const wchar_t* englishOne, const wchar_t* englishOther)
        : russian_ {russianOne, russianFew, russianMany},
          english_ {englishOne, englishOther}
    {
    }
    std::wstring operator()(std::size_t count) const;

private:
    const wchar_t* russian_[3];
    const wchar_t* english_[2];
};
