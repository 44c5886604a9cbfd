#include "cli/project_json.h"

#include "document/qzhtml.h"
#include "platform/codec.h"
#include "projectfiles/itemwalk.h"
#include "projectfiles/settingskeys.h"

#include <algorithm>
#include <string>

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

void WriteIndent(std::ostream& out, std::size_t depth, std::size_t maxIndentDepth)
{
    static const std::string spaces(256, ' ');
    out.write(spaces.data(),
              static_cast<std::streamsize>(2 * std::min(depth, std::min<std::size_t>(maxIndentDepth, 128))));
}

void WriteValue(std::ostream& out, const Json& value, std::size_t depth, std::size_t maxIndentDepth)
{
    if (!value.is_structured() || value.empty()) {
        out << value.dump();
        return;
    }
    const bool object = value.is_object();
    out << (object ? "{\n" : "[\n");
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first)
            out << ",\n";
        first = false;
        WriteIndent(out, depth + 1, maxIndentDepth);
        if (object)
            out << Json(it.key()).dump() << ": ";
        WriteValue(out, it.value(), depth + 1, maxIndentDepth);
    }
    out << '\n';
    WriteIndent(out, depth, maxIndentDepth);
    out << (object ? '}' : ']');
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

void WriteIndentedJson(std::ostream& out, const Json& value, std::size_t maxIndentDepth)
{
    WriteValue(out, value, 0, maxIndentDepth);
}

} // namespace tw::cli
