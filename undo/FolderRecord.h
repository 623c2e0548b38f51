#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a command found in a folder before it changed it, so that the change can be
// undone exactly on a later start.

// One path the command changed: a file of the folder (the settings file, a copy) or the
// folder itself, whose attributes only are kept.
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

struct FolderRecord {
    std::wstring folder = {}; // full path; a record is applied only to this folder
    std::wstring command; // the button's caption, as the user saw it
    std::wstring window; // the caption of the window it was pressed in
    RecordTime time;
    std::vector<RecordedPath> paths = {}; // in the order the command changed them
};

// The record as stored: a mark, a version, the length and a checksum before the fields,
// so that a damaged or foreign file is told from a record.
std::string encodeRecord(const FolderRecord& record);
// False for anything encodeRecord did not make, however cut or changed.
bool decodeRecord(const std::string& bytes, FolderRecord& record);

// A fingerprint of bytes, for the checksum, the record's file name and "changed since".
std::uint64_t hashBytes(const void* data, std::size_t size, std::uint64_t seed = 14695981039346656037ull);
// The path as the file system compares it: ASCII letters in one case.
std::wstring comparablePath(const std::wstring& path);
