#include "cli_fixture.h"
#include "sample_project.h"

#include "document/qzhtml.h"
#include "projectfiles/projectfiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tw::cli::test {
namespace {

using Json = nlohmann::ordered_json;

Json Show(const std::filesystem::path& project, const std::filesystem::path& templates)
{
    const ProgramResult result = RunProgram({"show", project.string(), "--templates", templates.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    return Json::parse(result.out);
}

TEST(CliConvert, EveryFormatKeepsItemsSettingsAndVariables)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    const auto templates = WriteSampleTemplates(dir);
    const Json original = Show(project, templates);

    for (const auto& [format, name] : {std::pair{1, "v11.twb"}, {2, "v10.twb"}, {3, "text.twf"}}) {
        const auto converted = dir.Path() / name;
        const ProgramResult result = RunProgram({"convert", project.string(), converted.string(), "--format",
                                                 std::to_string(format), "--templates", templates.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");

        const Json reloaded = Show(converted, templates);
        EXPECT_EQ(reloaded["format"], format);
        EXPECT_EQ(reloaded["caption"], name);
        EXPECT_EQ(reloaded["items"], original["items"]) << name;
        EXPECT_EQ(reloaded["settings"], original["settings"]) << name;
        // The template variable "Neu" was added before saving, so it is stored now.
        EXPECT_EQ(reloaded["variables"], original["variables"]) << name;
    }
}

TEST(CliConvert, StoresWhatTheTargetFormatCanHoldWithoutAsking)
{
    tw::test::RecordedMessages messages;
    const TemporaryDirectory dir;
    const auto source = (dir.Path() / "tief.twb").string();
    {
        TqzHTML document;
        MenuNode& top = document.Tree().AddChild(document.Tree().Root(), "Oben");
        document.CreateItemData(top);
        MenuNode& middle = document.Tree().AddChild(top, "Mitte");
        document.CreateItemData(middle);
        MenuNode& deep = document.Tree().AddChild(middle, "Tief");
        document.CreateItemData(deep);
        document.Variables().AddVariable("Zeilen", "eins\r\nzwei", false);
        ASSERT_TRUE(SaveProject(document, source, pfBinaryV11, messages));
    }

    const auto keep = dir.Path() / "keep.twb";
    ASSERT_EQ(RunProgram({"convert", source, keep.string(), "--format", "1"}).status, 0);
    const Json kept = Show(keep, dir.Path());
    EXPECT_EQ(kept["items"][0]["children"][0]["children"][0]["caption"], "Tief");
    EXPECT_EQ(kept["variables"][0]["value"], "eins\r\nzwei");

    for (const auto& [name, format] : {std::pair{"flat.twf", "3"}, {"flat.twb", "2"}}) {
        const auto flat = dir.Path() / name;
        const ProgramResult result = RunProgram({"convert", source, flat.string(), "--format", format});
        ASSERT_EQ(result.status, 0) << result.err;
        const Json flattened = Show(flat, dir.Path());
        EXPECT_EQ(flattened["items"][0]["children"][0]["children"], Json::array()) << name;
        EXPECT_EQ(flattened["variables"][0]["value"], "eins zwei") << name;
    }
}

TEST(CliConvert, FailedLoadWritesNothing)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    std::filesystem::remove(dir.Path() / "Men\u00FC.twv");
    const auto target = dir.Path() / "ziel.twb";

    const ProgramResult result = RunProgram({"convert", project.string(), target.string(), "--format", "1"});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(Lines(result.err).size(), 1U) << result.err;
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(CliConvert, UnsupportedBinaryVersionIsReportedInUtf8AndNotConverted)
{
    const TemporaryDirectory dir;
    const auto project = dir.Write("neu.twb", std::string("\x03TWB\x01\x02", 6));
    const auto target = dir.Path() / "ziel.twf";

    const ProgramResult result = RunProgram({"convert", project.string(), target.string(), "--format", "3"});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Das Format dieser TWB Version wird nicht unterst\u00FCtzt\n");
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(CliConvert, FailedSaveIsReportedAndExitsWithOne)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    const auto target = dir.Path() / "fehlt" / "ziel.twb";

    const ProgramResult result = RunProgram({"convert", project.string(), target.string(), "--format", "1"});

    EXPECT_EQ(result.status, 1);
    const auto lines = Lines(result.err);
    ASSERT_EQ(lines.size(), 1U) << result.err;
    EXPECT_EQ(lines[0].rfind("ziel.twb: ", 0), 0U) << lines[0];
}

} // namespace
} // namespace tw::cli::test
