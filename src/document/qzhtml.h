#pragma once

#include "document/ccolor.h"
#include "document/menutree.h"
#include "document/varlist.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tw {

struct TColorSet {
    TColor Color = clNone;
    std::string Placeholder;
};
struct TStringSet {
    std::string Value;
    std::string Placeholder;
};

inline constexpr int ColorCount = 7;
inline constexpr int StringCount = 8;
inline constexpr int FileSettingCount = 3;

// Setting indexes are 1-based as everywhere in the program.
enum ColorIndex { ciText = 1, ciBackground, ciLink, ciALink, ciVLink, ciHover, ciFirstLetter };
enum StringIndex {
    siTitle = 1,
    siFont,
    siFontSize,
    siSubmenuFont,
    siSubmenuFontSize,
    siSubmenuLeftMargin,
    siBackgroundImage,
    siHr
};
enum FileSettingIndex { fsTemplate = 1, fsFilename, fsFileExt };

using TColorSetArray = std::array<TColorSet, ColorCount + 1>;    // entry 0 unused
using TStringSetArray = std::array<TStringSet, StringCount + 1>; // entry 0 unused
using TSettingsArray = std::array<std::string, FileSettingCount + 1>;

// The one in-memory project: menu tree, layout settings, user variables
// and the modified flag. Loading, saving and generating are
// done by the project-file and generator code on this object.
class TqzHTML {
public:
    using ChangeHandler = std::function<void(bool modified)>;

    explicit TqzHTML(ChangeHandler onChange = {});
    ~TqzHTML();
    TqzHTML(const TqzHTML&) = delete;
    TqzHTML& operator=(const TqzHTML&) = delete;

    MenuTree& Tree() { return tree_; }
    const MenuTree& Tree() const { return tree_; }
    TParseList& Variables() { return *variables_; }
    const TParseList& Variables() const { return *variables_; }

    void Reset();
    void ResetSettings();
    void CreateItemData(MenuNode& node);
    // Appends an item with its record, built in place, as the last child of
    // parent (how loaders and the import fill a tree).
    MenuNode& AppendItem(MenuNode& parent, std::string_view caption, std::string_view link, std::string_view target);

    bool Modified() const { return modified_; }
    void SetModified(bool modified);
    void SetOnChange(ChangeHandler onChange) { onChange_ = std::move(onChange); }

    TColor GetColor(int index) const;
    void SetColor(int index, TColor color);
    std::string GetColorPlaceholder(int index) const;
    std::string GetString(int index) const;
    void SetString(int index, const std::string& value);
    std::string GetStringPlaceholder(int index) const;
    std::string GetFileSetting(int index) const;
    void SetFileSetting(int index, const std::string& value);

    bool HasDeepLevels() const;

private:
    MenuTree tree_;
    std::unique_ptr<TParseList> variables_;
    TColorSetArray colors_;
    TStringSetArray strings_;
    TSettingsArray fileSettings_;
    bool modified_ = false;
    ChangeHandler onChange_;
};

inline const char* const UntitledCaption = "Unbenannt";

} // namespace tw
