#include "document/qzhtml.h"

namespace tw {

TqzHTML::TqzHTML(ChangeHandler onChange) : onChange_(std::move(onChange))
{
    variables_ = std::make_unique<TParseList>([this] { SetModified(true); });
    static const char* const colorPlaceholders[ColorCount + 1] = {"",
                                                                  "$TextColor$",
                                                                  "$BackgroundColor$",
                                                                  "$LinkColor$",
                                                                  "$ALinkColor$",
                                                                  "$VLinkColor$",
                                                                  "$HoverColor$",
                                                                  "$FirstLetterColor$"};
    static const char* const stringPlaceholders[StringCount + 1] = {"",
                                                                    "$Title$",
                                                                    "$Font$",
                                                                    "$FontSize$",
                                                                    "$SubMenuFont$",
                                                                    "$SubMenuFontSize$",
                                                                    "$SubMenuLeftMargin$",
                                                                    "$BackgroundImage$",
                                                                    "$hr$"};
    for (int i = 1; i <= ColorCount; ++i)
        colors_[i].Placeholder = colorPlaceholders[i];
    for (int i = 1; i <= StringCount; ++i)
        strings_[i].Placeholder = stringPlaceholders[i];
    // A node that leaves the tree releases its record; losing an item is a
    // change of the project (told once, not once per node of a large subtree).
    tree_.SetDeletionHandler([this](MenuNode& node) {
        if (MenuTree::TakeItem(node) && !modified_)
            SetModified(true);
    });
    Reset();
}

TqzHTML::~TqzHTML() = default;

void TqzHTML::Reset()
{
    ResetSettings();
    variables_->Clear();
    tree_.Clear();
    tree_.SetCaption(tree_.Root(), UntitledCaption);
    SetModified(false);
}

void TqzHTML::ResetSettings()
{
    for (int i = 1; i <= ColorCount; ++i)
        colors_[i].Color = clNone;
    for (int i = 1; i <= StringCount; ++i)
        strings_[i].Value.clear();
    strings_[siHr].Value = "<hr>";
    for (int i = 1; i <= FileSettingCount; ++i)
        fileSettings_[i].clear();
}

void TqzHTML::CreateItemData(MenuNode& node)
{
    tree_.SetItem(node, std::make_unique<TMTItem>());
}

MenuNode& TqzHTML::AppendItem(MenuNode& parent, std::string_view caption, std::string_view link,
                              std::string_view target)
{
    MenuNode& node = tree_.AddChild(parent, std::string(caption));
    tree_.SetItem(node, std::unique_ptr<TMTItem>(new TMTItem{std::string(link), std::string(target), {}}));
    return node;
}

void TqzHTML::SetModified(bool modified)
{
    modified_ = modified;
    if (onChange_)
        onChange_(modified);
}

TColor TqzHTML::GetColor(int index) const
{
    return (index >= 1 && index <= ColorCount) ? colors_[index].Color : clNone;
}

void TqzHTML::SetColor(int index, TColor color)
{
    if (index < 1 || index > ColorCount)
        return;
    colors_[index].Color = color;
    SetModified(true);
}

std::string TqzHTML::GetColorPlaceholder(int index) const
{
    return (index >= 1 && index <= ColorCount) ? colors_[index].Placeholder : std::string();
}

std::string TqzHTML::GetString(int index) const
{
    return (index >= 1 && index <= StringCount) ? strings_[index].Value : std::string();
}

void TqzHTML::SetString(int index, const std::string& value)
{
    if (index < 1 || index > StringCount)
        return;
    strings_[index].Value = value;
    SetModified(true);
}

std::string TqzHTML::GetStringPlaceholder(int index) const
{
    return (index >= 1 && index <= StringCount) ? strings_[index].Placeholder : std::string();
}

std::string TqzHTML::GetFileSetting(int index) const
{
    return (index >= 1 && index <= FileSettingCount) ? fileSettings_[index] : std::string();
}

void TqzHTML::SetFileSetting(int index, const std::string& value)
{
    if (index < 1 || index > FileSettingCount)
        return;
    fileSettings_[index] = value;
    SetModified(true);
}

bool TqzHTML::HasDeepLevels() const
{
    // A node of level 3 is a grandchild of a top-level item.
    const MenuNode& root = tree_.Root();
    for (std::size_t i = 0; i < root.ChildCount(); ++i) {
        const MenuNode& item = *root.Child(i);
        for (std::size_t j = 0; j < item.ChildCount(); ++j) {
            if (item.Child(j)->HasChildren())
                return true;
        }
    }
    return false;
}

} // namespace tw
