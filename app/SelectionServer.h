#pragma once
#include "support/ComApartment.h"

#include <windows.h>

#include <oleidl.h>

#include <string>
#include <vector>

// Whether COM started the exe as the server of the folders' drop target, with the
// switch it adds to the class's command line.
bool isServerStart(const std::wstring& arguments);

// The exe as the server of the folders' drop target: the shell hands it a whole
// selection of folders in one Drop. The class is offered for one connection only, so
// that each choice of the command has a copy of its own, and COM stays on for the rest
// of the run, while the shell may still release the target.
class SelectionServer {
public:
    SelectionServer() = default;
    SelectionServer(const SelectionServer&) = delete;
    SelectionServer& operator=(const SelectionServer&) = delete;

    // The folders of the first drop that are there, in the selection's order; empty
    // when no drop arrives within the wait. The drop returns to the shell before the
    // caller opens any window.
    std::vector<std::wstring> receive(DWORD waitMilliseconds);
    // The drop that came was damaged, and none of its folders taken.
    bool damaged() const { return target_.damaged; }

private:
    class Target : public IDropTarget, public IClassFactory {
    public:
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        // The object lives as long as the server, whatever COM counts.
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
        HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

        bool dropped = false;
        bool damaged = false; // the drop's list of paths broke its own bounds
        std::vector<std::wstring> folders;
    };

    ComApartment apartment_;
    Target target_;
};
