#include "app/UndoCommand.h"

#include "app/Controls.h"
#include "resources/Texts.h"
#include "support/BusyPointer.h"
#include "support/ErrorReporter.h"

#include <algorithm>

CommandName commandName(HWND button, HWND window)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CommandName name {
        windowText(button), windowText(window), {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute}};
    // The caption as the user reads it, without its access key's mark.
    name.command.erase(std::remove(name.command.begin(), name.command.end(), L'&'), name.command.end());
    return name;
}

std::wstring undoMenuCaption(FolderFiles& files, RecordStore& store, const std::wstring& folder, bool& enabled)
{
    FolderRecord record;
    enabled = findRecord(files, store, folder, record) == RecordFound::Found;
    if (!enabled)
        return std::wstring(kUndoMenuItem) + kUndoKey;
    const RecordTime& time = record.time;
    const wchar_t* month = time.month >= 1 && time.month <= 12 ? kMonthsOf[time.month - 1] : L"";
    wchar_t clock[8];
    clock[0] = static_cast<wchar_t>(L'0' + time.hour / 10 % 10);
    clock[1] = static_cast<wchar_t>(L'0' + time.hour % 10);
    clock[2] = L':';
    clock[3] = static_cast<wchar_t>(L'0' + time.minute / 10 % 10);
    clock[4] = static_cast<wchar_t>(L'0' + time.minute % 10);
    clock[5] = L'\0';
    return std::wstring(kUndoMenuItem) + L" (" + record.command + L", " + std::to_wstring(time.day) + L" " + month
        + L", " + clock + L")" + kUndoKey;
}

bool runUndo(Components& components, FolderFiles& files, RecordStore& store, HWND owner, const std::wstring& folder)
{
    using Kind = UndoOutcome::Kind;
    const BusyPointer busy;
    UndoOutcome outcome = undoFolder(files, store, folder, false);
    if (outcome.kind == Kind::Changed) {
        if (!components.askYes(owner, outcome.subject + L"\r\n\r\n" + kUndoChanged))
            return false;
        outcome = undoFolder(files, store, folder, true);
    }
    switch (outcome.kind) {
    case Kind::Done:
        MessageBoxW(owner, kDone, kMainCaption, MB_OK | MB_ICONINFORMATION);
        components.folderChanged(folder);
        return true;
    case Kind::Nothing: MessageBoxW(owner, kUndoNothing, kMainCaption, MB_OK | MB_ICONINFORMATION); break;
    case Kind::Unusable:
        MessageBoxW(owner, aboutPath(outcome.subject, kUndoUnusable).c_str(), kMainCaption, MB_OK | MB_ICONSTOP);
        break;
    case Kind::Failed:
    case Kind::Changed: {
        std::int16_t response = 0;
        components.errorReporter().report(errorInfo(outcome.error), MB_ICONSTOP, nullptr,
                                          aboutPath(outcome.subject, kUndoFailed), response);
        break;
    }
    }
    return false;
}
