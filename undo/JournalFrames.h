#pragma once
#include "undo/FolderRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How a journal entry is stored: frames one after another, each whole in itself. A
// frame is a mark, its type, its body's length and a checksum, then the body; a frame
// cut short by a crash or a power cut, or damaged, ends the entry where it starts, and
// every frame before it stands.
//
// An entry holds, in order: its header (the command, its time, its folders); for each
// folder, before each path is first changed, what the path held (Before), flushed to
// the disk before the change; then what the command came to there and left (Left);
// and last the mark that the command ended (Finished).

enum class FrameType : std::uint8_t {
    Header = 1,
    Before = 2,
    Left = 3,
    Dropped = 4, // the folder's record grew beyond its cap: it is never applied
    Finished = 5,
};

enum class EntryKind : std::uint8_t { Command = 0, Undo = 1 };

struct EntryHeader {
    EntryKind kind = EntryKind::Command;
    std::wstring undoes = {}; // an undo's: the entry it takes back
    CommandName name = {};
    std::vector<std::wstring> folders = {}; // full, one spelling each
};

// What the command came to in one folder.
enum class FolderEnd : std::uint8_t {
    Done = 0,
    Failed = 1, // refused or failed: the folder as it was
    Changed = 2, // an undo's: files changed since, nothing restored
};

struct FolderLeft {
    std::uint32_t folder = 0; // its place in the header's folders
    FolderEnd end = FolderEnd::Done;
    bool undoable = true;
    std::vector<RecordedPath> paths = {}; // each path's name and left fields, as the Before frames gave them
};

struct FolderBefore {
    std::uint32_t folder = 0;
    std::vector<RecordedPath> paths = {}; // name, kind, existence, attributes and bytes
};

constexpr std::size_t kFrameHeaderSize = 16;
// The largest body a frame may claim: one folder's capped record and its names. Checked
// before anything is allocated for it.
constexpr std::uint32_t kMaxFrameBody = (16u << 20) + (1u << 20);

std::string frameOf(FrameType type, const std::string& body);
// The frame header at bytes (kFrameHeaderSize of them): false when it is not one, or
// claims more than kMaxFrameBody.
bool readFrameHeader(const char* bytes, FrameType& type, std::uint32_t& bodySize, std::uint64_t& checksum);
bool bodyMatches(FrameType type, const std::string& body, std::uint64_t checksum);

std::string encodeHeader(const EntryHeader& header);
std::string encodeBefore(const FolderBefore& before);
std::string encodeLeft(const FolderLeft& left);
std::string encodeDropped(std::uint32_t folder);
// False for anything the encoders did not make, however cut or changed.
bool decodeHeader(const std::string& body, EntryHeader& header);
bool decodeBefore(const std::string& body, FolderBefore& before);
bool decodeLeft(const std::string& body, FolderLeft& left);
bool decodeDropped(const std::string& body, std::uint32_t& folder);
