#pragma once
#include <functional>
#include <string>

// Sync clients that leave a folder's Desktop.INI behind: OneDrive (and SharePoint through
// it) refuses the name, Nextcloud, ownCloud and MEGA exclude it by default. In a folder
// they keep, the settings stay on this computer, and the copies reach the others without
// the file that names them. Other clients (Google Drive among them) leave no documented
// mark that a look-up could tell cheaply, so they are not named.
enum class CloudClient { None, OneDrive, Nextcloud, Mega };

// What the telling asks of the system, which tests stand in for.
struct CloudProbe {
    std::function<std::wstring(const wchar_t* name)> environment; // a variable's value; empty when unset
    std::function<bool(const std::wstring& pattern)> exists; // whether a file matches, "*" as the system reads it
};

// The client that keeps the folder, a full path: OneDrive when the folder is at or under
// a root that its variables (OneDrive, OneDriveConsumer, OneDriveCommercial) name; the
// others by what each keeps at the root of what it syncs, the folder itself or one above
// it: Nextcloud and ownCloud their journal (.sync_*.db, ._sync_*.db) or log
// (.owncloudsync.log), MEGA its .megaignore. The nearest root tells.
CloudClient cloudClientOf(const std::wstring& folder, const CloudProbe& probe);

// The client's name as its users know it; empty for None.
const wchar_t* cloudClientName(CloudClient client);
