#include "undo/FolderRecord.h"

#include <cstring>

namespace {

constexpr char kMagic[8] = {'Q', 'M', 'K', 'U', 'N', 'D', 'O', '\x1a'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = sizeof kMagic + 4 + 8 + 8;

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

// Every read checks the length left, so a cut or forged record fails, never overreads.
class Reader {
public:
    Reader(const std::string& bytes, std::size_t at) : bytes_(bytes), at_(at) {}
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
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    std::size_t at_;
};

} // namespace

std::uint64_t hashBytes(const void* data, std::size_t size, std::uint64_t seed)
{
    // FNV-1a: enough to notice damage and edits; nothing here guards against forgery,
    // which needs the user's own rights over the store anyway.
    std::uint64_t hash = seed;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

std::wstring comparablePath(const std::wstring& path)
{
    std::wstring result = path;
    for (wchar_t& c : result) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return result;
}

std::string encodeRecord(const FolderRecord& record)
{
    Writer body;
    body.text(record.folder);
    body.text(record.command);
    body.text(record.window);
    for (const std::uint16_t part :
         {record.time.year, record.time.month, record.time.day, record.time.hour, record.time.minute})
        body.number(part, 2);
    body.number(record.paths.size(), 4);
    for (const RecordedPath& path : record.paths) {
        body.text(path.path);
        body.number(path.isFolder, 1);
        body.number(path.existed, 1);
        body.number(path.attributes, 4);
        body.blob(path.bytes);
        body.number(path.leftExists, 1);
        body.number(path.leftAttributes, 4);
        body.number(path.leftHash, 8);
    }
    Writer whole;
    whole.bytes_.assign(kMagic, sizeof kMagic);
    whole.number(kVersion, 4);
    whole.number(body.bytes_.size(), 8);
    whole.number(hashBytes(body.bytes_.data(), body.bytes_.size()), 8);
    return whole.bytes_ + body.bytes_;
}

bool decodeRecord(const std::string& bytes, FolderRecord& record)
{
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return false;
    Reader header(bytes, sizeof kMagic);
    std::uint64_t version = 0, size = 0, checksum = 0;
    (void)header.number(version, 4);
    (void)header.number(size, 8);
    (void)header.number(checksum, 8);
    if (version != kVersion || size != bytes.size() - kHeaderSize
        || checksum != hashBytes(bytes.data() + kHeaderSize, bytes.size() - kHeaderSize))
        return false;
    Reader body(bytes, kHeaderSize);
    FolderRecord read;
    std::uint64_t count = 0;
    bool ok = body.text(read.folder) && body.text(read.command) && body.text(read.window)
        && body.field(read.time.year, 2) && body.field(read.time.month, 2) && body.field(read.time.day, 2)
        && body.field(read.time.hour, 2) && body.field(read.time.minute, 2) && body.number(count, 4);
    for (std::uint64_t i = 0; ok && i < count; ++i) {
        RecordedPath path;
        ok = body.text(path.path) && body.field(path.isFolder, 1) && body.field(path.existed, 1)
            && body.field(path.attributes, 4) && body.blob(path.bytes) && body.field(path.leftExists, 1)
            && body.field(path.leftAttributes, 4) && body.field(path.leftHash, 8);
        read.paths.push_back(std::move(path));
    }
    if (!ok || !body.atEnd())
        return false;
    record = std::move(read);
    return true;
}
