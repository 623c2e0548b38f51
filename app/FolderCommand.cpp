#include "app/FolderCommand.h"

#include "resources/Texts.h"
#include "support/Registry.h"

#include <windows.h>

namespace {

// On a folder the shell puts its path in for %1; on a folder's background, for %V.
struct CommandTree {
    const wchar_t* key;
    const wchar_t* argument;
};
constexpr CommandTree kTrees[] = {
    {L"Software\\Classes\\Directory\\shell\\Quenmark", L"%1"},
    {L"Software\\Classes\\Directory\\Background\\shell\\Quenmark", L"%V"},
};

std::vector<RegistryText> treeTexts(const CommandTree& tree, const std::wstring& exe)
{
    const std::wstring key = tree.key;
    return {{key, nullptr, kFolderCommandVerb},
            {key, L"Icon", exe + L",0"},
            {key + L"\\command", nullptr, L"\"" + exe + L"\" \"" + tree.argument + L"\""}};
}

} // namespace

std::vector<RegistryText> folderCommandTexts(const std::wstring& exe)
{
    std::vector<RegistryText> texts;
    for (const CommandTree& tree : kTrees) {
        const std::vector<RegistryText> more = treeTexts(tree, exe);
        texts.insert(texts.end(), more.begin(), more.end());
    }
    return texts;
}

bool isFolderCommandOf(const std::wstring& exe)
{
    for (const RegistryText& value : folderCommandTexts(exe)) {
        std::wstring stored;
        if (!tsReadRegText(HKEY_CURRENT_USER, value.key, value.name, stored) || stored != value.text)
            return false;
    }
    return true;
}

TsStatus addFolderCommand(const std::wstring& exe, std::wstring& failedKey)
{
    for (const CommandTree& tree : kTrees) {
        failedKey = tree.key;
        TsStatus status = tsDeleteRegTree(HKEY_CURRENT_USER, tree.key);
        const std::vector<RegistryText> texts = treeTexts(tree, exe);
        for (auto value = texts.begin(); status && value != texts.end(); ++value) {
            failedKey = value->key;
            status = tsWriteRegText(HKEY_CURRENT_USER, value->key, value->name, value->text);
        }
        if (!status) {
            std::wstring ignored;
            // The failure to tell is the first one; a key that refuses deletion is not ours to mend.
            (void)removeFolderCommand(ignored);
            return status;
        }
    }
    return {};
}

// Both trees, even when the first refuses: as little as possible is left.
TsStatus removeFolderCommand(std::wstring& failedKey)
{
    TsStatus first;
    for (const CommandTree& tree : kTrees) {
        const TsStatus status = tsDeleteRegTree(HKEY_CURRENT_USER, tree.key);
        if (first && !status) {
            first = status;
            failedKey = tree.key;
        }
    }
    return first;
}
