#include "siteimport/sources.h"

#include "generator/linktext.h"
#include "generator/submenufiles.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "siteimport/importtext.h"
#include "siteimport/pagenames.h"
#include "siteimport/parsedpage.h"

#include <optional>
#include <set>
#include <system_error>

namespace tw {
namespace {

namespace fs = std::filesystem;

class FolderReader {
public:
    FolderReader(fs::path root, fs::path linkBase, fs::path mainFile)
        : root_(std::move(root)), linkBase_(std::move(linkBase)), mainFile_(std::move(mainFile))
    {
    }

    FolderContents Read()
    {
        std::optional<ImportedItem> index;
        contents_.items = ReadItems(root_, 0, index);
        if (index) {
            if (index->caption.empty())
                index->caption = index->sortName;
            index->leading = true;
            contents_.items.insert(contents_.items.begin(), std::move(*index));
        }
        return std::move(contents_);
    }

private:
    // The items of a folder's pages and subfolders; its index page, read as
    // an item of its own, goes to index.
    std::vector<ImportedItem> ReadItems(const fs::path& folder, int depth, std::optional<ImportedItem>& index)
    {
        std::vector<ImportedItem> items;
        std::error_code error;
        // A folder reached again through a symbolic link would repeat itself
        // without end, or at least repeat its items.
        const fs::path real = fs::canonical(folder, error);
        if (error || !visited_.insert(real).second)
            return items;
        fs::directory_iterator entries(folder, error);
        if (error) {
            contents_.unreadable.push_back(Relative(folder) + "/");
            return items;
        }
        std::vector<fs::path> pages;
        std::vector<fs::path> folders;
        for (; entries != fs::directory_iterator(); entries.increment(error)) {
            const fs::path& path = entries->path();
            const std::string name = FromFsPath(path.filename());
            if (name.starts_with('.'))
                continue;
            std::error_code ignored; // a dangling link is no folder, and is told as a page that cannot be read
            if (entries->is_directory(ignored))
                folders.push_back(path);
            else if (HasPageExtension(name) && !IsSubmenuFileName(name, FromFsPath(path.extension())))
                pages.push_back(path);
        }
        if (error)
            contents_.unreadable.push_back(Relative(folder) + "/");
        for (const fs::path& page : pages) {
            std::optional<ImportedItem> item = ReadPage(page);
            if (!item)
                continue;
            // The index page a web server would show wins; the others are
            // pages like any other.
            if (IsIndexPage(FromFsPath(page.filename())) && (!index || IsPreferredIndex(page, *index)))
                std::swap(index, item);
            if (item) {
                if (item->caption.empty())
                    item->caption = item->sortName;
                items.push_back(std::move(*item));
            }
        }
        for (const fs::path& subfolder : folders) {
            if (std::optional<ImportedItem> item = ReadSubfolder(subfolder, depth + 1))
                items.push_back(std::move(*item));
        }
        return items;
    }

    static bool IsPreferredIndex(const fs::path& page, const ImportedItem& current)
    {
        return IndexPageRank(FromFsPath(page.filename())) < IndexPageRank(ExtractFileName(current.link));
    }

    // A folder is an item when it holds pages: its index page is the item's
    // link and gives its caption, its other pages and folders the submenu.
    std::optional<ImportedItem> ReadSubfolder(const fs::path& folder, int depth)
    {
        if (depth > MaxFolderDepth) {
            contents_.tooDeep = true;
            return std::nullopt;
        }
        std::optional<ImportedItem> index;
        std::vector<ImportedItem> children = ReadItems(folder, depth, index);
        if (!index && children.empty())
            return std::nullopt;
        ImportedItem item;
        item.sortName = CaptionOfText(Utf8OfName(folder.filename().string()));
        item.caption = index && !index->caption.empty() ? index->caption : item.sortName;
        if (index)
            item.link = std::move(index->link);
        item.children = std::move(children);
        return item;
    }

    // The page's item; its caption stays empty when the page has no title.
    // The program's own files are no pages.
    std::optional<ImportedItem> ReadPage(const fs::path& page)
    {
        if (page == mainFile_)
            return std::nullopt;
        // Read by its name as the file system has it, which Windows-1252 may
        // not be able to hold.
        XmlDocument parsed;
        try {
            parsed = ParsePageFile(page);
        } catch (const Error&) {
            contents_.unreadable.push_back(Relative(page));
            return std::nullopt;
        }
        if (parsed && IsProgramFile(page, *parsed))
            return std::nullopt;
        ImportedItem item;
        item.sortName = CaptionOfText(Utf8OfName(WithoutPageExtension(page.filename().string())));
        bool shortened = false;
        if (parsed)
            item.caption = PageTitle(*parsed, &shortened);
        if (shortened)
            contents_.shortenedTitles.push_back(Relative(page));
        item.link = AddressOfPath(page.lexically_relative(linkBase_).generic_string());
        return item;
    }

    std::string Relative(const fs::path& path) const
    {
        const fs::path relative = path.lexically_relative(root_);
        return FromFsPath(relative == "." ? root_.filename() : fs::path(relative.generic_string()));
    }

    fs::path root_;
    fs::path linkBase_;
    fs::path mainFile_;
    std::set<fs::path> visited_;
    FolderContents contents_;
};

} // namespace

FolderContents ReadFolder(const fs::path& folder, const fs::path& linkBase, const fs::path& mainFile)
{
    return FolderReader(folder, linkBase, mainFile).Read();
}

} // namespace tw
