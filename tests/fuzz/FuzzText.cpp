// libFuzzer target for the text functions that take outside input: the command line,
// numbers read back from the settings file, and path splitting and joining. Built
// natively with clang's sanitizers by scripts/fuzz; these sources are portable C++.
#include "app/CommandLine.h"
#include "support/tsPath.h"
#include "support/tsText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = toText(data, size);

    const std::wstring arguments = commandArguments(text);
    check(arguments.size() <= text.size());
    std::wstring trimmed;
    check(tsTrimEx2(arguments, kTrimCommandLine, trimmed).ok());
    check(trimmed.size() <= arguments.size());

    // Whatever reads as a number must write and read back to the same number.
    std::int32_t number = 0;
    if (tsParseLong(text, number)) {
        std::wstring hex;
        std::int32_t again = 0;
        check(tsHexEx4(number, hex) && tsParseLong(hex, again) && again == number);
    }

    std::wstring name, folder, joined, bare;
    tsGetFileName(text, name);
    tsGetFilePath(text, folder);
    check(name.size() <= text.size() && folder.size() <= text.size());
    tsRemoveBackslash(text, bare);
    check(bare.empty() || (bare.back() != L'\\' && bare.back() != L'/'));
    if (tsBuildFileName(folder, name, joined)) {
        std::wstring nameAgain;
        tsGetFileName(joined, nameAgain);
        check(nameAgain == name);
    }
    return 0;
}
