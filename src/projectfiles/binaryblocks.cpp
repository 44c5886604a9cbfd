#include "projectfiles/binaryblocks.h"

#include "platform/error.h"

#include <algorithm>

namespace tw {

uint32_t ByteReader::ReadU32()
{
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= static_cast<uint32_t>(ReadByte()) << shift;
    return value;
}

BlockReader::BlockReader(ByteReader& file) : file_(file)
{
    chunkLeft_ = file_.ReadU32();
}

bool BlockReader::NextChunk()
{
    while (!ended_ && !file_.AtEnd()) {
        if (chunkLeft_ > 0)
            return true;
        if ((file_.ReadByte() & 1) == 0)
            break;
        chunkLeft_ = file_.ReadU32();
    }
    ended_ = true;
    return false;
}

template <typename Take>
void BlockReader::Read(std::size_t count, Take take)
{
    while (count > 0 && HasContent()) {
        const std::string_view part = file_.Take(static_cast<std::size_t>(std::min<uint64_t>(chunkLeft_, count)));
        take(part);
        chunkLeft_ -= part.size();
        count -= part.size();
    }
}

uint8_t BlockReader::ReadByte()
{
    if (!HasContent())
        return 0;
    --chunkLeft_;
    return file_.ReadByte();
}

uint16_t BlockReader::ReadU16Pieces()
{
    const uint16_t low = ReadByte();
    return static_cast<uint16_t>(low | (ReadByte() << 8));
}

std::string_view BlockReader::ReadTextPieces(std::string& pieces)
{
    const uint16_t length = ReadU16();
    pieces.clear();
    Read(length, [&pieces](std::string_view part) { pieces.append(part); });
    return pieces;
}

void BlockReader::SkipTextPieces()
{
    Read(ReadU16(), [](std::string_view) {});
}

std::string BlockReader::ReadText()
{
    std::string pieces;
    const std::string_view text = ReadText(pieces);
    if (text.data() == pieces.data())
        return pieces; // moved, not copied
    return std::string(text);
}

std::string BlockReader::ReadAll()
{
    std::string content;
    Read(file_.Remaining(), [&content](std::string_view part) { content.append(part); });
    return content;
}

void AppendU16(std::string& out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void AppendU32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendTextField(std::string& out, const std::string& text, const char* ownerKind, const std::string& ownerName)
{
    if (text.size() > MaxTextFieldLength) {
        const std::string owner = std::string(ownerKind) + " \"" + ownerName.substr(0, 40) + "\"";
        throw Error(FormatMessage("Ein Text von %s ist l\xE4nger als 65535 Zeichen und kann in diesem Format nicht "
                                  "gespeichert werden.",
                                  owner));
    }
    AppendU16(out, static_cast<uint16_t>(text.size()));
    out += text;
}

std::size_t BeginChunk(std::string& out)
{
    const std::size_t start = out.size();
    AppendU32(out, 0);
    return start;
}

void EndChunk(std::string& out, std::size_t chunkStart)
{
    const std::size_t length = out.size() - chunkStart - 4;
    if (length > UINT32_MAX)
        throw Error("Das Projekt ist zu gro\xDF f\xFCr das Bin\xE4rformat.");
    for (int i = 0; i < 4; ++i)
        out[chunkStart + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
}

} // namespace tw
