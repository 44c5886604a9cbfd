#include "siteembed/blockrender.h"

#include "generator/linktext.h"
#include "generator/menuwriter.h"
#include "generator/templateset.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "siteembed/markupescape.h"

namespace tw {
namespace {

enum ItemPlaceholder { Link, LinkTarget, Linkname, LinkID, FirstLetter, RestLetter, AriaCurrent, ItemState };
const char* const ItemPlaceholderNames[] = {"$Link$",        "$LinkTarget$", "$Linkname$",    "$LinkID$",
                                            "$FirstLetter$", "$RestLetter$", "$AriaCurrent$", "$ItemState$"};
const char* const StateNames[] = {"sonst", "pfad", "seite"};

// The page's name is the name of the file being written: the document
// placeholders fill it per page.
const TextReplacement PageNameAsFileName("$PageName$", "$CurrentFilename$", false);

std::string AttributeText(const std::string& text)
{
    return EscapedForMarkup(text);
}

// Characters outside ASCII in a stylesheet as CSS escapes.
std::string WithCssEscapes(const std::string& text)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
            continue;
        }
        const char32_t code = Cp1252ToCodePoint(byte);
        out += '\\';
        for (int shift = 20; shift >= 0; shift -= 4)
            out += Hex[(code >> shift) & 0xF];
    }
    return out;
}

std::string PlaceOf(const std::string& name)
{
    return "im Baustein \x84" + name + "\x93";
}

bool IsAscii(std::string_view text)
{
    unsigned char any = 0;
    for (const char c : text)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

} // namespace

BlockRenderer::BlockRenderer(const TqzHTML& document, const EmbedForm& form, const SiteMenu& menu, bool fromRoot)
    : form_(form), menu_(menu), fromRoot_(fromRoot), snippets_(form.set.TemplateDir), placeholders_(document)
{
    for (const char* search : ItemPlaceholderNames)
        itemPlaceholders_.emplace_back(search, std::string(), false);
    pagePlaceholders_.emplace_back("$RootPath$", std::string(), false);
    pagePlaceholders_.push_back(PageNameAsFileName);
}

void BlockRenderer::StartPage(const std::string& page)
{
    page_ = page;
    const std::string folder = SiteFolderOf(page);
    folder_ = folderIds_.try_emplace(folder, static_cast<std::uint32_t>(folderIds_.size())).first->second;
    std::string rootPath = fromRoot_ ? "/" : std::string();
    if (!fromRoot_) {
        for (const char c : folder) {
            if (c == '/')
                rootPath += "../";
        }
    }
    pagePlaceholders_[0].SetReplacement(rootPath);
    placeholders_.SetCurrentFile(ExtractFileName(page));
    block_.clear();
    size_ = 0;
}

std::string BlockRenderer::Render(BlockKind kind, const std::string& page, PageItem item, const std::string& eol)
{
    StartPage(page);
    item_ = item;
    const std::size_t index = item.index;
    switch (kind) {
    case BlockKind::Head:
        WriteSnippet(SnippetId("Embed_Head.txt"));
        break;
    case BlockKind::Menu:
        WriteSnippet(SnippetId("Embed_Header.txt"));
        WriteLevel(0, LevelFor(form_.set, 0));
        WriteSnippet(SnippetId("Embed_Footer.txt"));
        break;
    case BlockKind::Breadcrumb:
        if (index) {
            std::vector<std::size_t> path;
            for (std::size_t at = index; at; at = menu_.Items()[at].parent)
                path.insert(path.begin(), at);
            WriteSnippet(SnippetId("Embed_CrumbStart.txt"));
            for (std::size_t step = 0; step < path.size(); ++step) {
                if (step)
                    WriteSnippet(SnippetId("Embed_CrumbSep.txt"));
                WriteEntry(path[step], SnippetId("Embed_Crumb.txt"));
            }
            WriteSnippet(SnippetId("Embed_CrumbEnd.txt"));
        }
        break;
    case BlockKind::PrevNext:
        if (index && item.own && (menu_.Previous(index) || menu_.Next(index))) {
            WriteSnippet(SnippetId("Embed_PrevNextStart.txt"));
            if (menu_.Previous(index))
                WriteEntry(menu_.Previous(index), SnippetId("Embed_Prev.txt"));
            if (menu_.Next(index))
                WriteEntry(menu_.Next(index), SnippetId("Embed_Next.txt"));
            WriteSnippet(SnippetId("Embed_PrevNextEnd.txt"));
        }
        break;
    }
    return Finished(std::move(block_), eol);
}

// The block as it goes into the page: no marker text, ASCII only, the
// page's own line breaks.
std::string BlockRenderer::Finished(std::string text, const std::string& eol) const
{
    text = WithoutMarkerText(std::move(text));
    if (!IsAscii(text))
        text = WithCharacterReferences(text);
    std::string out = eol;
    if (eol == "\r\n")
        return out + text;
    out.reserve(text.size() + eol.size());
    std::size_t copied = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", copied)) {
        out.append(text, copied, at - copied);
        out += eol;
        copied = at + 2;
    }
    out.append(text, copied);
    return out;
}

std::string BlockRenderer::Stylesheet()
{
    if (form_.stylesheet.empty())
        return {};
    StartPage(form_.stylesheetName);
    WriteSnippet(SnippetId(form_.stylesheet));
    return std::string(OwnStylesheetLine) + "\r\n" + WithCssEscapes(block_);
}

void BlockRenderer::WriteLevel(std::size_t parent, const TLevelItem& level)
{
    const auto& items = menu_.Items();
    const std::string prefix = level.Name + "_";
    const std::uint32_t menuPoint = SnippetId(prefix + "MenuPoint.txt");
    const std::uint32_t open = SnippetId(prefix + "MPOpen.txt");
    const std::uint32_t closed = SnippetId(prefix + "MPParent.txt");
    const std::uint32_t subMenuEnd = SnippetId(prefix + "SubMenuEnd.txt");
    const std::uint32_t separator = SnippetId(prefix + "Separator.txt");
    const std::size_t end = parent + items[parent].subtreeSize;
    for (std::size_t index = parent + 1; index < end; index += items[index].subtreeSize) {
        const int depth = items[index].depth;
        if (!items[index].node->HasChildren() || depth >= form_.set.MaxLevel) {
            WriteEntry(index, menuPoint);
        } else if (item_.index && menu_.OnPathTo(index, item_.index)) {
            WriteEntry(index, open);
            WriteLevel(index, LevelFor(form_.set, depth + 1));
            WriteSnippet(subMenuEnd);
        } else {
            WriteEntry(index, closed);
        }
        if (index + items[index].subtreeSize < end)
            WriteSnippet(separator);
    }
}

BlockRenderer::State BlockRenderer::StateOf(std::size_t index) const
{
    if (index == item_.index && item_.own)
        return State::Page;
    return item_.index && menu_.OnPathTo(index, item_.index) ? State::Path : State::Other;
}

std::string BlockRenderer::LinkOf(std::size_t index) const
{
    const SiteMenu::Item& item = menu_.Items()[index];
    const std::string& link = item.node->Item()->Link;
    if (!item.sitePath)
        return AttributeText(LinkOfAddress(Cp1252ToUtf8(link)));
    // A folder's link leads to its index page, which a file:// address needs.
    const std::string& target = item.page ? *item.page : *item.sitePath;
    return LinkFromPage(page_, target, fromRoot_) + AttributeText(LinkOfAddress(Cp1252ToUtf8(item.suffix)));
}

std::uint32_t BlockRenderer::SnippetId(const std::string& name)
{
    const auto [known, added] = snippetIds_.try_emplace(name, static_cast<std::uint32_t>(snippetNames_.size()));
    if (added)
        snippetNames_.push_back(name);
    return known->second;
}

void BlockRenderer::WriteEntry(std::size_t index, std::uint32_t snippet)
{
    const State state = StateOf(index);
    const Key key{folder_, snippet, static_cast<std::uint32_t>(index), static_cast<std::uint32_t>(state)};
    const auto known = fragments_.find(key);
    if (known != fragments_.end()) {
        Append(known->second, snippet);
        return;
    }
    const MenuNode& node = *menu_.Items()[index].node;
    const TMTItem& record = *node.Item();
    const std::string caption = WithBareAmpersandsEscaped(node.Caption());
    auto [firstLetter, restLetter] = SplitFirstLetter(caption);
    itemPlaceholders_[Link].SetReplacement(LinkOf(index));
    itemPlaceholders_[LinkTarget].SetReplacement(AttributeText(record.Target));
    itemPlaceholders_[Linkname].SetReplacement(caption);
    itemPlaceholders_[LinkID].SetReplacement(record.LinkID);
    itemPlaceholders_[FirstLetter].SetReplacement(std::move(firstLetter));
    itemPlaceholders_[RestLetter].SetReplacement(std::move(restLetter));
    itemPlaceholders_[AriaCurrent].SetReplacement(state == State::Page ? " aria-current=\"page\"" : "");
    itemPlaceholders_[ItemState].SetReplacement(StateNames[static_cast<int>(state)]);
    LineList lines = snippets_.Lines(snippetNames_[snippet]);
    if (!ApplyReplacementsWithin(lines, itemPlaceholders_, MaxGeneratedFileSize))
        throw Error(PlaceOf(snippetNames_[snippet]) + ": Die Platzhalter ergeben zu viel Text.");
    Append(Prepared(key, std::move(lines)), snippet);
}

void BlockRenderer::WriteSnippet(std::uint32_t snippet)
{
    const Key key{folder_, snippet, 0, 0};
    const auto known = fragments_.find(key);
    Append(known != fragments_.end() ? known->second : Prepared(key, snippets_.Lines(snippetNames_[snippet])), snippet);
}

const Fragment& BlockRenderer::Prepared(const Key& key, LineList lines)
{
    Fragment fragment;
    if (!ApplyReplacementsWithin(lines, pagePlaceholders_, MaxGeneratedFileSize) ||
        !placeholders_.Prepare(lines, fragment))
        throw Error(PlaceOf(snippetNames_[key.snippet]) + ": Die Platzhalter ergeben zu viel Text.");
    // Referenced once here rather than in every block it goes into; a
    // fragment with lines still to fill per page is referenced in the block.
    if (fragment.perFile.empty() && !IsAscii(fragment.bytes)) {
        const std::size_t before = fragment.bytes.size();
        fragment.bytes = WithCharacterReferences(fragment.bytes);
        fragment.textSize += fragment.bytes.size() - before;
    }
    return fragments_.insert_or_assign(key, std::move(fragment)).first->second;
}

void BlockRenderer::Append(const Fragment& fragment, std::uint32_t snippet)
{
    if (!placeholders_.AppendTo(block_, size_, fragment))
        throw Error(PlaceOf(snippetNames_[snippet]) + ": Der Block w\xFCrde zu gro\xDF.");
}

} // namespace tw
