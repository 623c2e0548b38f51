// libFuzzer target for the functions that take outside input: the command line, colour
// numbers read from the settings file, path splitting and joining, and the size a
// picture file's header declares (the input's bytes as they are). Built
// natively with clang's sanitizers by scripts/fuzz; these sources are portable C++.
#include "app/CommandLine.h"
#include "preview/PictureHeader.h"
#include "support/tsPath.h"
#include "support/tsText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Windows text is UTF-16: take the input two bytes per character, as Windows would.
std::wstring toText(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    return text;
}

// Whether the text has one of the two number forms: signed decimal, or "0x" and hex
// digits. Whether its value fits in 32 bits is for the reader to tell.
bool isNumberForm(const std::wstring& text)
{
    const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    const std::size_t first = hex ? 2 : !text.empty() && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    return first < text.size()
        && text.find_first_not_of(hex ? L"0123456789abcdefABCDEF" : L"0123456789", first) == std::wstring::npos;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A size is read only from one of the four formats' signatures (the sanitizer sees
    // any read past the bytes).
    if (declaredSize(data, size)) {
        const auto startsWith = [&](const char* signature) {
            return size >= std::strlen(signature) && std::memcmp(data, signature, std::strlen(signature)) == 0;
        };
        check(startsWith("BM") || startsWith("GIF8") || startsWith("\x89PNG") || startsWith("\xFF\xD8"));
    }

    const std::wstring text = toText(data, size);

    const std::wstring arguments = commandArguments(text);
    check(arguments.size() <= text.size());
    std::wstring trimmed;
    check(tsTrimEx2(arguments, kTrimCommandLine, trimmed).ok());
    check(trimmed.size() <= arguments.size());

    // A colour value is read only from a number form, and then writes and reads back to
    // the same number; anything else fails to read, which the loader shows as no colour.
    std::int32_t number = 0;
    if (tsParseLong(text, number)) {
        check(isNumberForm(text));
        std::wstring hex;
        std::int32_t again = 0;
        check(tsHexEx4(number, hex).ok() && tsParseLong(hex, again).ok() && again == number);
    }

    std::wstring name, folder, joined, bare;
    check(tsGetFileName(text, name).ok() && tsGetFilePath(text, folder).ok());
    check(name.size() <= text.size() && folder.size() <= text.size());
    check(tsRemoveBackslash(text, bare).ok());
    check(bare.empty() || (bare.back() != L'\\' && bare.back() != L'/'));
    if (tsBuildFileName(folder, name, joined)) {
        std::wstring nameAgain;
        check(tsGetFileName(joined, nameAgain).ok() && nameAgain == name);
    }
    return 0;
}
