#pragma once
#include "preview/PictureDecoder.h"

#include <windows.h>

#include <memory>
#include <string>

// Decodes pictures on threads of their own, so that the windows keep answering while a
// large or distant picture decodes, and posts a message to the window when a picture is
// ready. Only the newest request is wanted: an older one is not decoded when it has not
// begun, and its picture is released by its thread when it has; so is a picture that
// comes after the window has gone. One picture decodes at a time, so that quick changes
// never hold several large pictures at once.
class PictureLoader {
public:
    PictureLoader();
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;
    ~PictureLoader();

    // Outdates every earlier request and starts decoding path; message (no parameters)
    // goes to the window when it is decoded. Waits a moment for it, so that a small
    // picture is there at once, without a frame of "opening". False when no thread
    // could start.
    bool start(HWND window, UINT message, const std::wstring& path);
    // Outdates every request; a picture decoded and not taken is released.
    void cancel();
    // The newest request's picture, once it is decoded; false before, and after it is taken.
    bool take(DecodeResult& result, DecodedPicture& picture);

private:
    struct Shared;
    struct Request;
    static DWORD WINAPI decode(void* request);

    std::shared_ptr<Shared> shared_;
};
