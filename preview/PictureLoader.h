#pragma once
#include "preview/PictureDecoder.h"

#include <windows.h>

#include <memory>
#include <string>

// Decodes pictures on a thread of its own, below the windows' priority, so that they
// keep answering while a large or distant picture decodes, and posts a message to the
// window when a picture is ready. Only the newest request is wanted: an older one is
// not decoded when it has not begun, and its picture is released by the thread when it
// has. A loader runs at most one thread, which takes the newest request when it is done
// with the one in hand; and one picture decodes at a time in the whole program, so that
// the windows never hold the decoder's large buffers twice. The thread shares nothing
// with the loader's owner: a window that goes does not wait for a decoding in hand.
class PictureLoader {
public:
    // What a request makes of its file: the picture fitted into box, or at its own size
    // when box is empty. It may throw, which is told as Undecodable.
    using Decode = DecodeResult (*)(const std::wstring& path, SIZE box, DecodedPicture& picture);
    static DecodeResult decodeFile(const std::wstring& path, SIZE box, DecodedPicture& picture);

    explicit PictureLoader(SIZE box = {}, Decode decode = decodeFile);
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;
    // Outdates the requests; a decoding in hand ends on its own, unseen.
    ~PictureLoader();

    // Outdates every earlier request and asks for path; message (no parameters) goes to
    // the window when it is decoded. Waits a moment for it, so that a small picture is
    // there at once, without a frame of "opening". False when no thread could start.
    bool start(HWND window, UINT message, const std::wstring& path);
    // Outdates every request; a picture decoded and not taken is released.
    void cancel();
    // The newest request's picture, once it is decoded; false before, and after it is taken.
    bool take(DecodeResult& result, DecodedPicture& picture);

    // At the program's end: waits for the decoding in hand, lets no other begin and
    // waits for every loader's thread to end, so that none runs while the program's
    // state is torn down. No loader starts a thread after it.
    static void stopDecoding();

private:
    struct Shared;
    class Requests;
    bool startThread();

    std::shared_ptr<Shared> shared_;
};
