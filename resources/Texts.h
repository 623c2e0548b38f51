#pragma once

// Every text the program shows the user, in one place for the code and its tests, but
// the captions of the windows' controls: each window's layout table (MainLayout.h,
// FolderInfoLayout.h) holds those beside each control's place and size.

#include <string>

// The main window's caption and the title of the program's message boxes.
inline constexpr wchar_t kMainCaption[] = L"Quenmark";

inline constexpr wchar_t kPictureFilter[] = L"Картинки|*.BMP;*.RLE;*.JPG;*.GIF;*.PNG|Все файлы|*.*";
inline constexpr wchar_t kFolderPrompt[] = L"Выберите каталог, для которого будут настраиваться параметры отображения.";
inline constexpr wchar_t kAuthorCredit[] = L"Автор: команда Quenmark";

// The dialog for the folder's icon and comment, type and picture.
inline constexpr wchar_t kFolderInfoMenuItem[] = L"Значок и свойства папки…\tF4";
inline constexpr wchar_t kFolderInfoCaption[] = L"Значок и свойства папки";
inline constexpr wchar_t kFolderTypeUnset[] = L"(не задан)";
inline constexpr wchar_t kFolderTypeGeneric[] = L"Общие элементы";
inline constexpr wchar_t kFolderTypeDocuments[] = L"Документы";
inline constexpr wchar_t kFolderTypePictures[] = L"Изображения";
inline constexpr wchar_t kFolderTypeMusic[] = L"Музыка";
inline constexpr wchar_t kFolderTypeVideos[] = L"Видео";

// The folders' right-click command: the system menu's item, the verb Explorer shows,
// and why the registry refused it (after the key).
inline constexpr wchar_t kFolderCommandMenuItem[] = L"Команда в меню папок";
inline constexpr wchar_t kFolderCommandVerb[] = L"Оформить в Quenmark…";
inline constexpr wchar_t kFolderCommandNotAdded[] =
    L"Этот раздел реестра не удаётся записать. Команда «Оформить в Quenmark…» не добавлена в меню папок, "
    L"и ничего из неё в реестре не осталось.";
inline constexpr wchar_t kFolderCommandNotRemoved[] =
    L"Этот раздел реестра не удаётся удалить, поэтому команда «Оформить в Quenmark…» осталась в меню папок.";
inline constexpr wchar_t kFolderCommandForeign[] =
    L"В разделе реестра «Software\\Classes\\Directory\\shell\\Quenmark» (или в таком же разделе для фона папки) "
    L"записано то, чего Quenmark туда не записывал: другая команда или чужие параметры. Заменить это командой "
    L"«Оформить в Quenmark…»? Прежнее содержимое раздела будет удалено.";

inline constexpr wchar_t kDone[] = L"Готово!";
inline constexpr wchar_t kSaveFailed[] = L"Не удаётся сохранить файл.";
inline constexpr wchar_t kDiskFull[] = L"На диске нет места для записи файла. Ничего не изменено.";
inline constexpr wchar_t kCopyFailed[] = L"Не удалось скопировать файл картинки.";
inline constexpr wchar_t kIconCopyFailed[] = L"Не удалось скопировать файл значка.";
// Why the dialog's icon or folder picture area shows neither.
inline constexpr wchar_t kAreaTooLarge[] = L"слишком велика";
inline constexpr wchar_t kAreaUnreadable[] = L"не удаётся прочитать";
inline constexpr wchar_t kAreaMissing[] = L"нет файла";
inline constexpr wchar_t kNewFileName[] = L"Новое имя файла: ";
inline constexpr wchar_t kSourceUnreadable[] = L"Не удаётся прочитать файл: ";
inline constexpr wchar_t kLoadFailed[] = L"Не удаётся прочитать настройки этого каталога.";
inline constexpr wchar_t kNotSaved[] = L"Настройки не сохранены.";
inline constexpr wchar_t kNotAccepted[] = L"Путь не принят.";
inline constexpr wchar_t kUnrepresentable[] = L"В пути есть символы, которых нет в кодовой странице Windows.";
inline constexpr wchar_t kPathTooLong[] = L"Путь длиннее 259 знаков: файловые функции Windows его не примут.";
inline constexpr wchar_t kNoFolder[] = L"Каталог не выбран. Выберите его кнопкой «...» справа от поля «Каталог:».";
inline constexpr wchar_t kNoCurrentDirectory[] = L"Не удаётся определить текущий каталог.";
inline constexpr wchar_t kFolderNotMarked[] =
    L"Настройки записаны, но каталогу не удаётся задать атрибут «только для чтения», "
    L"поэтому Проводник не покажет его оформление.";
inline constexpr wchar_t kControlCharacter[] =
    L"есть перевод строки или другой управляющий знак: он разорвал бы строку файла Desktop.INI.";
inline constexpr wchar_t kKeyRefused[] =
    L"есть знаки, которых нет в кодовой странице Windows, а файл Desktop.INI этого каталога записан не в Юникоде.";
inline constexpr wchar_t kMarkRefused[] =
    L"есть знаки, которых нет в кодовой странице Windows, а файл Desktop.INI этого каталога записан в UTF-8 или "
    L"в UTF-16 с обратным порядком байтов: Windows читает такой файл в кодовой странице.";
inline constexpr wchar_t kUnmarkedUnicode[] =
    L"Файл Desktop.INI записан в UTF-16 без метки порядка байтов, и Windows читает его неверно: при записи "
    L"его строки пропали бы. Quenmark не изменяет такой файл; ничего не изменено.";
inline constexpr wchar_t kFolderKept[] = L"Остаётся прежний каталог.";
inline constexpr wchar_t kErrorNumber[] = L"Ошибка ";
inline constexpr wchar_t kAboutTitle[] = L"О программе ";
inline constexpr wchar_t kInternalError[] = L"Внутренняя ошибка программы: операция прервана.";
inline constexpr wchar_t kInternalStop[] = L"Внутренняя ошибка программы: работа прервана.";

// Undoing a folder's latest change ("Вернуть как было"): the record of the state before
// every command, kept in the user's local application data folder.
inline constexpr wchar_t kUndoMenuItem[] = L"Вернуть как было";
inline constexpr wchar_t kUndoNothing[] = L"Для этого каталога нечего возвращать.";
inline constexpr wchar_t kUndoUnusable[] =
    L"Запись о прежнем виде этого каталога в этой папке повреждена или сделана не для него, поэтому она "
    L"не используется и каталог не изменён.";
inline constexpr wchar_t kUndoChanged[] =
    L"После команды эти файлы изменил кто-то другой. Вернуть каталог как было? Их нынешнее содержимое пропадёт.";
inline constexpr wchar_t kUndoKey[] = L"\tCtrl+Z";
inline constexpr wchar_t kUndoFailed[] = L"Не удаётся вернуть этот файл как был, поэтому каталог оставлен как есть.";
inline constexpr wchar_t kRecordFailed[] =
    L"В эту папку Quenmark записывает прежний вид каталога, чтобы его можно было вернуть. Записать его "
    L"не удаётся, поэтому команда не выполнена и каталог не изменён.";
inline constexpr wchar_t kNotUndoable[] =
    L"Прежний вид каталога не записан (его файлы больше 16 МБ или запись не удалась), поэтому вернуть его "
    L"командой «Вернуть как было» нельзя.";
// The journal of commands ("Журнал"), and a command a start finds unfinished.
inline constexpr wchar_t kJournalMenuItem[] = L"Журнал…\tF6";
inline constexpr wchar_t kJournalCaption[] = L"Журнал";
inline constexpr const wchar_t* kJournalColumns[] = {L"Когда", L"Команда", L"Папки", L"Вернуть"};
inline constexpr wchar_t kEntryUndoable[] = L"можно";
inline constexpr wchar_t kEntryPartly[] = L"не везде: изменены после";
inline constexpr wchar_t kEntryUndone[] = L"уже возвращено";
inline constexpr wchar_t kEntryNothing[] = L"нечего возвращать";
inline constexpr wchar_t kEntryRunning[] = L"ещё выполняется";
inline constexpr wchar_t kEntryUnfinished[] = L"не завершена";
inline std::wstring unfinishedQuestion(const std::wstring& command, const std::wstring& when, const std::wstring& folders)
{
    return L"Команда «" + command + L"» (" + when + L") не была завершена: программа или компьютер остановились, "
        + L"когда она меняла папки (" + folders + L").\r\n\r\nВернуть эти папки как было? «Нет» оставит их как "
        + L"есть; команда останется в журнале, и вернуть её можно и позже.";
}
inline constexpr const wchar_t* kMonthsOf[] = {L"января", L"февраля", L"марта",    L"апреля",  L"мая",    L"июня",
                                               L"июля",   L"августа", L"сентября", L"октября", L"ноября", L"декабря"};

// The preview of the folder's look.
inline constexpr wchar_t kPreviewMenuItem[] = L"Предпросмотр\tF3";
inline constexpr wchar_t kPreviewCaption[] = L"Предпросмотр — ";
inline constexpr wchar_t kPreviewNoFolder[] = L"Каталог не выбран.";
inline constexpr wchar_t kPreviewFolderUnreadable[] = L"Не удаётся прочитать содержимое каталога: ";
inline constexpr wchar_t kPreviewPictureMissing[] = L"Файл картинки не найден: ";
inline constexpr wchar_t kPreviewPictureUnreadable[] = L"Картинку не удаётся показать: ";
inline constexpr wchar_t kPreviewPictureRefused[] =
    L"Картинка не будет скопирована: в пути есть символы, которых нет в кодовой странице Windows.";
inline constexpr wchar_t kPreviewPictureOnServer[] = L"Картинка на другом компьютере не открыта: ";
inline constexpr wchar_t kPreviewPictureOpening[] = L"Открывается картинка: ";
// Said instead of decoding a picture of more than 24 megapixels (96 MiB of pixels).
inline std::wstring previewPictureTooLarge(unsigned long width, unsigned long height, const std::wstring& path)
{
    return L"Картинка слишком велика для предпросмотра: " + std::to_wstring(width) + L" × " + std::to_wstring(height)
        + L" точек (больше 24 мегапикселей, свыше 96 МБ памяти): " + path;
}
inline constexpr wchar_t kPreviewShowHint[] = L". Щёлкните здесь или нажмите Enter, чтобы показать её.";

// A message about a path (a folder, a file): the path, then what is said of it, and
// why when that is told apart.
inline std::wstring aboutPath(const std::wstring& path, const std::wstring& text, const std::wstring& why = L"")
{
    return path + L"\r\n\r\n" + text + (why.empty() ? L"" : L" " + why);
}

// A line of the settings file that the system's writer would change: it is named as
// the file spells it, cut to fit a message, with control characters made visible.
inline std::wstring aboutChangedLine(const std::wstring& line)
{
    constexpr std::size_t kShown = 60;
    std::wstring shown = line.substr(0, kShown);
    for (wchar_t& c : shown) {
        if (c < L' ')
            c = L'·';
    }
    return L"Строка «" + shown + (line.size() > kShown ? L"…" : L"")
        + L"» изменилась бы при записи; ничего не изменено.";
}

// A refused value, named by its key in the settings file.
inline std::wstring aboutKey(const std::wstring& key, const std::wstring& why)
{
    return L"В значении «" + key + L"» " + why + L"\r\n\r\n" + kNotSaved;
}

// The list of folders ("Папки") and the commands over several folders.
inline constexpr wchar_t kFoldersMenuItem[] = L"Папки…\tF5";
inline constexpr wchar_t kFoldersCaption[] = L"Папки";
inline constexpr wchar_t kFoldersPrompt[] = L"Выберите каталог, который добавить в список.";
inline constexpr wchar_t kSubfoldersPrompt[] = L"Выберите каталог: в список войдут все вложенные в него папки.";
inline constexpr const wchar_t* kFoldersColumns[] = {L"Папка", L"Сейчас", L"Итог"};
inline constexpr wchar_t kFolderDone[] = L"готово";
inline constexpr wchar_t kFolderFailed[] = L"не удалось: ";
inline constexpr wchar_t kFolderChangedSince[] = L"файлы изменены после команды";
inline constexpr wchar_t kFolderNotUndoable[] = L"готово, вернуть нельзя";
inline constexpr wchar_t kFolderUnreadable[] = L"не удаётся прочитать";
inline constexpr wchar_t kFolderPlain[] = L"без оформления";
inline constexpr wchar_t kSummaryPicture[] = L"картинка ";
inline constexpr wchar_t kSummaryTextColor[] = L"цвет текста";
inline constexpr wchar_t kSummaryBackColor[] = L"цвет фона";
inline constexpr wchar_t kSummaryIcon[] = L"значок ";
inline constexpr wchar_t kSummaryType[] = L"тип ";
inline constexpr wchar_t kBatchStopped[] = L"Остановлено.";
inline constexpr wchar_t kSubfoldersSearching[] = L"Поиск вложенных папок: ";
inline constexpr wchar_t kSubfoldersUnreadable[] = L"В эти папки войти не удалось, их вложенные папки не добавлены:";
inline constexpr wchar_t kBusy[] =
    L"Команда над папками ещё выполняется. Дождитесь её конца или остановите её кнопкой «Отмена».";
inline constexpr wchar_t kStopBatchQuestion[] =
    L"Команда над папками ещё выполняется. Остановить её и закрыть Quenmark?\r\n\r\nПапки, которые она уже "
    L"изменила, останутся такими; вернуть их как было можно и позже, из журнала (F6). «Нет»: команда "
    L"продолжится.";
inline constexpr wchar_t kDropDamaged[] =
    L"Список выбранных папок пришёл повреждённым, поэтому ни одна из них не открыта. Выберите папки и вызовите "
    L"команду ещё раз.";
inline constexpr wchar_t kUndoChangedMany[] =
    L"После команды файлы этих каталогов изменил кто-то другой. Вернуть их как было? Их нынешнее содержимое "
    L"пропадёт.";

// "1 папка", "3 папки", "12 папок", "21 папка".
inline std::wstring foldersCount(std::size_t count)
{
    const std::size_t ones = count % 10, tens = count % 100;
    const wchar_t* word = ones == 1 && tens != 11                           ? L" папка"
        : ones >= 2 && ones <= 4 && !(tens >= 12 && tens <= 14) ? L" папки"
                                                                : L" папок";
    return std::to_wstring(count) + word;
}

// A folder kept by a sync client that leaves its Desktop.INI behind: said after "Готово!".
inline constexpr const wchar_t* kCloudClientNames[] = {L"OneDrive", L"Nextcloud или ownCloud", L"MEGA"};
inline std::wstring cloudFolderNote(const std::wstring& client)
{
    return L"Эта папка в " + client
        + L": файл Desktop.INI не синхронизируется, поэтому оформление останется только на этом компьютере.";
}
// After a command over many folders: "3 папки — в OneDrive и MEGA: …".
inline std::wstring cloudFoldersNote(std::size_t count, const std::wstring& clients)
{
    return foldersCount(count) + L" — в " + clients
        + L": файл Desktop.INI там не синхронизируется, поэтому оформление останется только на этом компьютере.";
}

// "Готово: 97 из 100. Не удалось: 3."
inline std::wstring batchAccount(std::size_t done, std::size_t total, std::size_t failed)
{
    return L"Готово: " + std::to_wstring(done) + L" из " + std::to_wstring(total) + L". Не удалось: "
        + std::to_wstring(failed) + L".";
}

// While a command runs: "12 из 100: D:\Фото\2004".
inline std::wstring batchProgress(std::size_t place, std::size_t total, const std::wstring& folder)
{
    return std::to_wstring(place) + L" из " + std::to_wstring(total) + L": " + folder;
}
