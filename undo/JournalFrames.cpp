#include "undo/JournalFrames.h"

#include <cstring>

namespace {

constexpr char kMark[3] = {'Q', 'M', 'J'};

class Writer {
public:
    void number(std::uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void text(const std::wstring& value)
    {
        number(value.size(), 4);
        for (const wchar_t c : value)
            number(static_cast<std::uint16_t>(c), 2);
    }
    void blob(const std::string& value)
    {
        number(value.size(), 8);
        bytes_ += value;
    }
    std::string bytes_;
};

// Every read checks the length left, so a cut or forged body fails, never overreads.
class Reader {
public:
    explicit Reader(const std::string& bytes, std::size_t at = 0) : bytes_(bytes), at_(at) {}
    bool number(std::uint64_t& value, int size)
    {
        if (bytes_.size() - at_ < static_cast<std::size_t>(size))
            return false;
        value = 0;
        for (int i = 0; i < size; ++i)
            value |= std::uint64_t {static_cast<unsigned char>(bytes_[at_ + i])} << (8 * i);
        at_ += size;
        return true;
    }
    template <typename T> bool field(T& value, int size)
    {
        std::uint64_t read = 0;
        if (!number(read, size))
            return false;
        value = static_cast<T>(read);
        return true;
    }
    bool text(std::wstring& value)
    {
        std::uint64_t size = 0;
        if (!number(size, 4) || size > (bytes_.size() - at_) / 2)
            return false;
        value.resize(static_cast<std::size_t>(size));
        for (wchar_t& c : value) {
            if (!field(c, 2))
                return false;
        }
        return true;
    }
    bool blob(std::string& value)
    {
        std::uint64_t size = 0;
        if (!number(size, 8) || size > bytes_.size() - at_)
            return false;
        value = bytes_.substr(at_, static_cast<std::size_t>(size));
        at_ += static_cast<std::size_t>(size);
        return true;
    }
    // A count of items, each at least minimum bytes long: a forged count cannot make the
    // reader reserve more than the body holds.
    bool count(std::uint64_t& value, std::size_t minimum)
    {
        return number(value, 4) && value <= (bytes_.size() - at_) / minimum;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    std::size_t at_;
};

std::uint64_t checksumOf(FrameType type, const std::string& body)
{
    const auto kind = static_cast<unsigned char>(type);
    return hashBytes(body.data(), body.size(), hashBytes(&kind, 1));
}

void writeTime(Writer& out, const RecordTime& time)
{
    for (const std::uint16_t part : {time.year, time.month, time.day, time.hour, time.minute})
        out.number(part, 2);
}

bool readTime(Reader& in, RecordTime& time)
{
    return in.field(time.year, 2) && in.field(time.month, 2) && in.field(time.day, 2) && in.field(time.hour, 2)
        && in.field(time.minute, 2);
}

} // namespace

std::string frameOf(FrameType type, const std::string& body)
{
    Writer head;
    head.bytes_.assign(kMark, sizeof kMark);
    head.number(static_cast<std::uint8_t>(type), 1);
    head.number(body.size(), 4);
    head.number(checksumOf(type, body), 8);
    return head.bytes_ + body;
}

bool readFrameHeader(const char* bytes, FrameType& type, std::uint32_t& bodySize, std::uint64_t& checksum)
{
    if (std::memcmp(bytes, kMark, sizeof kMark) != 0)
        return false;
    const std::string head(bytes, kFrameHeaderSize);
    Reader in(head, sizeof kMark);
    std::uint8_t kind = 0;
    (void)in.field(kind, 1);
    (void)in.field(bodySize, 4);
    (void)in.field(checksum, 8);
    type = static_cast<FrameType>(kind);
    return kind >= static_cast<std::uint8_t>(FrameType::Header) && kind <= static_cast<std::uint8_t>(FrameType::Finished)
        && bodySize <= kMaxFrameBody;
}

bool bodyMatches(FrameType type, const std::string& body, std::uint64_t checksum)
{
    return checksumOf(type, body) == checksum;
}

std::string encodeHeader(const EntryHeader& header)
{
    Writer out;
    out.number(static_cast<std::uint8_t>(header.kind), 1);
    out.text(header.undoes);
    out.text(header.name.command);
    out.text(header.name.window);
    writeTime(out, header.name.time);
    out.number(header.folders.size(), 4);
    for (const std::wstring& folder : header.folders)
        out.text(folder);
    return out.bytes_;
}

bool decodeHeader(const std::string& body, EntryHeader& header)
{
    Reader in(body);
    EntryHeader read;
    std::uint64_t count = 0;
    bool ok = in.field(read.kind, 1) && read.kind <= EntryKind::Undo && in.text(read.undoes)
        && in.text(read.name.command) && in.text(read.name.window) && readTime(in, read.name.time)
        && in.count(count, 4);
    for (std::uint64_t i = 0; ok && i < count; ++i)
        ok = in.text(read.folders.emplace_back());
    if (!ok || !in.atEnd())
        return false;
    header = std::move(read);
    return true;
}

std::string encodeBefore(const FolderBefore& before)
{
    Writer out;
    out.number(before.folder, 4);
    out.number(before.paths.size(), 4);
    for (const RecordedPath& path : before.paths) {
        out.text(path.path);
        out.number(path.isFolder, 1);
        out.number(path.existed, 1);
        out.number(path.attributes, 4);
        out.blob(path.bytes);
    }
    return out.bytes_;
}

bool decodeBefore(const std::string& body, FolderBefore& before)
{
    Reader in(body);
    FolderBefore read;
    std::uint64_t count = 0;
    bool ok = in.field(read.folder, 4) && in.count(count, 18);
    for (std::uint64_t i = 0; ok && i < count; ++i) {
        RecordedPath& path = read.paths.emplace_back();
        ok = in.text(path.path) && in.field(path.isFolder, 1) && in.field(path.existed, 1)
            && in.field(path.attributes, 4) && in.blob(path.bytes);
    }
    if (!ok || !in.atEnd())
        return false;
    before = std::move(read);
    return true;
}

std::string encodeLeft(const FolderLeft& left)
{
    Writer out;
    out.number(left.folder, 4);
    out.number(static_cast<std::uint8_t>(left.end), 1);
    out.number(left.undoable, 1);
    out.number(left.paths.size(), 4);
    for (const RecordedPath& path : left.paths) {
        out.text(path.path);
        out.number(path.isFolder, 1);
        out.number(path.leftExists, 1);
        out.number(path.leftAttributes, 4);
        out.number(path.leftHash, 8);
    }
    return out.bytes_;
}

bool decodeLeft(const std::string& body, FolderLeft& left)
{
    Reader in(body);
    FolderLeft read;
    std::uint64_t count = 0;
    bool ok = in.field(read.folder, 4) && in.field(read.end, 1) && read.end <= FolderEnd::Changed
        && in.field(read.undoable, 1) && in.count(count, 18);
    for (std::uint64_t i = 0; ok && i < count; ++i) {
        RecordedPath& path = read.paths.emplace_back();
        ok = in.text(path.path) && in.field(path.isFolder, 1) && in.field(path.leftExists, 1)
            && in.field(path.leftAttributes, 4) && in.field(path.leftHash, 8);
    }
    if (!ok || !in.atEnd())
        return false;
    left = std::move(read);
    return true;
}

std::string encodeDropped(std::uint32_t folder)
{
    Writer out;
    out.number(folder, 4);
    return out.bytes_;
}

bool decodeDropped(const std::string& body, std::uint32_t& folder)
{
    Reader in(body);
    return in.field(folder, 4) && in.atEnd();
}
