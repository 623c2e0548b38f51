#include "app/OutcomeMessage.h"
#include "resources/Texts.h"
#include "support/ErrorReporter.h"

#include <gtest/gtest.h>

// Each outcome's words, icon and way of being shown: the error reporter with the
// system's error for a failed copy, a box for the rest.
TEST(OutcomeMessage, EachOutcomeHasItsWords)
{
    using Kind = CommandOutcome::Kind;
    const std::wstring ini = L"C:\\Фото\\Desktop.INI";
    const std::wstring longLine = L"Text=" + std::wstring(70, L'з');
    const struct {
        CommandOutcome outcome;
        std::wstring text;
        UINT icon;
        bool reported;
    } cases[] = {
        {{Kind::Done}, L"Готово!", MB_ICONINFORMATION, false},
        {{Kind::NoFolder}, kNoFolder.c_str(), MB_ICONSTOP, false},
        {{Kind::Unreadable, L"C:\\Фото"}, L"C:\\Фото\r\n\r\n" + std::wstring(kLoadFailed), MB_ICONSTOP, true},
        {{Kind::TextRefused, L"C:\\日本"},
         L"C:\\日本\r\n\r\nНастройки не сохранены. " + std::wstring(kUnrepresentable),
         MB_ICONSTOP,
         false},
        {{Kind::PathTooLong, ini}, ini + L"\r\n\r\nНастройки не сохранены. " + kPathTooLong, MB_ICONSTOP, false},
        {{Kind::ControlCharacter, L"IconArea_Image"},
         L"В значении «IconArea_Image» " + std::wstring(kControlCharacter) + L"\r\n\r\nНастройки не сохранены.",
         MB_ICONSTOP,
         false},
        {{Kind::KeyRefused, L"InfoTip"},
         L"В значении «InfoTip» " + std::wstring(kKeyRefused) + L"\r\n\r\nНастройки не сохранены.",
         MB_ICONSTOP,
         false},
        {{Kind::CopyFailed, L"C:\\Фото\\лес.jpg", ERROR_FILE_NOT_FOUND},
         L"Не удалось скопировать файл картинки.\r\n\r\nНовое имя файла: C:\\Фото\\лес.jpg",
         MB_ICONSTOP,
         true},
        {{Kind::SourceUnreadable, L"D:\\Значки\\лес.ico", ERROR_FILE_NOT_FOUND, L"IconResource"},
         L"Не удалось скопировать файл значка.\r\n\r\nНе удаётся прочитать файл: D:\\Значки\\лес.ico",
         MB_ICONSTOP,
         true},
        {{Kind::SaveFailed, ini}, ini + L"\r\n\r\nНе удаётся сохранить файл.", MB_ICONSTOP, false},
        {{Kind::UnmarkedUnicode, ini}, ini + L"\r\n\r\n" + kUnmarkedUnicode, MB_ICONSTOP, false},
        {{Kind::DiskFull, ini}, ini + L"\r\n\r\n" + kDiskFull, MB_ICONSTOP, false},
        {{Kind::LineChanged, ini, 0, std::wstring(L"ab\0cd=1", 7)},
         ini + L"\r\n\r\nСтрока «ab·cd=1» изменилась бы при записи; ничего не изменено.",
         MB_ICONSTOP,
         false},
        {{Kind::LineChanged, ini, 0, longLine},
         ini + L"\r\n\r\nСтрока «" + longLine.substr(0, 60) + L"…» изменилась бы при записи; ничего не изменено.",
         MB_ICONSTOP,
         false},
        {{Kind::FolderNotMarked, L"C:\\Фото"},
         L"C:\\Фото\r\n\r\n" + std::wstring(kFolderNotMarked),
         MB_ICONSTOP,
         false},
        {{.undoable = false}, L"Готово!\r\n\r\n" + std::wstring(kNotUndoable), MB_ICONINFORMATION, false},
        {{Kind::RecordFailed, L"C:\\Записи"}, L"C:\\Записи\r\n\r\n" + std::wstring(kRecordFailed), MB_ICONSTOP, true},
    };
    for (const auto& c : cases) {
        const OutcomeMessage message = outcomeMessage(c.outcome);
        EXPECT_EQ(std::tuple(message.text, message.icon, message.reported), std::tuple(c.text, c.icon, c.reported));
    }
}

// After Apply in a folder that a sync client keeps without its Desktop.INI, "Готово!" says
// that the settings stay on this computer.
TEST(OutcomeMessage, DoneNamesTheSyncClientThatLeavesTheSettingsHere)
{
    EXPECT_EQ(outcomeMessage({.applied = true}, CloudClient::Nextcloud).text,
              L"Готово!\r\n\r\nЭта папка в Nextcloud или ownCloud: файл Desktop.INI не синхронизируется, поэтому "
              L"оформление останется только на этом компьютере.");
}

// A command over many folders keeps each folder's outcome as it came; the list and the
// account say it on one line, with the system's error where a box would report it.
TEST(OutcomeMessage, EachFolderOfABatchSaysWhyItIsNotDone)
{
    using State = FolderOutcome::State;
    const std::wstring ini = L"C:\\Фото\\Desktop.INI";
    const std::wstring notFound = L" " + errorText(errorInfo(ERROR_FILE_NOT_FOUND), kErrorNumber.c_str());
    const std::pair<FolderOutcome, std::wstring> cases[] = {
        {{State::Failed, CommandOutcome {CommandOutcome::Kind::DiskFull, ini, ERROR_DISK_FULL}},
         ini + L" " + kDiskFull},
        {{State::Failed, CommandOutcome {CommandOutcome::Kind::Unreadable, L"C:\\Фото", ERROR_FILE_NOT_FOUND}},
         L"C:\\Фото " + std::wstring(kLoadFailed) + notFound},
        {{State::Failed, UndoOutcome {UndoOutcome::Kind::Nothing}}, kUndoNothing.c_str()},
        {{State::Failed, UndoOutcome {UndoOutcome::Kind::Failed, ini, ERROR_FILE_NOT_FOUND}},
         ini + L" " + kUndoFailed + notFound},
        {{State::Altered, UndoOutcome {UndoOutcome::Kind::Changed, ini}}, kFolderChangedSince.c_str()},
        {{State::Failed, UndoOutcome {UndoOutcome::Kind::Changed, ini}}, kFolderChangedSince.c_str()},
        {{State::Failed}, kInternalError.c_str()},
    };
    for (const auto& [outcome, words] : cases)
        EXPECT_EQ(whyNotDone(outcome), words);
}
