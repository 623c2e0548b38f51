#pragma once

// Every text the program shows the user, in each language it speaks, in one place for
// the code and its tests; the windows' controls take theirs from their layout tables
// (MainLayout.h, FolderInfoLayout.h, FoldersLayout.h, JournalLayout.h). A text with
// "%1", "%2"... is filled in by resources/Messages.h.

#include "support/LocalText.h"

// The main window's caption and the title of the program's message boxes: a name, the
// same in every language.
inline constexpr wchar_t kMainCaption[] = L"Quenmark";

inline constexpr Text kPictureFilter {L"Картинки|*.BMP;*.RLE;*.JPG;*.GIF;*.PNG|Все файлы|*.*",
                                      L"Pictures|*.BMP;*.RLE;*.JPG;*.GIF;*.PNG|All files|*.*"};
inline constexpr Text kFolderPrompt {L"Выберите каталог, для которого будут настраиваться параметры отображения.",
                                     L"Choose the folder whose look you want to set."};
inline constexpr Text kAuthorCredit {L"Автор: команда Quenmark", L"Author: the Quenmark team"};

// The dialog for the folder's icon and comment, type and picture.
inline constexpr Text kFolderInfoMenuItem {L"Значок и свойства папки…\tF4", L"Folder icon and properties…\tF4"};
inline constexpr Text kFolderInfoCaption {L"Значок и свойства папки", L"Folder icon and properties"};
inline constexpr Text kFolderTypeUnset {L"(не задан)", L"(not set)"};
inline constexpr Text kFolderTypeGeneric {L"Общие элементы", L"General items"};
inline constexpr Text kFolderTypeDocuments {L"Документы", L"Documents"};
inline constexpr Text kFolderTypePictures {L"Изображения", L"Pictures"};
inline constexpr Text kFolderTypeMusic {L"Музыка", L"Music"};
inline constexpr Text kFolderTypeVideos {L"Видео", L"Videos"};

// The folders' right-click command: the system menu's item, the verb Explorer shows,
// and why the registry refused it (after the key).
inline constexpr Text kFolderCommandMenuItem {L"Команда в меню папок", L"Command in the folders' menu"};
inline constexpr Text kFolderCommandVerb {L"Оформить в Quenmark…", L"Style with Quenmark…"};
inline constexpr Text kFolderCommandNotAdded {
    L"Этот раздел реестра не удаётся записать. Команда «Оформить в Quenmark…» не добавлена в меню папок, "
    L"и ничего из неё в реестре не осталось.",
    L"This registry key cannot be written. The command “Style with Quenmark…” was not added to the folders' "
    L"menu, and nothing of it is left in the registry."};
inline constexpr Text kFolderCommandNotRemoved {
    L"Этот раздел реестра не удаётся удалить, поэтому команда «Оформить в Quenmark…» осталась в меню папок.",
    L"This registry key cannot be deleted, so the command “Style with Quenmark…” is still in the folders' menu."};
inline constexpr Text kFolderCommandForeign {
    L"В разделе реестра «Software\\Classes\\Directory\\shell\\Quenmark» (или в таком же разделе для фона папки) "
    L"записано то, чего Quenmark туда не записывал: другая команда или чужие параметры. Заменить это командой "
    L"«Оформить в Quenmark…»? Прежнее содержимое раздела будет удалено.",
    L"The registry key “Software\\Classes\\Directory\\shell\\Quenmark” (or the same key for a folder's "
    L"background) holds something Quenmark did not write there: another command or other values. Replace it "
    L"with the command “Style with Quenmark…”? What the key holds now will be deleted."};

inline constexpr Text kDone {L"Готово!", L"Done!"};
inline constexpr Text kSaveFailed {L"Не удаётся сохранить файл.", L"The file cannot be saved."};
inline constexpr Text kDiskFull {L"На диске нет места для записи файла. Ничего не изменено.",
                                 L"The disk has no room to write the file. Nothing was changed."};
inline constexpr Text kCopyFailed {L"Не удалось скопировать файл картинки.", L"The picture file could not be copied."};
inline constexpr Text kIconCopyFailed {L"Не удалось скопировать файл значка.", L"The icon file could not be copied."};
// Why the dialog's icon or folder picture area shows neither.
inline constexpr Text kAreaTooLarge {L"слишком велика", L"too large"};
inline constexpr Text kAreaUnreadable {L"не удаётся прочитать", L"cannot be read"};
inline constexpr Text kAreaMissing {L"нет файла", L"no file"};
inline constexpr Text kAreaShow {L"показать", L"show"};
inline constexpr Text kNewFileName {L"Новое имя файла: ", L"New file name: "};
inline constexpr Text kSourceUnreadable {L"Не удаётся прочитать файл: ", L"The file cannot be read: "};
inline constexpr Text kLoadFailed {L"Не удаётся прочитать настройки этого каталога.",
                                   L"This folder's settings cannot be read."};
inline constexpr Text kNotSaved {L"Настройки не сохранены.", L"The settings were not saved."};
inline constexpr Text kNotAccepted {L"Путь не принят.", L"The path was not accepted."};
inline constexpr Text kUnrepresentable {L"В пути есть символы, которых нет в кодовой странице Windows.",
                                        L"The path has characters that Windows' code page does not have."};
inline constexpr Text kPathTooLong {L"Путь длиннее 259 знаков: файловые функции Windows его не примут.",
                                    L"The path is longer than 259 characters: Windows' file functions would not "
                                    L"take it."};
inline constexpr Text kNoFolder {L"Каталог не выбран. Выберите его кнопкой «...» справа от поля «Каталог:».",
                                 L"No folder is chosen. Choose one with the “...” button right of “Folder:”."};
inline constexpr Text kNoCurrentDirectory {L"Не удаётся определить текущий каталог.",
                                           L"The current folder cannot be found."};
inline constexpr Text kFolderNotMarked {
    L"Настройки записаны, но каталогу не удаётся задать атрибут «только для чтения», "
    L"поэтому Проводник не покажет его оформление.",
    L"The settings were written, but the folder cannot be made read-only, so Explorer will not show its look."};
inline constexpr Text kControlCharacter {
    L"есть перевод строки или другой управляющий знак: он разорвал бы строку файла Desktop.INI.",
    L"has a line break or another control character: it would break the line in the file Desktop.INI."};
inline constexpr Text kKeyRefused {
    L"есть знаки, которых нет в кодовой странице Windows, а файл Desktop.INI этого каталога записан не в Юникоде.",
    L"has characters that Windows' code page does not have, and this folder's Desktop.INI is not written in "
    L"Unicode."};
inline constexpr Text kMarkRefused {
    L"есть знаки, которых нет в кодовой странице Windows, а файл Desktop.INI этого каталога записан в UTF-8 или "
    L"в UTF-16 с обратным порядком байтов: Windows читает такой файл в кодовой странице.",
    L"has characters that Windows' code page does not have, and this folder's Desktop.INI is written in UTF-8 "
    L"or in big-endian UTF-16: Windows reads such a file in its code page."};
inline constexpr Text kUnmarkedUnicode {
    L"Файл Desktop.INI записан в UTF-16 без метки порядка байтов, и Windows читает его неверно: при записи "
    L"его строки пропали бы. Quenmark не изменяет такой файл; ничего не изменено.",
    L"The file Desktop.INI is written in UTF-16 without a byte order mark, and Windows misreads it: writing it "
    L"would lose its lines. Quenmark does not change such a file; nothing was changed."};
inline constexpr Text kFolderKept {L"Остаётся прежний каталог.", L"The folder stays as it was chosen before."};
inline constexpr Text kErrorNumber {L"Ошибка ", L"Error "};
inline constexpr Text kAboutTitle {L"О программе ", L"About "};
inline constexpr Text kInternalError {L"Внутренняя ошибка программы: операция прервана.",
                                      L"Internal error: the operation was stopped."};
inline constexpr Text kInternalStop {L"Внутренняя ошибка программы: работа прервана.",
                                     L"Internal error: the program was stopped."};
// A line of the settings file that the system's writer would change.
inline constexpr Text kChangedLine {L"Строка «%1» изменилась бы при записи; ничего не изменено.",
                                    L"The line “%1” would change when written; nothing was changed."};
// A refused value, named by its key in the settings file.
inline constexpr Text kRefusedKey {L"В значении «%1» %2", L"The value “%1” %2"};

// Undoing a folder's latest change ("Вернуть как было"): the record of the state before
// every command, kept in the user's local application data folder.
inline constexpr Text kUndoMenuItem {L"Вернуть как было", L"Undo"};
inline constexpr Text kUndoNothing {L"Для этого каталога нечего возвращать.", L"This folder has nothing to undo."};
inline constexpr Text kUndoUnusable {
    L"Запись о прежнем виде этого каталога в этой папке повреждена или сделана не для него, поэтому она "
    L"не используется и каталог не изменён.",
    L"The record of this folder's former look in this folder is damaged or was not made for it, so it is not "
    L"used and the folder was not changed."};
inline constexpr Text kUndoChanged {
    L"После команды эти файлы изменил кто-то другой. Вернуть каталог как было? Их нынешнее содержимое пропадёт.",
    L"Someone else changed these files after the command. Undo the folder anyway? What they hold now will be "
    L"lost."};
inline constexpr wchar_t kUndoKey[] = L"\tCtrl+Z";
inline constexpr Text kUndoFailed {L"Не удаётся вернуть этот файл как был, поэтому каталог оставлен как есть.",
                                   L"This file cannot be put back as it was, so the folder was left as it is."};
inline constexpr Text kRecordFailed {
    L"В эту папку Quenmark записывает прежний вид каталога, чтобы его можно было вернуть. Записать его "
    L"не удаётся, поэтому команда не выполнена и каталог не изменён.",
    L"Quenmark keeps the folder's former look in this folder, so that it can be undone. It cannot be written "
    L"there, so the command was not run and the folder was not changed."};
inline constexpr Text kNotUndoable {
    L"Прежний вид каталога не записан (его файлы больше 16 МБ или запись не удалась), поэтому вернуть его "
    L"командой «Вернуть как было» нельзя.",
    L"The folder's former look was not recorded (its files are over 16 MB or the record failed), so “Undo” "
    L"cannot bring it back."};
// The journal of commands ("Журнал"), and a command a start finds unfinished.
inline constexpr Text kJournalMenuItem {L"Журнал…\tF6", L"Journal…\tF6"};
inline constexpr Text kJournalCaption {L"Журнал", L"Journal"};
inline constexpr Text kJournalColumns[] = {
    {L"Когда", L"When"}, {L"Команда", L"Command"}, {L"Папки", L"Folders"}, {L"Вернуть", L"Undo"}};
inline constexpr Text kEntryUndoable {L"можно", L"can"};
inline constexpr Text kEntryPartly {L"не везде: изменены после", L"not everywhere: changed since"};
inline constexpr Text kEntryUndone {L"уже возвращено", L"already undone"};
inline constexpr Text kEntryNothing {L"нечего возвращать", L"nothing to undo"};
inline constexpr Text kEntryRunning {L"ещё выполняется", L"still running"};
inline constexpr Text kEntryUnfinished {L"не завершена", L"unfinished"};
inline constexpr Text kUnfinishedQuestion {
    L"Команда «%1» (%2) не была завершена: программа или компьютер остановились, когда она меняла папки (%3)."
    L"\r\n\r\nВернуть эти папки как было? «Нет» оставит их как есть; команда останется в журнале, и вернуть её "
    L"можно и позже.",
    L"The command “%1” (%2) did not finish: the program or the computer stopped while it was changing folders "
    L"(%3).\r\n\r\nPut these folders back as they were? “No” leaves them as they are; the command stays in the "
    L"journal, and it can be undone later."};
// "8 декабря, 14:05": the day, the month, the hour, the minutes.
inline constexpr Text kEntryTime {L"%1 %2, %3:%4", L"%2 %1, %3:%4"};
inline constexpr Text kMonths[] = {{L"января", L"January"},  {L"февраля", L"February"}, {L"марта", L"March"},
                                   {L"апреля", L"April"},    {L"мая", L"May"},          {L"июня", L"June"},
                                   {L"июля", L"July"},       {L"августа", L"August"},   {L"сентября", L"September"},
                                   {L"октября", L"October"}, {L"ноября", L"November"},  {L"декабря", L"December"}};

// The preview of the folder's look.
inline constexpr Text kPreviewMenuItem {L"Предпросмотр\tF3", L"Preview\tF3"};
inline constexpr Text kPreviewCaption {L"Предпросмотр — ", L"Preview — "};
inline constexpr Text kPreviewNoFolder {L"Каталог не выбран.", L"No folder is chosen."};
inline constexpr Text kPreviewFolderUnreadable {L"Не удаётся прочитать содержимое каталога: ",
                                                L"The folder's contents cannot be read: "};
inline constexpr Text kPreviewPictureMissing {L"Файл картинки не найден: ", L"The picture file is not found: "};
inline constexpr Text kPreviewPictureUnreadable {L"Картинку не удаётся показать: ", L"The picture cannot be shown: "};
inline constexpr Text kPreviewPictureRefused {
    L"Картинка не будет скопирована: в пути есть символы, которых нет в кодовой странице Windows.",
    L"The picture will not be copied: its path has characters that Windows' code page does not have."};
inline constexpr Text kPreviewPictureOnServer {L"Картинка на другом компьютере не открыта: ",
                                               L"A picture on another computer is not opened: "};
inline constexpr Text kPreviewPictureOpening {L"Открывается картинка: ", L"Opening the picture: "};
// Said instead of decoding a picture of more than 24 megapixels (96 MiB of pixels).
inline constexpr Text kPreviewPictureTooLarge {
    L"Картинка слишком велика для предпросмотра: %1 × %2 точек (больше 24 мегапикселей, свыше 96 МБ памяти): %3",
    L"The picture is too large to preview: %1 × %2 pixels (over 24 megapixels, over 96 MB of memory): %3"};
inline constexpr Text kPreviewShowHint {L". Щёлкните здесь или нажмите Enter, чтобы показать её.",
                                        L". Click here or press Enter to show it."};

// The list of folders ("Папки") and the commands over several folders.
inline constexpr Text kFoldersMenuItem {L"Папки…\tF5", L"Folders…\tF5"};
inline constexpr Text kFoldersCaption {L"Папки", L"Folders"};
inline constexpr Text kFoldersPrompt {L"Выберите каталог, который добавить в список.",
                                      L"Choose a folder to add to the list."};
inline constexpr Text kSubfoldersPrompt {L"Выберите каталог: в список войдут все вложенные в него папки.",
                                         L"Choose a folder: every folder inside it joins the list."};
inline constexpr Text kFoldersColumns[] = {{L"Папка", L"Folder"}, {L"Сейчас", L"Now"}, {L"Итог", L"Outcome"}};
inline constexpr Text kFolderDone {L"готово", L"done"};
inline constexpr Text kFolderFailed {L"не удалось: ", L"failed: "};
inline constexpr Text kFolderChangedSince {L"файлы изменены после команды", L"files changed since the command"};
inline constexpr Text kFolderNotUndoable {L"готово, вернуть нельзя", L"done, cannot be undone"};
inline constexpr Text kFolderUnreadable {L"не удаётся прочитать", L"cannot be read"};
inline constexpr Text kFolderPlain {L"без оформления", L"not styled"};
inline constexpr Text kSummaryPicture {L"картинка ", L"picture "};
inline constexpr Text kSummaryTextColor {L"цвет текста", L"text colour"};
inline constexpr Text kSummaryBackColor {L"цвет фона", L"background colour"};
inline constexpr Text kSummaryIcon {L"значок ", L"icon "};
inline constexpr Text kSummaryType {L"тип ", L"type "};
inline constexpr Text kBatchStopped {L"Остановлено.", L"Stopped."};
inline constexpr Text kSubfoldersSearching {L"Поиск вложенных папок: ", L"Looking for the folders inside: "};
inline constexpr Text kSubfoldersUnreadable {L"В эти папки войти не удалось, их вложенные папки не добавлены:",
                                             L"These folders could not be entered, so the folders inside them were "
                                             L"not added:"};
inline constexpr Text kBusy {
    L"Команда над папками ещё выполняется. Дождитесь её конца или остановите её кнопкой «Отмена».",
    L"A command over folders is still running. Wait for it to end, or stop it with “Cancel”."};
inline constexpr Text kStopBatchQuestion {
    L"Команда над папками ещё выполняется. Остановить её и закрыть Quenmark?\r\n\r\nПапки, которые она уже "
    L"изменила, останутся такими; вернуть их как было можно и позже, из журнала (F6). «Нет»: команда "
    L"продолжится.",
    L"A command over folders is still running. Stop it and close Quenmark?\r\n\r\nThe folders it has already "
    L"changed stay so; they can be undone later, from the journal (F6). “No”: the command goes on."};
inline constexpr Text kDropDamaged {
    L"Список выбранных папок пришёл повреждённым, поэтому ни одна из них не открыта. Выберите папки и вызовите "
    L"команду ещё раз.",
    L"The list of chosen folders arrived damaged, so none of them was opened. Choose the folders and run the "
    L"command again."};
inline constexpr Text kUndoChangedMany {
    L"После команды файлы этих каталогов изменил кто-то другой. Вернуть их как было? Их нынешнее содержимое "
    L"пропадёт.",
    L"Someone else changed these folders' files after the command. Undo them anyway? What they hold now will be "
    L"lost."};

inline constexpr CountedText kFoldersCount {L"%1 папка", L"%1 папки", L"%1 папок", L"%1 folder", L"%1 folders"};

// A folder kept by a sync client that leaves its Desktop.INI behind: said after "Готово!".
inline constexpr Text kCloudClientNames[] = {
    {L"OneDrive", L"OneDrive"}, {L"Nextcloud или ownCloud", L"Nextcloud or ownCloud"}, {L"MEGA", L"MEGA"}};
inline constexpr Text kCloudFolderNote {
    L"Эта папка в %1: файл Desktop.INI не синхронизируется, поэтому оформление останется только на этом "
    L"компьютере.",
    L"This folder is in %1: the file Desktop.INI is not synced, so the look stays on this computer only."};
// After a command over many folders: "3 папки — в OneDrive и MEGA: …".
inline constexpr Text kCloudFoldersNote {
    L"%1 — в %2: файл Desktop.INI там не синхронизируется, поэтому оформление останется только на этом "
    L"компьютере.",
    L"%1 in %2: the file Desktop.INI is not synced there, so the look stays on this computer only."};
// The last two of several sync clients' names are joined by it, the others by a comma.
inline constexpr Text kListLastJoin {L" и ", L" and "};
// "Готово: 97 из 100. Не удалось: 3."
inline constexpr Text kBatchAccount {L"Готово: %1 из %2. Не удалось: %3.", L"Done: %1 of %2. Failed: %3."};
// While a command runs: "12 из 100: D:\Фото\2004".
inline constexpr Text kBatchProgress {L"%1 из %2: %3", L"%1 of %2: %3"};
