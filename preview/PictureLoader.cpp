#include "preview/PictureLoader.h"

#include "support/Job.h"

#include <atomic>
#include <list>
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
    CRITICAL_SECTION lock; // over jobs
    std::list<Job> jobs; // every loader's job that may still run
};

Decoding& decoding()
{
    static Decoding& one = *new Decoding;
    return one;
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

    // The wanted picture is ready; the lock is held.
    void deliver(DecodeResult outcome, DecodedPicture&& shown) noexcept
    {
        result = outcome;
        picture = std::move(shown);
        ready = true;
        SetEvent(decoded);
        PostMessageW(window, message, 0, 0);
    }
};

// A loader's thread: a step takes the newest request and decodes it, until none waits.
class PictureLoader::Requests : public JobSteps {
public:
    explicit Requests(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

    bool next(const std::atomic<bool>& stop) override
    {
        Shared& shared = *shared_;
        std::wstring path;
        {
            const Locked locked(shared.lock);
            if (!shared.hasPending) {
                shared.running = false;
                return false;
            }
            path.swap(shared.pending);
            shared.hasPending = false;
            number_ = shared.wanted;
        }
        // An outdated picture is released before the next decoding of the program starts.
        const Locked one(decoding().section);
        DecodedPicture picture;
        {
            const Locked locked(shared.lock);
            if (stop || decoding().stopped) {
                shared.running = false;
                return false;
            }
            if (shared.wanted != number_)
                return true;
        }
        const DecodeResult result = shared.decode(path, shared.box, picture);
        const Locked locked(shared.lock);
        if (shared.wanted == number_)
            shared.deliver(result, std::move(picture));
        return true;
    }

    // A decoder that throws (a failed allocation, above all) is a picture that cannot be shown.
    bool failed() noexcept override
    {
        const Locked locked(shared_->lock);
        if (shared_->wanted == number_)
            shared_->deliver(DecodeResult::Undecodable, {});
        return true;
    }

private:
    std::shared_ptr<Shared> shared_;
    unsigned number_ = 0; // the request in hand
};

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
    std::list<Job> jobs;
    {
        const Locked locked(program.lock);
        jobs.swap(program.jobs);
    }
    jobs.clear(); // each waits for its thread as it goes
}

// The job is kept, so that the program's end waits for it; those that ended go.
bool PictureLoader::startThread()
{
    Decoding& program = decoding();
    const Locked locked(program.lock);
    if (program.stopped)
        return false;
    std::erase_if(program.jobs, [](const Job& job) { return !job.running(); });
    Job& job = program.jobs.emplace_back();
    if (job.start(std::make_unique<Requests>(shared_)))
        return true;
    program.jobs.pop_back();
    return false;
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
