#include "preview/PictureLoader.h"

#include <utility>

namespace {

// How long start waits for a picture before the window goes on without it: enough for
// a picture of a megapixel or so, short enough not to be felt.
constexpr DWORD kWaitMs = 30;

class Locked {
public:
    explicit Locked(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    ~Locked() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION& section_;
};

struct ThreadHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return nullptr; }
    static void close(Handle h) { CloseHandle(h); }
};

} // namespace

// What the window and the decoding threads share; the last of them to let go frees it.
struct PictureLoader::Shared {
    Shared()
    {
        InitializeCriticalSection(&lock);
        InitializeCriticalSection(&decoding);
    }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;
    ~Shared()
    {
        DeleteCriticalSection(&decoding);
        DeleteCriticalSection(&lock);
    }

    CRITICAL_SECTION lock; // over the members below
    CRITICAL_SECTION decoding; // held by the one thread that decodes
    unsigned wanted = 0; // the newest request's number
    HWND window = nullptr;
    UINT message = 0;
    bool ready = false;
    DecodeResult result = DecodeResult::Missing;
    DecodedPicture picture;
};

struct PictureLoader::Request {
    std::shared_ptr<Shared> shared;
    std::wstring path;
    unsigned number;
};

DWORD WINAPI PictureLoader::decode(void* parameter)
{
    const std::unique_ptr<Request> request(static_cast<Request*>(parameter));
    auto& shared = *request->shared;
    DecodedPicture picture; // released on return unless it is still wanted
    DecodeResult result = DecodeResult::Undecodable;
    {
        const Locked one(shared.decoding);
        {
            const Locked locked(shared.lock);
            if (shared.wanted != request->number)
                return 0;
        }
        result = decodePicture(request->path, picture);
    }
    const Locked locked(shared.lock);
    if (shared.wanted != request->number)
        return 0;
    shared.result = result;
    shared.picture = std::move(picture);
    shared.ready = true;
    PostMessageW(shared.window, shared.message, 0, 0);
    return 0;
}

PictureLoader::PictureLoader() : shared_(std::make_shared<Shared>()) {}

PictureLoader::~PictureLoader()
{
    cancel();
}

bool PictureLoader::start(HWND window, UINT message, const std::wstring& path)
{
    cancel();
    auto request = std::make_unique<Request>(Request {shared_, path, 0});
    {
        const Locked locked(shared_->lock);
        shared_->window = window;
        shared_->message = message;
        request->number = shared_->wanted;
    }
    const UniqueHandle<ThreadHandleTraits> thread(CreateThread(nullptr, 0, decode, request.get(), 0, nullptr));
    if (!thread)
        return false;
    request.release(); // the thread's now
    WaitForSingleObject(thread.get(), kWaitMs);
    return true;
}

void PictureLoader::cancel()
{
    DecodedPicture outdated; // released after the lock is left
    const Locked locked(shared_->lock);
    ++shared_->wanted;
    shared_->ready = false;
    outdated = std::move(shared_->picture);
}

bool PictureLoader::take(DecodeResult& result, DecodedPicture& picture)
{
    const Locked locked(shared_->lock);
    if (!shared_->ready)
        return false;
    shared_->ready = false;
    result = shared_->result;
    picture = std::move(shared_->picture);
    return true;
}
