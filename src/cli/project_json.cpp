#include "cli/project_json.h"

#include "document/qzhtml.h"
#include "platform/codec.h"
#include "projectfiles/itemwalk.h"
#include "projectfiles/settingskeys.h"

namespace tw::cli {

namespace {

using Json = nlohmann::ordered_json;

Json ItemsOf(const MenuNode& parent)
{
    Json items = Json::array();
    for (std::size_t i = 0; i < parent.ChildCount(); ++i) {
        const MenuNode& node = *parent.Child(i);
        const TMTItem& item = ItemOf(node);
        items.push_back({{"caption", Cp1252ToUtf8(node.Caption())},
                         {"link", Cp1252ToUtf8(item.Link)},
                         {"target", Cp1252ToUtf8(item.Target)},
                         {"children", ItemsOf(node)}});
    }
    return items;
}

Json SettingsOf(const TqzHTML& document)
{
    Json settings = Json::object();
    for (const SettingKey& setting : LayoutSettingKeys) {
        settings[setting.key] = Cp1252ToUtf8(StoredSettingText(document, setting));
    }
    return settings;
}

Json VariablesOf(const TParseList& variables)
{
    Json list = Json::array();
    for (std::size_t i = 0; i < variables.Count(); ++i) {
        std::string name;
        std::string value;
        variables.GetVariable(i, name, value);
        list.push_back({{"name", Cp1252ToUtf8(name)}, {"value", Cp1252ToUtf8(value)}});
    }
    return list;
}

} // namespace

Json ProjectToJson(const TqzHTML& document, int format)
{
    return Json{{"format", format},
                {"caption", Cp1252ToUtf8(document.Tree().Root().Caption())},
                {"items", ItemsOf(document.Tree().Root())},
                {"settings", SettingsOf(document)},
                {"variables", VariablesOf(document.Variables())}};
}

} // namespace tw::cli
