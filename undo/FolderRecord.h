#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a command found in a folder before it changed it, and what it left there, so
// that the change can be undone exactly on a later start.

// One path the command changed: a file of the folder (the settings file, a copy, a
// temporary file of its own) or the folder itself, whose attributes only are kept.
struct RecordedPath {
    std::wstring path = {}; // full
    bool isFolder = false;
    bool existed = false;
    std::uint32_t attributes = 0;
    std::string bytes = {}; // a file's, as it was
    // What the command left there, to tell whether someone changed it since.
    bool leftExists = false;
    std::uint32_t leftAttributes = 0;
    std::uint64_t leftHash = 0;
};

// When the command ran, in local time, as the menu names it.
struct RecordTime {
    std::uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// The command as the user saw it, and when it ran.
struct CommandName {
    std::wstring command, window;
    RecordTime time;
};

// A fingerprint of bytes, for the checksums and "changed since".
std::uint64_t hashBytes(const void* data, std::size_t size, std::uint64_t seed = 14695981039346656037ull);
// The path as the file system compares it: ASCII letters in one case.
std::wstring comparablePath(const std::wstring& path);
