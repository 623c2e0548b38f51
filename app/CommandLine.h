#pragma once
#include <functional>
#include <string>
#include <vector>

// The argument text of a whole Windows command line: everything after the program's
// name, which is quoted or ends at the first blank. The arguments keep their own
// quotes and blanks; the caller decides how to trim them.
std::wstring commandArguments(const std::wstring& commandLine);

// The folders of argument text that names several, as scripts and "Send to" pass them:
// two or more arguments, each in double quotes, apart by blanks, each a folder that
// isFolder finds. Empty for any other text, which names one folder whole.
std::vector<std::wstring> severalFolders(const std::wstring& arguments,
                                         const std::function<bool(const std::wstring&)>& isFolder);
