#include "TestFiles.h"

#include <algorithm>
#include <iterator>

namespace {

std::wstring trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return L"";
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring upper(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Section and key names in upper case, so that items compare as Windows matches names.
std::wstring normalized(const std::wstring& item)
{
    const std::size_t sectionEnd = item.find(L"] ");
    if (sectionEnd == std::wstring::npos)
        return item;
    const std::size_t rest = sectionEnd + 2;
    std::wstring result = upper(item.substr(0, rest));
    const std::size_t equals = item.find(L'=', rest);
    if (rest < item.size() && item[rest] != L';' && equals != std::wstring::npos)
        return result + upper(item.substr(rest, equals - rest)) + item.substr(equals);
    return result + item.substr(rest);
}

} // namespace

std::string encodingName(const testing::TestParamInfo<Encoding>& param)
{
    return param.param == Encoding::Ansi ? "Ansi" : "Utf16";
}

std::string utf16Bytes(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (const wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

std::string encode(Encoding encoding, const std::wstring& text)
{
    return encoding == Encoding::Ansi ? ansiBytes(text) : utf16Bytes(text);
}

std::vector<std::wstring> folderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

IniFile IniFile::read(const std::wstring& path)
{
    return parse(readFile(path));
}

IniFile IniFile::parse(const std::string& bytes)
{
    IniFile file;
    std::wstring text;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        file.encoding_ = Encoding::Utf16;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])
                                         | static_cast<unsigned char>(bytes[i + 1]) << 8);
    } else if (!bytes.empty()) {
        const int length = static_cast<int>(bytes.size());
        text.resize(static_cast<std::size_t>(MultiByteToWideChar(1251, 0, bytes.data(), length, nullptr, 0)));
        MultiByteToWideChar(1251, 0, bytes.data(), length, text.data(), static_cast<int>(text.size()));
    }

    std::wstring section;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        line = trimmed(line);
        if (line.empty())
            continue;
        const std::size_t close = line.rfind(L']');
        if (line[0] == L'[' && close != std::wstring::npos) {
            section = trimmed(line.substr(1, close - 1));
            file.sectionNames_.push_back(section);
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (line[0] == L';' || equals == std::wstring::npos)
            file.items_.push_back(L"[" + section + L"] " + line);
        else
            file.items_.push_back(L"[" + section + L"] " + trimmed(line.substr(0, equals)) + L"="
                                  + trimmed(line.substr(equals + 1)));
    }
    return file;
}

testing::AssertionResult holdsExactly(const IniFile& file, std::vector<std::wstring> expected)
{
    std::vector<std::wstring> actual = file.items();
    std::transform(actual.begin(), actual.end(), actual.begin(), normalized);
    std::transform(expected.begin(), expected.end(), expected.begin(), normalized);
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    std::vector<std::wstring> missing, unexpected;
    std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(), std::back_inserter(missing));
    std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(), std::back_inserter(unexpected));
    if (missing.empty() && unexpected.empty())
        return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure();
    for (const std::wstring& item : missing)
        failure << "\n  missing:    " << utf8(item);
    for (const std::wstring& item : unexpected)
        failure << "\n  unexpected: " << utf8(item);
    failure << "\n  the file holds:";
    for (const std::wstring& item : file.items())
        failure << "\n    " << utf8(item);
    return failure;
}

FolderLookState look(const std::wstring& folder, int textOn, ColorValue text, int backOn, ColorValue back)
{
    FolderLookState state;
    state.folder = folder;
    state.textColorOn = textOn;
    state.textColor = text;
    state.backColorOn = backOn;
    state.backColor = back;
    return state;
}
