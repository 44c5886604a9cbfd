#include "cli/project_json.h"

#include "document/qzhtml.h"
#include "platform/codec.h"
#include "projectfiles/itemwalk.h"
#include "projectfiles/settingskeys.h"

#include <algorithm>
#include <cstdio>

namespace tw::cli {

namespace {

class JsonWriter {
public:
    JsonWriter(std::ostream& out, std::size_t maxIndentDepth) : out_(out), maxIndentDepth_(maxIndentDepth) {}

    void Indent(std::size_t depth)
    {
        static const std::string spaces(256, ' ');
        out_.write(spaces.data(),
                   static_cast<std::streamsize>(2 * std::min(depth, std::min<std::size_t>(maxIndentDepth_, 128))));
    }

    // A member "key": value with a CP-1252 text as the value.
    void Member(std::size_t depth, const char* key, const std::string& cp1252)
    {
        Indent(depth);
        Key(key);
        Text(cp1252);
    }

    void Key(std::string_view key) { out_ << JsonString(key) << ": "; }
    void Text(const std::string& cp1252) { out_ << JsonString(Cp1252ToUtf8(cp1252)); }
    std::ostream& Out() { return out_; }

private:
    std::ostream& out_;
    std::size_t maxIndentDepth_;
};

// The item tree below root without recursion, so that its depth is no limit.
// An item of level L is an object at depth 2L whose members are at 2L + 1.
void WriteItems(JsonWriter& json, const MenuNode& root)
{
    std::ostream& out = json.Out();
    if (!root.HasChildren()) {
        out << "[]";
        return;
    }
    out << "[\n";
    const MenuNode* node = root.Child(0);
    std::size_t level = 1;
    while (node) {
        const TMTItem& item = ItemOf(*node);
        json.Indent(2 * level);
        out << "{\n";
        json.Member(2 * level + 1, "caption", node->Caption());
        out << ",\n";
        json.Member(2 * level + 1, "link", item.Link);
        out << ",\n";
        json.Member(2 * level + 1, "target", item.Target);
        out << ",\n";
        json.Indent(2 * level + 1);
        json.Key("children");
        if (node->HasChildren()) {
            out << "[\n";
            node = node->Child(0);
            ++level;
            continue;
        }
        out << "[]\n";
        json.Indent(2 * level);
        out << '}';
        // Close the lists this item ends, up to the next item.
        for (;;) {
            const MenuNode* parent = node->Parent();
            if (node->Row() + 1 < parent->ChildCount()) {
                out << ",\n";
                node = parent->Child(node->Row() + 1);
                break;
            }
            --level;
            out << '\n';
            json.Indent(2 * level + 1);
            out << ']';
            if (parent == &root) {
                node = nullptr;
                break;
            }
            out << '\n';
            json.Indent(2 * level);
            out << '}';
            node = parent;
        }
    }
}

void WriteSettings(JsonWriter& json, const TqzHTML& document)
{
    json.Out() << "{\n";
    bool first = true;
    for (const SettingKey& setting : LayoutSettingKeys) {
        if (!first)
            json.Out() << ",\n";
        first = false;
        json.Member(2, setting.key, StoredSettingText(document, setting));
    }
    json.Out() << '\n';
    json.Indent(1);
    json.Out() << '}';
}

void WriteVariables(JsonWriter& json, const TParseList& variables)
{
    if (variables.Count() == 0) {
        json.Out() << "[]";
        return;
    }
    json.Out() << "[\n";
    for (std::size_t i = 0; i < variables.Count(); ++i) {
        std::string name;
        std::string value;
        variables.GetVariable(i, name, value);
        if (i > 0)
            json.Out() << ",\n";
        json.Indent(2);
        json.Out() << "{\n";
        json.Member(3, "name", name);
        json.Out() << ",\n";
        json.Member(3, "value", value);
        json.Out() << '\n';
        json.Indent(2);
        json.Out() << '}';
    }
    json.Out() << '\n';
    json.Indent(1);
    json.Out() << ']';
}

} // namespace

std::string JsonString(std::string_view utf8)
{
    std::string text = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            text += "\\\"";
            break;
        case '\\':
            text += "\\\\";
            break;
        case '\b':
            text += "\\b";
            break;
        case '\f':
            text += "\\f";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        case '\t':
            text += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                text += escaped;
            } else {
                text += c;
            }
        }
    }
    text += '"';
    return text;
}

void WriteProjectJson(std::ostream& out, const TqzHTML& document, int format, std::size_t maxIndentDepth)
{
    JsonWriter json(out, maxIndentDepth);
    out << "{\n";
    json.Indent(1);
    out << "\"format\": " << format << ",\n";
    json.Member(1, "caption", document.Tree().Root().Caption());
    out << ",\n";
    json.Indent(1);
    json.Key("items");
    WriteItems(json, document.Tree().Root());
    out << ",\n";
    json.Indent(1);
    json.Key("settings");
    WriteSettings(json, document);
    out << ",\n";
    json.Indent(1);
    json.Key("variables");
    WriteVariables(json, document.Variables());
    out << "\n}";
}

} // namespace tw::cli
