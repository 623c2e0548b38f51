#pragma once
#include <cstdint>

// Every support-library operation returns one of these and puts its result in its
// last parameter. A failure carries a Windows error number, so that a caller that
// reports it can name it and one that skips it can simply test it. Skipping one is a
// decision: the caller says so with (void) and why.
class [[nodiscard]] TsStatus {
public:
    static constexpr std::uint32_t kAccessDenied = 5; // ERROR_ACCESS_DENIED
    static constexpr std::uint32_t kInvalidData = 13; // ERROR_INVALID_DATA
    static constexpr std::uint32_t kInvalidName = 123; // ERROR_INVALID_NAME
    static constexpr std::uint32_t kPathTooLong = 206; // ERROR_FILENAME_EXCED_RANGE
    static constexpr std::uint32_t kNoUnicodeMapping = 1113; // ERROR_NO_UNICODE_TRANSLATION

    constexpr TsStatus() = default;
    static constexpr TsStatus failure(std::uint32_t error) { return TsStatus(error == 0 ? kInvalidData : error); }

    constexpr bool ok() const { return error_ == 0; }
    constexpr explicit operator bool() const { return ok(); }
    constexpr std::uint32_t error() const { return error_; }

private:
    constexpr explicit TsStatus(std::uint32_t error) : error_(error) {}
    std::uint32_t error_ = 0;
};
