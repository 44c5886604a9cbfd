#pragma once

#include "document/qzhtml.h"
#include "platform/messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw {

struct TLevelItem {
    int32_t Level = 0;
    std::string Name;
};
using TLevelArray = std::vector<TLevelItem>;

// What a generation needs of a template set, as read from its template.ini.
struct TemplateSet {
    std::string TemplateDir;
    TLevelArray Levels;
    bool AllInOne = false;
    int32_t MaxLevel = 0;
    // Index into Levels of the entry for depths without an own entry.
    int32_t DefaultLevel = 0;
    // Set by the generation for a menu of several files.
    std::string SubmenuExt;
    // Every character outside ASCII written as a numeric character reference.
    bool CharacterReferences = false;
};

// The sections of template.ini a form of the set is read from: its settings
// ("all_in_one", "MaxLevel", "DefaultLevel", "CharacterReferences") and its
// level entries.
struct TemplateSections {
    const char* main = "Main";
    const char* levels = "Level";
};

// Reads the template set named by the document's "Template" setting. Empty,
// after telling reporter why, when the set cannot be used.
std::optional<TemplateSet> LoadTemplate(const TqzHTML& document, MessageSink& reporter,
                                        const TemplateSections& sections = {});

// The level entry that serves items of the given depth: the entry of that
// number, otherwise the default entry.
const TLevelItem& LevelFor(const TemplateSet& set, int depth);

} // namespace tw
