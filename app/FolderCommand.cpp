#include "app/FolderCommand.h"

#include "resources/Texts.h"
#include "support/NameCompare.h"
#include "support/Registry.h"
#include "support/SessionLock.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

namespace {

// The command is three key trees: the class of the drop target that takes a whole
// selection in one call, the verb on a folder, and the verb on a folder's background.
// They are written in this order and removed in the reverse one, so that the verb never
// names a class that is not there.
enum class Tree { Class, Folder, Background };
constexpr Tree kTrees[] = {Tree::Class, Tree::Folder, Tree::Background};

std::wstring treeKey(Tree tree)
{
    switch (tree) {
    case Tree::Class: return L"Software\\Classes\\CLSID\\" + std::wstring(kSelectionClass);
    case Tree::Folder: return L"Software\\Classes\\Directory\\shell\\Quenmark";
    case Tree::Background: return L"Software\\Classes\\Directory\\Background\\shell\\Quenmark";
    }
    return {};
}

// On a folder the shell puts its path in for %1; on a folder's background, for %V. A
// shell that knows the verb's drop target gives it the whole selection, of any size
// (MultiSelectModel Player); one that does not starts the command once per folder. COM
// adds its own switch when it starts the class's server.
std::vector<RegistryText> treeTexts(Tree tree, const std::wstring& exe, const wchar_t* verb)
{
    const std::wstring key = treeKey(tree);
    if (tree == Tree::Class)
        return {{key, nullptr, kMainCaption}, {key + L"\\LocalServer32", nullptr, L"\"" + exe + L"\""}};
    std::vector<RegistryText> texts = {{key, nullptr, verb}, {key, L"Icon", exe + L",0"}};
    if (tree == Tree::Folder) {
        texts.push_back({key, L"MultiSelectModel", L"Player"});
        texts.push_back({key + L"\\DropTarget", L"Clsid", kSelectionClass});
    }
    texts.push_back(
        {key + L"\\command", nullptr, L"\"" + exe + L"\" \"" + (tree == Tree::Folder ? L"%1" : L"%V") + L"\""});
    return texts;
}

// Held by one copy of the program at a time while it reads or changes the keys: without
// it one copy deletes a tree while another writes it, and both fail or leave half of
// it. The keys are the user's, so the lock is the session's. A copy holds it for a few
// registry calls; what a copy that ended while holding it left is mended like any
// stale command.
constexpr wchar_t kSwitchLock[] = L"Local\\Quenmark.FolderCommand";
constexpr DWORD kSwitchWait = 10000;

// What a tree holds: nothing, this exe's command, what this program writes for another
// exe or only part of it, or anything else.
enum class Holds { Nothing, Ours, Stale, Foreign };

// Whether every name is one of the allowed (upper-case) names, as the registry compares them.
bool onlyNames(const std::vector<std::wstring>& names, const std::vector<std::wstring>& allowed)
{
    return std::all_of(names.begin(), names.end(), [&](const std::wstring& name) {
        return std::find(allowed.begin(), allowed.end(), upperName(name)) != allowed.end();
    });
}

// Whether each key of the tree holds only the values and subkeys this program writes
// there; any other (LegacyDisable, ProgrammaticAccessOnly, Extended: they hide the
// verb; an InprocServer32 beside the class's server) is another tool's.
Holds treeShape(const std::vector<RegistryText>& texts)
{
    const std::wstring& root = texts.front().key;
    std::vector<std::wstring> keys;
    for (const RegistryText& text : texts) {
        if (std::find(keys.begin(), keys.end(), text.key) == keys.end())
            keys.push_back(text.key);
    }
    for (const std::wstring& key : keys) {
        std::vector<std::wstring> values, subkeys, allowedValues, allowedSubkeys;
        if (const TsStatus listed = tsListRegKey(HKEY_CURRENT_USER, key, values, subkeys); !listed) {
            if (key == root)
                // A key that cannot be listed shows nothing foreign; writing it will say why it refuses.
                return listed.error() == ERROR_FILE_NOT_FOUND ? Holds::Nothing : Holds::Stale;
            if (listed.error() != ERROR_FILE_NOT_FOUND)
                return Holds::Foreign;
            continue; // a missing subkey leaves its values missing: read below
        }
        for (const RegistryText& text : texts) {
            if (text.key == key)
                allowedValues.push_back(upperName(text.name ? text.name : L""));
            else if (text.key.starts_with(key + L"\\")) {
                const std::wstring below = text.key.substr(key.size() + 1);
                allowedSubkeys.push_back(upperName(below.substr(0, below.find(L'\\'))));
            }
        }
        if (!onlyNames(values, allowedValues) || !onlyNames(subkeys, allowedSubkeys))
            return Holds::Foreign;
    }
    return Holds::Ours;
}

Holds treeHolds(Tree tree, const std::wstring& exe)
{
    // Characters no path or verb holds stand for the exe and the verb in the texts' pattern.
    constexpr wchar_t kAnyExe = L'\n';
    constexpr wchar_t kAnyVerb[] = L"\r";
    const std::vector<RegistryText> patterns = treeTexts(tree, std::wstring(1, kAnyExe), kAnyVerb);
    Holds holds = treeShape(patterns);
    if (holds != Holds::Ours)
        return holds;
    // Each text this program writes is missing, names this exe, names another, or is foreign.
    for (const RegistryText& pattern : patterns) {
        std::wstring text;
        if (const TsStatus read = tsReadRegText(HKEY_CURRENT_USER, pattern.key, pattern.name, text); !read) {
            if (read.error() != ERROR_FILE_NOT_FOUND)
                return Holds::Foreign;
            holds = Holds::Stale;
            continue;
        }
        // The verb speaks the language of the copy that wrote it: ours in any of them.
        if (pattern.text == kAnyVerb)
            continue;
        const std::size_t head = pattern.text.find(kAnyExe);
        if (head == std::wstring::npos) {
            if (text != pattern.text)
                return Holds::Foreign;
            continue;
        }
        const std::size_t tail = pattern.text.size() - head - 1;
        if (text.size() <= head + tail || text.compare(0, head, pattern.text, 0, head) != 0
            || text.compare(text.size() - tail, tail, pattern.text, head + 1) != 0)
            return Holds::Foreign;
        const std::wstring named = text.substr(head, text.size() - head - tail);
        if (named.find(L'"') != std::wstring::npos)
            return Holds::Foreign;
        if (!isSameFile(named, exe))
            holds = Holds::Stale;
    }
    return holds;
}

Holds commandHolds(const std::wstring& exe)
{
    std::vector<Holds> trees;
    for (const Tree tree : kTrees)
        trees.push_back(treeHolds(tree, exe));
    if (std::find(trees.begin(), trees.end(), Holds::Foreign) != trees.end())
        return Holds::Foreign;
    return std::all_of(trees.begin(), trees.end(), [&](Holds holds) { return holds == trees.front(); }) ? trees.front()
                                                                                                        : Holds::Stale;
}

// Every tree, even when one refuses: as little as possible is left.
TsStatus removeTrees(std::wstring& failedKey)
{
    TsStatus first;
    for (auto tree = std::rbegin(kTrees); tree != std::rend(kTrees); ++tree) {
        const TsStatus status = tsDeleteRegTree(HKEY_CURRENT_USER, treeKey(*tree));
        if (first && !status) {
            first = status;
            failedKey = treeKey(*tree);
        }
    }
    return first;
}

// Writes every tree, cleared first. At the first failure it deletes them all again, so
// that no part of the command is left, and names the key in failedKey.
TsStatus addTrees(const std::wstring& exe, std::wstring& failedKey)
{
    for (const Tree tree : kTrees) {
        failedKey = treeKey(tree);
        TsStatus status = tsDeleteRegTree(HKEY_CURRENT_USER, treeKey(tree));
        const std::vector<RegistryText> texts = treeTexts(tree, exe, kFolderCommandVerb);
        for (auto value = texts.begin(); status && value != texts.end(); ++value) {
            failedKey = value->key;
            status = tsWriteRegText(HKEY_CURRENT_USER, value->key, value->name, value->text);
        }
        if (!status) {
            std::wstring ignored;
            // The failure to tell is the first one; a key that refuses deletion is not ours to mend.
            (void)removeTrees(ignored);
            return status;
        }
    }
    return {};
}

} // namespace

std::vector<RegistryText> folderCommandTexts(const std::wstring& exe)
{
    std::vector<RegistryText> texts;
    for (const Tree tree : kTrees) {
        const std::vector<RegistryText> more = treeTexts(tree, exe, kFolderCommandVerb);
        texts.insert(texts.end(), more.begin(), more.end());
    }
    return texts;
}

bool isFolderCommandOf(const std::wstring& exe)
{
    const SessionLock lock(kSwitchLock, kSwitchWait);
    return lock.status() && commandHolds(exe) == Holds::Ours;
}

FolderCommandSwitch switchFolderCommand(const std::wstring& exe, bool replaceForeign)
{
    using Kind = FolderCommandSwitch::Kind;
    const SessionLock lock(kSwitchLock, kSwitchWait);
    FolderCommandSwitch done;
    if (!lock.status())
        return {Kind::NotAdded, lock.status(), treeKey(Tree::Folder)};
    const Holds holds = commandHolds(exe);
    if (holds == Holds::Foreign && !replaceForeign)
        return {Kind::Foreign, {}, {}};
    if (holds == Holds::Ours) {
        done.status = removeTrees(done.failedKey);
        done.kind = done.status ? Kind::Removed : Kind::NotRemoved;
    } else {
        done.status = addTrees(exe, done.failedKey);
        done.kind = done.status ? Kind::Added : Kind::NotAdded;
    }
    return done;
}
