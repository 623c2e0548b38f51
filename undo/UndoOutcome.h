#pragma once
#include <cstdint>
#include <string>

// What putting one folder back came to. The window turns it into what the user sees.
struct UndoOutcome {
    enum class Kind {
        Done,
        Nothing, // no record of the folder, or nothing in it to undo
        Unusable, // subject: the journal's folder; the record is damaged or beyond its cap: never applied
        RecordFailed, // subject: the journal's folder, which cannot take the undo's own record; error: the system's
        Changed, // subject: the files changed since the command, one a line; nothing restored
        Failed, // subject: the path that could not be restored; error: the system's; all as it was
    };
    Kind kind = Kind::Done;
    std::wstring subject = {};
    std::uint32_t error = 0;
};
