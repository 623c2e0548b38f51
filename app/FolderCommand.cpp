#include "app/FolderCommand.h"

#include "resources/Texts.h"
#include "support/Registry.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>

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

// Held by one copy of the program at a time while it reads or changes the keys: without
// it one copy deletes a tree while another writes it, and both fail or leave half of
// it. The keys are the user's, so the lock is the session's.
class SwitchLock {
public:
    SwitchLock() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Quenmark.FolderCommand"))
    {
        // A copy holds it for a few registry calls. A lock abandoned by a copy that ended
        // is taken: what that copy left is mended like any stale command.
        const DWORD waited = mutex_ ? WaitForSingleObject(mutex_, 10000) : WAIT_FAILED;
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        if (!held_)
            error_ = waited == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError();
    }
    SwitchLock(const SwitchLock&) = delete;
    SwitchLock& operator=(const SwitchLock&) = delete;
    ~SwitchLock()
    {
        if (held_)
            ReleaseMutex(mutex_);
        if (mutex_)
            CloseHandle(mutex_);
    }
    TsStatus status() const { return held_ ? TsStatus() : TsStatus::failure(error_); }

private:
    HANDLE mutex_;
    bool held_ = false;
    DWORD error_ = 0;
};

// Letters upper-cased one by one, as Windows compares file and key names: ordinally,
// not by the locale's collation (which under Wine takes look-alike letters for ASCII).
std::wstring upper(const std::wstring& text)
{
    std::wstring result = text;
    if (!result.empty())
        (void)LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), result.data(),
                           static_cast<int>(result.size()));
    return result;
}

// Whether two paths name one file as Windows sees it: short and long forms alike.
bool sameFile(const std::wstring& a, const std::wstring& b)
{
    const auto longForm = [](const std::wstring& path) {
        std::wstring form(MAX_PATH, L'\0');
        DWORD length = GetLongPathNameW(path.c_str(), form.data(), static_cast<DWORD>(form.size()));
        if (length >= form.size()) {
            form.resize(length);
            length = GetLongPathNameW(path.c_str(), form.data(), length);
        }
        // A file that is not there has only the form it is written in.
        return length && length < form.size() ? upper(form.substr(0, length)) : upper(path);
    };
    return longForm(a) == longForm(b);
}

// What a tree holds: nothing, this exe's command, what this program writes for another
// exe or only part of it, or anything else.
enum class Holds { Nothing, Ours, Stale, Foreign };

// Whether every name is one of the allowed (upper-case) names, as the registry compares them.
bool onlyNames(const std::vector<std::wstring>& names, std::initializer_list<const wchar_t*> allowed)
{
    return std::all_of(names.begin(), names.end(), [&](const std::wstring& name) {
        return std::find(allowed.begin(), allowed.end(), upper(name)) != allowed.end();
    });
}

Holds treeHolds(const CommandTree& tree, const std::wstring& exe)
{
    const std::wstring key = tree.key;
    std::vector<std::wstring> values, subkeys;
    if (const TsStatus listed = tsListRegKey(HKEY_CURRENT_USER, key, values, subkeys); !listed)
        // A key that cannot be listed shows nothing foreign; writing it will say why it refuses.
        return listed.error() == ERROR_FILE_NOT_FOUND ? Holds::Nothing : Holds::Stale;
    // Any other value (LegacyDisable, ProgrammaticAccessOnly, Extended: they hide the verb)
    // or subkey is another tool's.
    if (!onlyNames(values, {L"", L"ICON"}) || !onlyNames(subkeys, {L"COMMAND"}))
        return Holds::Foreign;
    if (!subkeys.empty()) {
        std::vector<std::wstring> commandValues, commandSubkeys;
        if (!tsListRegKey(HKEY_CURRENT_USER, key + L"\\command", commandValues, commandSubkeys)
            || !commandSubkeys.empty() || !onlyNames(commandValues, {L""}))
            return Holds::Foreign;
    }
    // Each text this program writes is missing, names this exe, names another, or is
    // foreign. A character no path holds stands for the exe in the texts' pattern.
    constexpr wchar_t kAnyExe = L'\n';
    Holds holds = Holds::Ours;
    for (const RegistryText& pattern : treeTexts(tree, std::wstring(1, kAnyExe))) {
        std::wstring text;
        if (const TsStatus read = tsReadRegText(HKEY_CURRENT_USER, pattern.key, pattern.name, text); !read) {
            if (read.error() != ERROR_FILE_NOT_FOUND)
                return Holds::Foreign;
            holds = Holds::Stale;
            continue;
        }
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
        if (!sameFile(named, exe))
            holds = Holds::Stale;
    }
    return holds;
}

Holds commandHolds(const std::wstring& exe)
{
    const Holds first = treeHolds(kTrees[0], exe);
    const Holds second = treeHolds(kTrees[1], exe);
    if (first == Holds::Foreign || second == Holds::Foreign)
        return Holds::Foreign;
    return first == second ? first : Holds::Stale;
}

// Both trees, even when the first refuses: as little as possible is left.
TsStatus removeTrees(std::wstring& failedKey)
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

// Writes both trees, cleared first. At the first failure it deletes both again, so that
// no half of the command is left, and names the key in failedKey.
TsStatus addTrees(const std::wstring& exe, std::wstring& failedKey)
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
    for (const CommandTree& tree : kTrees) {
        const std::vector<RegistryText> more = treeTexts(tree, exe);
        texts.insert(texts.end(), more.begin(), more.end());
    }
    return texts;
}

bool isFolderCommandOf(const std::wstring& exe)
{
    const SwitchLock lock;
    return lock.status() && commandHolds(exe) == Holds::Ours;
}

FolderCommandSwitch switchFolderCommand(const std::wstring& exe, bool replaceForeign)
{
    using Kind = FolderCommandSwitch::Kind;
    const SwitchLock lock;
    FolderCommandSwitch done;
    if (!lock.status())
        return {Kind::NotAdded, lock.status(), kTrees[0].key};
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
