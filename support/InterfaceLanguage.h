#pragma once

#include <windows.h>

// The language of every text the program shows: Russian on a Russian Windows, English
// on any other. It is chosen once, at start-up, and never changes while the program runs.
enum class Language : unsigned char { Russian, English };
inline constexpr int kLanguageCount = 2;

// The language for Windows' interface language (GetUserDefaultUILanguage).
Language languageFor(LANGID interfaceLanguage);

// Chosen from the user's interface language; until then, and in the tests that set
// none, Russian.
void chooseInterfaceLanguage();
Language interfaceLanguage();
// For the tests of each language's words.
void setInterfaceLanguage(Language language);
