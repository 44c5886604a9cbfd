#include "siteembed/markers.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tw {
namespace {

constexpr std::string_view CommentOpen = "<!--";
constexpr std::string_view CommentClose = "-->";
constexpr std::string_view MarkerWord = "treeweaver:";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

std::size_t SkipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (at > text.size() || text.size() - at < word.size())
        return false;
    for (std::size_t index = 0; index < word.size(); ++index) {
        char c = text[at + index];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != word[index])
            return false;
    }
    return true;
}

// Where a comment at this place would be a marker: "<!--", blanks, perhaps
// "/", then "treeweaver:".
bool LooksLikeMarker(std::string_view text, std::size_t commentStart)
{
    std::size_t at = SkipBlanks(text, commentStart + CommentOpen.size());
    if (at < text.size() && text[at] == '/')
        ++at;
    return text.substr(at, MarkerWord.size()) == MarkerWord;
}

// The first marker-like comment start in [from, to), or npos.
std::size_t FindMarkerLike(std::string_view text, std::size_t from, std::size_t to)
{
    for (std::size_t at = text.find(CommentOpen, from); at != std::string_view::npos && at < to;
         at = text.find(CommentOpen, at + 1)) {
        if (LooksLikeMarker(text, at))
            return at;
    }
    return std::string_view::npos;
}

struct Marker {
    bool end = false;
    BlockKind kind = BlockKind::Menu;
    std::optional<std::string> item;
    std::optional<std::string> sum;
};

// A marker's comment text (between "<!--" and "-->"): the marker, or the
// fault as text.
std::optional<Marker> ParseMarker(std::string_view body, std::string& fault)
{
    Marker marker;
    std::size_t at = SkipBlanks(body, 0);
    if (at < body.size() && body[at] == '/') {
        marker.end = true;
        ++at;
    }
    at += MarkerWord.size();
    const std::size_t nameEnd = std::min(body.find_first_of(" \t\r\n\f", at), body.size());
    const std::string name(body.substr(at, nameEnd - at));
    const auto kind = std::find_if(BlockKinds.begin(), BlockKinds.end(),
                                   [&](BlockKind candidate) { return name == BlockKindName(candidate); });
    if (kind == BlockKinds.end()) {
        fault = "unbekannte Markierung \"treeweaver:" + name + "\"";
        return std::nullopt;
    }
    marker.kind = *kind;
    for (at = SkipBlanks(body, nameEnd); at < body.size(); at = SkipBlanks(body, at)) {
        const std::size_t equals = body.find('=', at);
        if (equals == std::string_view::npos || equals + 1 >= body.size() || body[equals + 1] != '"') {
            fault = "unlesbare Markierung \"treeweaver:" + name + "\"";
            return std::nullopt;
        }
        const std::size_t close = body.find('"', equals + 2);
        if (close == std::string_view::npos) {
            fault = "unlesbare Markierung \"treeweaver:" + name + "\"";
            return std::nullopt;
        }
        const std::string attribute(body.substr(at, equals - at));
        std::string value(body.substr(equals + 2, close - equals - 2));
        if (!marker.end && marker.kind == BlockKind::Menu && attribute == "item") {
            marker.item = std::move(value);
        } else if (marker.end && attribute == "sum") {
            marker.sum = std::move(value);
        } else {
            fault = "unbekanntes Attribut \"" + attribute + "\" an der Markierung \"treeweaver:" + name + "\"";
            return std::nullopt;
        }
        at = close + 1;
    }
    return marker;
}

// The end of an element holding raw text (script, style, textarea) that
// starts at a "<"; npos when the tag is none of them. name gets its name.
std::size_t RawTextEnd(std::string_view page, std::size_t tag, std::string& name)
{
    for (const std::string_view candidate : {"script", "style", "textarea"}) {
        const std::size_t after = tag + 1 + candidate.size();
        if (StartsWithNoCase(page, tag + 1, candidate) &&
            (after >= page.size() || IsBlank(page[after]) || page[after] == '>' || page[after] == '/')) {
            name = candidate;
            for (std::size_t close = page.find("</", after); close != std::string_view::npos;
                 close = page.find("</", close + 1)) {
                if (StartsWithNoCase(page, close + 2, candidate))
                    return close;
            }
            return page.size();
        }
    }
    return std::string_view::npos;
}

std::string AtLine(std::string_view page, std::size_t offset, const std::string& text)
{
    return "Zeile " + std::to_string(LineAt(page, offset)) + ": " + text;
}

} // namespace

const char* BlockKindName(BlockKind kind)
{
    switch (kind) {
    case BlockKind::Head:
        return "head";
    case BlockKind::Menu:
        return "menu";
    case BlockKind::Breadcrumb:
        return "breadcrumb";
    case BlockKind::PrevNext:
        return "prevnext";
    }
    return "";
}

int LineAt(std::string_view page, std::size_t offset)
{
    int line = 1;
    const std::size_t end = std::min(offset, page.size());
    for (std::size_t at = 0; at < end; ++at) {
        if (page[at] == '\n' || (page[at] == '\r' && (at + 1 >= page.size() || page[at + 1] != '\n')))
            ++line;
    }
    return line;
}

MarkerScan ScanMarkers(std::string_view page)
{
    MarkerScan scan;
    std::array<int, BlockKinds.size()> seenAt{}; // the line of each kind's block, 0 when none
    std::optional<MarkedBlock> open;
    const auto fail = [&](std::size_t offset, const std::string& text) {
        scan.blocks.clear();
        scan.faultLine = LineAt(page, offset);
        scan.fault = AtLine(page, offset, text);
        return scan;
    };
    // A marker inside script, style or textarea is no comment there.
    std::size_t at = page.find('<');
    while (at != std::string_view::npos) {
        if (page.substr(at, CommentOpen.size()) == CommentOpen) {
            const std::size_t close = page.find(CommentClose, at + CommentOpen.size());
            const std::size_t end = close == std::string_view::npos ? page.size() : close + CommentClose.size();
            if (!LooksLikeMarker(page, at)) {
                const std::size_t inner = FindMarkerLike(page, at + CommentOpen.size(), end);
                if (inner != std::string_view::npos)
                    return fail(inner, "Markierung innerhalb eines anderen Kommentars");
                at = page.find('<', end);
                continue;
            }
            if (close == std::string_view::npos)
                return fail(at, "Markierung ohne \"-->\"");
            std::string fault;
            const std::string_view body = page.substr(at + CommentOpen.size(), close - at - CommentOpen.size());
            const std::optional<Marker> marker = ParseMarker(body, fault);
            if (!marker)
                return fail(at, fault);
            const std::string name = std::string("treeweaver:") + BlockKindName(marker->kind);
            int& seen = seenAt[static_cast<std::size_t>(marker->kind)];
            if (!marker->end) {
                if (open)
                    return fail(at, "Anfang von " + name + " innerhalb des Blocks treeweaver:" +
                                        BlockKindName(open->kind) + " aus Zeile " + std::to_string(open->line));
                if (seen)
                    return fail(at,
                                "zweiter Block " + name + " (der erste beginnt in Zeile " + std::to_string(seen) + ")");
                seen = LineAt(page, at);
                open = MarkedBlock{marker->kind, seen, end, 0, 0, marker->item, std::nullopt};
            } else {
                if (!open || open->kind != marker->kind)
                    return fail(at, "Ende von " + name + " ohne passenden Anfang");
                open->contentEnd = at;
                open->endMarkerEnd = end;
                open->sum = marker->sum;
                scan.blocks.push_back(std::move(*open));
                open.reset();
            }
            at = page.find('<', end);
            continue;
        }
        std::string element;
        const std::size_t rawEnd = open ? std::string_view::npos : RawTextEnd(page, at, element);
        if (rawEnd != std::string_view::npos) {
            const std::size_t inner = FindMarkerLike(page, at, rawEnd);
            if (inner != std::string_view::npos)
                return fail(inner, "Markierung innerhalb von <" + element + ">");
            at = page.find('<', rawEnd + 1);
            continue;
        }
        at = page.find('<', at + 1);
    }
    if (open)
        return fail(open->contentBegin, "Block treeweaver:" + std::string(BlockKindName(open->kind)) + " ohne Ende");
    return scan;
}

std::string BlockChecksum(std::string_view content)
{
    // Eight bytes at a time, taken as little-endian on every machine: enough
    // to tell a block changed by hand, not meant as a seal.
    std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ content.size();
    const auto mix = [&hash](std::uint64_t word) {
        hash ^= word;
        hash *= 0xBF58476D1CE4E5B9ULL;
        hash ^= hash >> 31;
    };
    std::size_t at = 0;
    for (; at + 8 <= content.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, content.data() + at, sizeof word);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        mix(word);
    }
    std::uint64_t rest = 0;
    for (std::size_t byte = content.size(); byte > at; --byte)
        rest = rest << 8 | static_cast<unsigned char>(content[byte - 1]);
    mix(rest);
    static const char Hex[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int digit = 15; digit >= 0; --digit, hash >>= 4)
        text[static_cast<std::size_t>(digit)] = Hex[hash & 0xF];
    return text;
}

std::string EndMarker(BlockKind kind, const std::string& checksum)
{
    return std::string("<!-- /treeweaver:") + BlockKindName(kind) + " sum=\"" + checksum + "\" -->";
}

std::string WithoutMarkerText(std::string text)
{
    for (std::size_t at = FindMarkerLike(text, 0, text.size()); at != std::string::npos;
         at = FindMarkerLike(text, at, text.size()))
        text.replace(at, 1, "&lt;");
    return text;
}

} // namespace tw
