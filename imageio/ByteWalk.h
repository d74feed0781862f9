#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

// Reads little or big-endian numbers from a file's bytes by offset; a read that does not
// lie wholly inside the bytes gives nothing.
class ByteWalk {
public:
    explicit ByteWalk(std::span<const uint8_t> bytes, bool bigEndian = false) : bytes_(bytes), bigEndian_(bigEndian) {}

    uint64_t Size() const { return bytes_.size(); }
    bool Has(uint64_t at, uint64_t count) const { return at <= bytes_.size() && bytes_.size() - at >= count; }
    // count bytes, 1 to 8.
    std::optional<uint64_t> Number(uint64_t at, int count) const
    {
        if (count < 1 || count > 8 || !Has(at, uint64_t(count))) {
            return std::nullopt;
        }
        uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = value << 8 | bytes_[size_t(at) + size_t(bigEndian_ ? i : count - 1 - i)];
        }
        return value;
    }
    bool Matches(uint64_t at, std::string_view text) const
    {
        return Has(at, text.size()) && std::memcmp(bytes_.data() + at, text.data(), text.size()) == 0;
    }
    // The bytes [at, at + count); empty when they do not lie inside.
    std::span<const uint8_t> Bytes(uint64_t at, uint64_t count) const
    {
        return Has(at, count) ? bytes_.subspan(size_t(at), size_t(count)) : std::span<const uint8_t>();
    }

private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};
