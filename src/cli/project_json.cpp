#include "cli/project_json.h"

#include "document/qzhtml.h"
#include "platform/codec.h"
#include "projectfiles/itemwalk.h"
#include "projectfiles/settingskeys.h"

#include <algorithm>
#include <cstdio>

namespace tw::cli {

namespace {

// Deeper lines are indented no further, so that the output of a deep tree
// grows with its items, not with their depth.
constexpr std::size_t MaxIndentDepth = 8;

// Collects the JSON text and hands it to the stream in large pieces.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    ~JsonWriter() { Flush(); }
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& operator<<(std::string_view text)
    {
        buffer_ += text;
        return *this;
    }
    JsonWriter& operator<<(char c)
    {
        buffer_ += c;
        return *this;
    }

    void Indent(std::size_t depth) { buffer_.append(2 * std::min(depth, MaxIndentDepth), ' '); }

    // A member "key": value with a Windows-1252 text as the value.
    void Member(std::size_t depth, const char* key, const std::string& cp1252)
    {
        Indent(depth);
        Key(key);
        AppendJsonString(buffer_, cp1252);
    }

    // "key": value on the current line.
    void Inline(const char* key, const std::string& cp1252)
    {
        Key(key);
        AppendJsonString(buffer_, cp1252);
    }

    void Key(std::string_view key)
    {
        AppendJsonString(buffer_, key);
        buffer_ += ": ";
    }

    // Hands what was collected to the stream once there is enough of it.
    void Pass()
    {
        if (buffer_.size() >= (std::size_t{1} << 16))
            Flush();
    }

private:
    void Flush()
    {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

    std::ostream& out_;
    std::string buffer_;
};

// The item tree below root without recursion, so that its depth is no limit.
// An item of level L is one line at depth L + 1, and the lines that close
// its children too: a deep tree costs no more per item than a flat one.
void WriteItems(JsonWriter& json, const MenuNode& root)
{
    if (!root.HasChildren()) {
        json << "[]";
        return;
    }
    json << "[\n";
    const MenuNode* node = root.Child(0);
    std::size_t level = 1;
    while (node) {
        json.Pass();
        const TMTItem& item = ItemOf(*node);
        json.Indent(level + 1);
        json << '{';
        json.Inline("caption", node->Caption());
        json << ", ";
        json.Inline("link", item.Link);
        json << ", ";
        json.Inline("target", item.Target);
        json << ", ";
        json.Key("children");
        if (node->HasChildren()) {
            json << "[\n";
            node = node->Child(0);
            ++level;
            continue;
        }
        json << "[]}";
        // Close the lists this item ends, up to the next item.
        for (;;) {
            const MenuNode* parent = node->Parent();
            if (node->Row() + 1 < parent->ChildCount()) {
                json << ",\n";
                node = parent->Child(node->Row() + 1);
                break;
            }
            --level;
            json << '\n';
            if (parent == &root) {
                json.Indent(1);
                json << ']';
                node = nullptr;
                break;
            }
            json.Indent(level + 1);
            json << "]}";
            node = parent;
        }
    }
}

void WriteSettings(JsonWriter& json, const TqzHTML& document)
{
    json << "{\n";
    bool first = true;
    for (const SettingKey& setting : LayoutSettingKeys) {
        if (!first)
            json << ",\n";
        first = false;
        json.Member(2, setting.key, StoredSettingText(document, setting));
    }
    json << '\n';
    json.Indent(1);
    json << '}';
}

void WriteVariables(JsonWriter& json, const TParseList& variables)
{
    if (variables.Count() == 0) {
        json << "[]";
        return;
    }
    json << "[\n";
    for (std::size_t i = 0; i < variables.Count(); ++i) {
        json.Pass();
        std::string name;
        std::string value;
        variables.GetVariable(i, name, value);
        if (i > 0)
            json << ",\n";
        json.Indent(2);
        json << '{';
        json.Inline("name", name);
        json << ", ";
        json.Inline("value", value);
        json << '}';
    }
    json << '\n';
    json.Indent(1);
    json << ']';
}

} // namespace

void AppendJsonString(std::string& text, std::string_view cp1252)
{
    text += '"';
    std::size_t plain = 0; // start of the bytes that are taken as they are
    for (std::size_t i = 0; i < cp1252.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(cp1252[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\')
            continue;
        text.append(cp1252, plain, i - plain);
        plain = i + 1;
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
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                text += escaped;
            } else {
                AppendUtf8(text, Cp1252ToCodePoint(c));
            }
        }
    }
    text.append(cp1252, plain);
    text += '"';
}

void WriteProjectJson(std::ostream& out, const TqzHTML& document, int format)
{
    JsonWriter json(out);
    json << "{\n";
    json.Indent(1);
    json << "\"format\": " << std::to_string(format) << ",\n";
    json.Member(1, "caption", document.Tree().Root().Caption());
    json << ",\n";
    json.Indent(1);
    json.Key("items");
    WriteItems(json, document.Tree().Root());
    json << ",\n";
    json.Indent(1);
    json.Key("settings");
    WriteSettings(json, document);
    json << ",\n";
    json.Indent(1);
    json.Key("variables");
    WriteVariables(json, document.Variables());
    json << "\n}";
}

} // namespace tw::cli
