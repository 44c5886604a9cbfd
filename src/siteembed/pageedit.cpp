#include "siteembed/pageedit.h"

#include "siteembed/markers.h"

#include <algorithm>

namespace tw {
namespace {

bool IsBlankText(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

// The place just behind the first tag of this name, or npos.
std::size_t AfterTag(std::string_view bytes, std::string_view name)
{
    for (std::size_t at = bytes.find('<'); at != std::string_view::npos; at = bytes.find('<', at + 1)) {
        std::size_t end = at + 1;
        while (end < bytes.size() && end - at - 1 < name.size() && (bytes[end] | 0x20) == name[end - at - 1])
            ++end;
        if (end - at - 1 == name.size() && end < bytes.size() &&
            (bytes[end] == '>' || bytes[end] == ' ' || bytes[end] == '\t' || bytes[end] == '\r' ||
             bytes[end] == '\n')) {
            const std::size_t close = bytes.find('>', end);
            return close == std::string_view::npos ? close : close + 1;
        }
    }
    return std::string_view::npos;
}

} // namespace

std::optional<std::string> EncodingRefusal(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return "Die Seite ist in UTF-16 geschrieben; bearbeitet werden nur Seiten mit einem Byte je Zeichen "
               "(UTF-8, Windows-1252, ISO-8859-15).";
    if (bytes.find('\0') != std::string_view::npos)
        return "Die Seite enth\xE4lt NUL-Bytes (UTF-16 ohne BOM oder keine Textdatei) und wird nicht bearbeitet.";
    return std::nullopt;
}

std::string LineBreakOf(std::string_view bytes)
{
    const std::size_t at = bytes.find_first_of("\r\n");
    if (at == std::string_view::npos || bytes[at] == '\n')
        return "\n";
    return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? "\r\n" : "\r";
}

bool InsertMarkers(std::string& bytes, InsertedBlocks extra)
{
    const std::size_t body = AfterTag(bytes, "body");
    if (body == std::string::npos)
        return false;
    const std::string eol = LineBreakOf(bytes);
    std::string pairs = "<!-- treeweaver:menu --><!-- /treeweaver:menu -->" + eol;
    if (extra.breadcrumb)
        pairs += "<!-- treeweaver:breadcrumb --><!-- /treeweaver:breadcrumb -->" + eol;
    if (extra.prevNext)
        pairs += "<!-- treeweaver:prevnext --><!-- /treeweaver:prevnext -->" + eol;
    bytes.insert(body, eol + pairs);
    // The head block carries the link to the menu's stylesheet; at the end
    // of the head it follows the page's own styles.
    std::string lower = bytes.substr(0, body);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    const std::size_t headEnd = lower.rfind("</head");
    if (headEnd != std::string::npos)
        bytes.insert(headEnd, "<!-- treeweaver:head --><!-- /treeweaver:head -->" + eol);
    return true;
}

PageEdit EditPage(const std::string& page, const std::string& bytes, const SiteMenu& menu, const SiteFiles& site,
                  BlockRenderer& renderer, const PageEditRules& rules)
{
    PageEdit edit;
    const auto refuse = [&](std::string message) {
        edit.outcome = PageEdit::Outcome::Refused;
        edit.message = std::move(message);
        return edit;
    };
    if (std::optional<std::string> refusal = EncodingRefusal(bytes))
        return refuse(std::move(*refusal));
    std::string withMarkers;
    MarkerScan scan = ScanMarkers(bytes);
    if (!scan.fault.empty()) {
        edit.markerLine = scan.faultLine;
        return refuse(scan.fault);
    }
    if (scan.blocks.empty()) {
        withMarkers = bytes;
        if (!rules.insertMarkers || !InsertMarkers(withMarkers, rules.inserted)) {
            edit.outcome = PageEdit::Outcome::NoMarkers;
            return edit;
        }
        scan = ScanMarkers(withMarkers);
    }
    const std::string& source = withMarkers.empty() ? bytes : withMarkers;
    std::optional<std::string> attribute;
    for (const MarkedBlock& block : scan.blocks) {
        if (block.kind == BlockKind::Menu)
            attribute = block.item;
    }
    std::string fault;
    const PageItem item = FindPageItem(menu, site, page, attribute, fault, edit.warning);
    if (!fault.empty())
        return refuse(fault);
    edit.item = item.index;
    const std::string eol = LineBreakOf(source);
    // Each block's new content and end marker; the page is rebuilt only
    // when one of them differs from what stands there.
    std::vector<std::pair<std::string, std::string>> blocks;
    bool same = withMarkers.empty();
    for (const MarkedBlock& block : scan.blocks) {
        const std::string_view old(source.data() + block.contentBegin, block.contentEnd - block.contentBegin);
        std::string content = renderer.Render(block.kind, page, item, eol);
        const std::string checksum = BlockChecksum(content);
        const bool unchanged = old == content;
        const bool edited = !unchanged && (block.sum ? *block.sum != BlockChecksum(old) : !IsBlankText(old));
        edit.editedByHand = edited && !rules.force;
        if (edit.editedByHand)
            return refuse("Zeile " + std::to_string(block.line) +
                          ": Der Block treeweaver:" + BlockKindName(block.kind) +
                          " wurde von Hand ge\xE4ndert und bleibt, wie er ist (--force SEITE \xFC"
                          "berschreibt ihn).");
        std::string end = EndMarker(block.kind, checksum);
        same = same && unchanged &&
               std::string_view(source).substr(block.contentEnd, block.endMarkerEnd - block.contentEnd) == end;
        blocks.emplace_back(std::move(content), std::move(end));
    }
    if (same)
        return edit;
    std::string result;
    result.reserve(source.size() + 4096);
    std::size_t copied = 0;
    for (std::size_t index = 0; index < blocks.size(); ++index) {
        const MarkedBlock& block = scan.blocks[index];
        result.append(source, copied, block.contentBegin - copied);
        result += blocks[index].first;
        result += blocks[index].second;
        copied = block.endMarkerEnd;
    }
    result.append(source, copied);
    edit.outcome = PageEdit::Outcome::Changed;
    edit.bytes = std::move(result);
    return edit;
}

} // namespace tw
