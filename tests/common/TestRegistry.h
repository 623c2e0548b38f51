#pragma once
#include <optional>
#include <string>

// The real registry under HKEY_CURRENT_USER, read and changed with the shell's
// light-weight registry functions, for tests that leave the prefix as they found it.

// The folders' command's key trees.
inline const std::wstring kFolderCommandKey = L"Software\\Classes\\Directory\\shell\\Quenmark";
inline const std::wstring kBackgroundCommandKey = L"Software\\Classes\\Directory\\Background\\shell\\Quenmark";
inline const std::wstring kSelectionClassKey = L"Software\\Classes\\CLSID\\{B67171CC-AA96-4199-A1DF-D0DA4EF561F2}";

// A text value (name null: the default); none when the key or value is not there.
std::optional<std::wstring> registryText(const std::wstring& key, const wchar_t* name = nullptr);
bool registryKeyExists(const std::wstring& key);
void writeRegistryText(const std::wstring& key, const wchar_t* name, const std::wstring& text);

// Makes the key, if need be, and denies everyone writing to it, adding keys below it and deleting it.
void lockRegistryKey(const std::wstring& key);

// Deletes, at the end of a test, the folders' command and the keys the test made
// beside it (locked ones too), the copy of the class a test made under
// HKEY_LOCAL_MACHINE, and "Directory" when the prefix had none before.
class RegistryCleanup {
public:
    RegistryCleanup();
    RegistryCleanup(const RegistryCleanup&) = delete;
    RegistryCleanup& operator=(const RegistryCleanup&) = delete;
    ~RegistryCleanup();

private:
    bool hadDirectory_;
};
