#pragma once
#include <string>

// The argument text of a whole Windows command line: everything after the program's
// name, which is quoted or ends at the first blank. The arguments keep their own
// quotes and blanks; the caller decides how to trim them.
std::wstring commandArguments(const std::wstring& commandLine);
