#pragma once
#include <cstdint>
#include <string>

enum class Command { Apply, Remove };

// What one run of Apply or Remove came to. The window turns it into what the user
// sees; subject is what the message names: a path, a text, or a setting's key (a
// section's name where the refused edit has no key).
struct CommandOutcome {
    enum class Kind {
        Done,
        NoFolder, // the folder text is empty
        Unreadable, // subject: the folder, whose settings could not be read; error: the system's; nothing done
        TextRefused, // subject: the folder text, or a file to be copied, that the ANSI code page cannot hold
        PathTooLong, // subject: the settings file or a file's copy
        ControlCharacter, // subject: the key whose value (or name) holds a line break or another control character
        KeyRefused, // subject: the key whose value (or name) the settings file's ANSI encoding cannot hold
        MarkRefused, // subject: the same key, in a file with a UTF-8 or UTF-16 big-endian mark (ANSI to Windows)
        UnmarkedUnicode, // subject: the settings file, UTF-16 without a byte order mark (junk to Windows), as it was
        CopyFailed, // subject: the copy's path (or its name alone); error: the system's error; detail: the key
        SourceUnreadable, // subject: the file to be copied; error: the system's error; detail: the key
        SaveFailed, // subject: the settings file, which is as it was before
        DiskFull, // subject: the settings file or the copy, as it was before; the write found no room
        LineChanged, // subject: the settings file, as it was before; detail: a line the rewrite would change
        FolderNotMarked, // subject: the folder, whose settings are saved
        RecordFailed, // subject: the folder of the records of changes; error: the system's; the folder as it was
    };
    Kind kind = Kind::Done;
    std::wstring subject = {};
    std::uint32_t error = 0;
    std::wstring detail = {};
    bool undoable = true; // false: the change was made, and no record of the state before it kept
    bool applied = false; // Done by Apply: the folder holds the settings written
    // Done: the icon the settings named before the command changed it ("full path,index"),
    // whose image the shell's cache keeps by that location; empty when it did not change.
    std::wstring formerIcon = {};
};
