#include "app/SelectionServer.h"

#include "app/FolderCommand.h"
#include "support/ShellFunctions.h"
#include "support/SystemFunction.h"
#include "support/tsFile.h"
#include "support/tsText.h"

#include <ole2.h>

bool isServerStart(const std::wstring& arguments)
{
    // COM writes "-Embedding"; older servers were also started with "/Embedding".
    std::wstring trimmed;
    return tsTrimEx2(arguments, TrimSpace | TrimTab, trimmed)
        && (lstrcmpiW(trimmed.c_str(), L"-Embedding") == 0 || lstrcmpiW(trimmed.c_str(), L"/Embedding") == 0);
}

HRESULT SelectionServer::Target::QueryInterface(REFIID iid, void** object)
{
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDropTarget))
        *object = static_cast<IDropTarget*>(this);
    else if (iid == __uuidof(IClassFactory))
        *object = static_cast<IClassFactory*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    return S_OK;
}

HRESULT SelectionServer::Target::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect)
{
    *effect = DROPEFFECT_COPY;
    return S_OK;
}

HRESULT SelectionServer::Target::DragOver(DWORD, POINTL, DWORD* effect)
{
    *effect = DROPEFFECT_COPY;
    return S_OK;
}

namespace {

// The data object's medium, released by every way out of Drop.
class HeldMedium {
public:
    explicit HeldMedium(decltype(ReleaseStgMedium)* release) : release_(release) {}
    HeldMedium(const HeldMedium&) = delete;
    HeldMedium& operator=(const HeldMedium&) = delete;
    ~HeldMedium()
    {
        if (medium.tymed != TYMED_NULL)
            release_(&medium);
    }
    STGMEDIUM medium = {};

private:
    decltype(ReleaseStgMedium)* release_;
};

} // namespace

// The shell waits for Drop to return: the folders are only taken here. Nothing may
// unwind into COM's code that called it.
HRESULT SelectionServer::Target::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    *effect = DROPEFFECT_NONE;
    try {
        const auto release = systemFunction<decltype(ReleaseStgMedium)>(L"ole32.dll", "ReleaseStgMedium");
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (dropped || !release)
            return E_UNEXPECTED;
        HeldMedium held(release);
        if (FAILED(data->GetData(&format, &held.medium)))
            return E_UNEXPECTED;
        std::vector<std::wstring> paths;
        dropped = true;
        damaged = held.medium.tymed != TYMED_HGLOBAL || !droppedPaths(static_cast<HDROP>(held.medium.hGlobal), paths);
        if (damaged)
            return E_INVALIDARG;
        for (const std::wstring& path : paths) {
            if (tsIsFolder(path))
                folders.push_back(path);
        }
        *effect = DROPEFFECT_COPY;
        return S_OK;
    } catch (...) {
        folders.clear();
        return E_UNEXPECTED;
    }
}

HRESULT SelectionServer::Target::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    *object = nullptr;
    return outer ? CLASS_E_NOAGGREGATION : QueryInterface(iid, object);
}

std::vector<std::wstring> SelectionServer::receive(DWORD waitMilliseconds)
{
    const auto offer = systemFunction<decltype(CoRegisterClassObject)>(L"ole32.dll", "CoRegisterClassObject");
    const auto revoke = systemFunction<decltype(CoRevokeClassObject)>(L"ole32.dll", "CoRevokeClassObject");
    DWORD cookie = 0;
    if (!offer || !revoke
        || FAILED(offer(kSelectionClassId, static_cast<IClassFactory*>(&target_), CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE,
                        &cookie)))
        return {};
    // COM's calls arrive as messages to this thread.
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; !target_.dropped && waited < waitMilliseconds; waited = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMilliseconds - waited, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    revoke(cookie);
    return target_.folders;
}
