#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

// Reading a binary project file held in memory. Every read stops where the
// file ends; missing bytes read as 0, so no length field can make a read
// reach past the file or allocate more than the file holds.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    uint8_t ReadByte() { return AtEnd() ? 0 : static_cast<uint8_t>(bytes_[pos_++]); }
    uint32_t ReadU32();
    // Up to count bytes, fewer when the file ends first.
    std::string_view Take(std::size_t count)
    {
        const std::string_view part = bytes_.substr(pos_, count);
        pos_ += part.size();
        return part;
    }
    // Up to count bytes from the current place, not consumed.
    std::string_view Peek(uint64_t count) const
    {
        return {bytes_.data() + pos_, static_cast<std::size_t>(std::min<uint64_t>(count, Remaining()))};
    }
    // Consumes count bytes that Peek has shown.
    void Skip(std::size_t count) { pos_ += count; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// The content of one block: chunks of a u32 length and that many bytes, each
// followed by a byte whose bit 0 tells whether another chunk follows. Reading
// goes on across chunks; once the block has ended (or the file), reads give
// nothing.
class BlockReader {
public:
    // Reads the length of the first chunk.
    explicit BlockReader(ByteReader& file);

    // True while content is left; at the end of a chunk it reads the mark
    // behind it (and the next chunk's length), so the end mark of the block
    // is consumed once this returns false.
    bool HasContent() { return (chunkLeft_ > 0 && !ended_ && !file_.AtEnd()) || NextChunk(); }
    uint8_t ReadByte();
    uint16_t ReadU16()
    {
        if (chunkLeft_ < 2 || file_.Remaining() < 2 || ended_)
            return ReadU16Pieces();
        chunkLeft_ -= 2;
        const uint16_t low = file_.ReadByte();
        return static_cast<uint16_t>(low | (file_.ReadByte() << 8));
    }
    // A text field: u16 length and that many bytes (fewer when the content ends).
    std::string ReadText();
    // The same without a copy: a view of the file, or of pieces when the text
    // spans chunks (valid until pieces changes).
    std::string_view ReadText(std::string& pieces)
    {
        std::string_view text;
        return TakeTextInChunk(text) ? text : ReadTextPieces(pieces);
    }
    void SkipText()
    {
        std::string_view text;
        if (!TakeTextInChunk(text))
            SkipTextPieces();
    }
    std::string ReadAll();

private:
    // HasContent at the end of a chunk.
    bool NextChunk();
    // ReadU16 across the end of a chunk (or of the file).
    uint16_t ReadU16Pieces();
    // A text field that lies whole, with its length, in the rest of the chunk
    // (the usual case): taken without the bookkeeping of reads across chunks.
    bool TakeTextInChunk(std::string_view& text)
    {
        const std::string_view rest = file_.Peek(chunkLeft_);
        if (rest.size() < 2)
            return false;
        const std::size_t length =
            static_cast<uint8_t>(rest[0]) | static_cast<std::size_t>(static_cast<uint8_t>(rest[1])) << 8;
        if (length > rest.size() - 2)
            return false;
        text = rest.substr(2, length);
        file_.Skip(2 + length);
        chunkLeft_ -= 2 + length;
        return true;
    }
    std::string_view ReadTextPieces(std::string& pieces);
    void SkipTextPieces();
    // Hands up to count content bytes to take, piece by piece.
    template <typename Take>
    void Read(std::size_t count, Take take);

    ByteReader& file_;
    uint64_t chunkLeft_ = 0;
    bool ended_ = false;
};

inline constexpr std::size_t MaxTextFieldLength = 0xFFFF;

// Writing: little-endian integers, text fields and blocks of one chunk.
void AppendU16(std::string& out, uint16_t value);
void AppendU32(std::string& out, uint32_t value);
// Throws tw::Error when the text does not fit a text field; the message names
// what the text belongs to (ownerKind such as "Variable", and its name).
void AppendTextField(std::string& out, const std::string& text, const char* ownerKind, const std::string& ownerName);
// Starts a chunk (its length is filled in by EndChunk) and returns its start.
std::size_t BeginChunk(std::string& out);
void EndChunk(std::string& out, std::size_t chunkStart);

} // namespace tw
