#include "support/InterfaceLanguage.h"

namespace {
Language gLanguage = Language::Russian;
}

Language languageFor(LANGID interfaceLanguage)
{
    return PRIMARYLANGID(interfaceLanguage) == LANG_RUSSIAN ? Language::Russian : Language::English;
}

void chooseInterfaceLanguage()
{
    gLanguage = languageFor(GetUserDefaultUILanguage());
}

Language interfaceLanguage()
{
    return gLanguage;
}

void setInterfaceLanguage(Language language)
{
    gLanguage = language;
}
