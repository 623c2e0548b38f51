#pragma once
#include <string>

// Names compared as Windows compares file and registry key names: ordinally, letter by
// letter, not by the locale's collation (which under Wine takes look-alike letters for
// ASCII).

// The name with each letter upper-cased by the invariant table: two names are one when
// these are equal.
std::wstring upperName(const std::wstring& name);

// Whether two paths name one file: letter case ignored, short and long forms alike. A
// file that is not there has only the form it is written in.
bool isSameFile(const std::wstring& a, const std::wstring& b);
