#include "shell/previewsnapshot.h"

#include "document/qzhtml.h"

#include <algorithm>

namespace tw {

std::unique_ptr<TqzHTML> CopyForGeneration(const TqzHTML& document)
{
    auto copy = std::make_unique<TqzHTML>();
    for (int index = 1; index <= ColorCount; ++index)
        copy->SetColor(index, document.GetColor(index));
    for (int index = 1; index <= StringCount; ++index)
        copy->SetString(index, document.GetString(index));
    for (int index = 1; index <= FileSettingCount; ++index)
        copy->SetFileSetting(index, document.GetFileSetting(index));
    const TParseList& variables = document.Variables();
    for (std::size_t row = 0; row < variables.Count(); ++row)
        copy->Variables().AddVariable(variables.Caption(row), variables.Data(row).Value,
                                      variables.Data(row).FromTemplate);
    MenuTree& tree = copy->Tree();
    tree.SetCaption(tree.Root(), document.Tree().Root().Caption());
    // Both trees are walked in pre-order; parents holds the copy's node for
    // each level of the original above the current one.
    std::vector<MenuNode*> parents{&tree.Root()};
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node != nullptr; node = node->NextPreOrder()) {
        const auto level = static_cast<std::size_t>(node->Level());
        parents.resize(level);
        // Every item gets its record here: the generation would make the
        // missing ones on its own thread, whose pool they do not belong to.
        const TMTItem* item = node->Item();
        MenuNode& added = copy->AppendItem(*parents.back(), node->Caption(), item != nullptr ? item->Link : "",
                                           item != nullptr ? item->Target : "");
        parents.push_back(&added);
    }
    return copy;
}

std::vector<std::size_t> PlaceOf(const MenuNode* node)
{
    std::vector<std::size_t> place;
    for (; node != nullptr && !node->IsRoot(); node = node->Parent())
        place.push_back(node->Row());
    std::reverse(place.begin(), place.end());
    return place;
}

MenuNode* NodeAt(TqzHTML& document, const std::vector<std::size_t>& place)
{
    MenuNode* node = &document.Tree().Root();
    for (const std::size_t row : place) {
        if (row >= node->ChildCount())
            return nullptr;
        node = node->Child(row);
    }
    return node;
}

} // namespace tw
