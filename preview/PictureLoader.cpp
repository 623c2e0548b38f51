#include "preview/PictureLoader.h"

#include "support/Handles.h"

#include <atomic>
#include <utility>
#include <vector>

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

// What the program's decoding threads share (never deleted: it goes with the process,
// after the last of them).
struct Decoding {
    Decoding()
    {
        InitializeCriticalSection(&section);
        InitializeCriticalSection(&lock);
    }
    CRITICAL_SECTION section; // held by the one thread of the program that decodes
    std::atomic<bool> stopped = false; // at the program's end: no decoding begins
    CRITICAL_SECTION lock; // over threads
    std::vector<ThreadHandle> threads; // every loader's thread that may still run
};

Decoding& decoding()
{
    static Decoding& one = *new Decoding;
    return one;
}

// A decoder that throws (a failed allocation, above all) is a picture that cannot be shown.
DecodeResult decodeCatching(PictureLoader::Decode decode, const std::wstring& path, SIZE box, DecodedPicture& picture)
{
    try {
        return decode(path, box, picture);
    } catch (...) {
        picture = {};
        return DecodeResult::Undecodable;
    }
}

} // namespace

// What the window and its decoding thread share; the last of them to let go frees it.
struct PictureLoader::Shared {
    Shared(SIZE fit, Decode function) : box(fit), decode(function) { InitializeCriticalSection(&lock); }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;
    ~Shared()
    {
        DeleteCriticalSection(&lock);
        CloseHandle(decoded);
    }

    const SIZE box;
    const Decode decode;
    HANDLE decoded = CreateEventW(nullptr, FALSE, FALSE, nullptr); // set when a wanted picture is ready
    CRITICAL_SECTION lock; // over the members below
    unsigned wanted = 0; // the newest request's number
    std::wstring pending; // the newest request's path, until the thread takes it
    bool hasPending = false;
    bool running = false; // a thread takes the pending request when it is done
    HWND window = nullptr;
    UINT message = 0;
    bool ready = false;
    DecodeResult result = DecodeResult::Missing;
    DecodedPicture picture;
};

DWORD WINAPI PictureLoader::run(void* parameter)
{
    const std::unique_ptr<std::shared_ptr<Shared>> owner(static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **owner;
    for (;;) {
        std::wstring path;
        unsigned number = 0;
        {
            const Locked locked(shared.lock);
            if (!shared.hasPending) {
                shared.running = false;
                return 0;
            }
            path.swap(shared.pending);
            shared.hasPending = false;
            number = shared.wanted;
        }
        // An outdated picture is released before the next decoding of the program starts.
        const Locked one(decoding().section);
        DecodedPicture picture;
        {
            const Locked locked(shared.lock);
            if (decoding().stopped) {
                shared.running = false;
                return 0;
            }
            if (shared.wanted != number)
                continue;
        }
        const DecodeResult result = decodeCatching(shared.decode, path, shared.box, picture);
        const Locked locked(shared.lock);
        if (shared.wanted != number)
            continue;
        shared.result = result;
        shared.picture = std::move(picture);
        shared.ready = true;
        SetEvent(shared.decoded);
        PostMessageW(shared.window, shared.message, 0, 0);
    }
}

DecodeResult PictureLoader::decodeFile(const std::wstring& path, SIZE box, DecodedPicture& picture)
{
    return box.cx > 0 && box.cy > 0 ? decodeThumbnail(path, box, picture) : decodePicture(path, picture);
}

PictureLoader::PictureLoader(SIZE box, Decode decode) : shared_(std::make_shared<Shared>(box, decode)) {}

PictureLoader::~PictureLoader()
{
    cancel();
}

void PictureLoader::stopDecoding()
{
    Decoding& program = decoding();
    program.stopped = true;
    std::vector<ThreadHandle> threads;
    {
        const Locked locked(program.lock);
        threads.swap(program.threads);
    }
    for (const ThreadHandle& thread : threads)
        WaitForSingleObject(thread.get(), INFINITE);
}

// Its handle is kept, so that the program's end waits for it; those of ended threads go.
bool PictureLoader::startThread()
{
    Decoding& program = decoding();
    const Locked locked(program.lock);
    if (program.stopped)
        return false;
    std::erase_if(program.threads,
                  [](const ThreadHandle& thread) { return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0; });
    program.threads.reserve(program.threads.size() + 1);
    auto owner = std::make_unique<std::shared_ptr<Shared>>(shared_);
    ThreadHandle thread(CreateThread(nullptr, 0, run, owner.get(), CREATE_SUSPENDED, nullptr));
    if (!thread)
        return false;
    owner.release(); // the thread's now
    SetThreadPriority(thread.get(), THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread.get());
    program.threads.push_back(std::move(thread));
    return true;
}

bool PictureLoader::start(HWND window, UINT message, const std::wstring& path)
{
    DecodedPicture outdated; // released after the lock is left
    std::wstring request = path;
    bool idle = false;
    {
        const Locked locked(shared_->lock);
        ++shared_->wanted;
        shared_->ready = false;
        outdated = std::move(shared_->picture);
        shared_->window = window;
        shared_->message = message;
        shared_->pending.swap(request);
        shared_->hasPending = true;
        idle = !shared_->running;
        shared_->running = true;
        ResetEvent(shared_->decoded);
    }
    if (idle && !startThread()) {
        const Locked locked(shared_->lock);
        shared_->running = shared_->hasPending = false;
        return false;
    }
    // Messages other threads send the window are answered meanwhile.
    const DWORD until = GetTickCount() + kWaitMs;
    for (DWORD left = kWaitMs;
         MsgWaitForMultipleObjects(1, &shared_->decoded, FALSE, left, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1;
         left = static_cast<LONG>(until - GetTickCount()) > 0 ? until - GetTickCount() : 0) {
        MSG sent;
        PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

void PictureLoader::cancel()
{
    DecodedPicture outdated; // released after the lock is left
    const Locked locked(shared_->lock);
    ++shared_->wanted;
    shared_->hasPending = false;
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
