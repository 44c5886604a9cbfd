#include "cli/project_json.h"
#include "cli/verbs.h"
#include "cli_fixture.h"
#include "platform/codec.h"
#include "sample_project.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace tw::cli::test {
namespace {

using Json = nlohmann::ordered_json;

TEST(CliShow, PrintsTheLoadedProjectAsJsonWithTemplateVariablesApplied)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    const auto templates = WriteSampleTemplates(dir);

    const ProgramResult result = RunProgram({"show", project.string(), "--templates", templates.string()});

    const Json expected = Json::parse(R"({
      "format": 3,
      "caption": "Menü.twf",
      "items": [
        {"caption": "Start", "link": "index.htm", "target": "", "children": []},
        {"caption": "Menü", "link": "menue.htm", "target": "main", "children": [
          {"caption": "Grüße", "link": "gruss.htm", "target": "", "children": []}
        ]}
      ],
      "settings": {
        "TextColor": "clRed",
        "BackgroundColor": "$00FF8040",
        "LinkColor": "$00FF8040",
        "ALinkColor": "clBtnFace",
        "VLinkColor": "clNone",
        "HoverColor": "clNone",
        "FirstLetterColor": "clNone",
        "Title": "Schön",
        "Font": "",
        "FontSize": "12pt",
        "SubmenuFont": "",
        "SubmenuFontSize": "",
        "SubmenuLeftMargin": "",
        "BackgroundImage": "",
        "hr": "<hr>",
        "Template": "blau",
        "Filename": "",
        "fileext": "html"
      },
      "variables": [
        {"name": "Farbe", "value": "rot"},
        {"name": "Gruß", "value": "Hallo Welt"},
        {"name": "Neu", "value": ""}
      ]
    })");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    // Ordered JSON compares the order of every key too.
    EXPECT_EQ(Json::parse(result.out), expected);
}

TEST(CliShow, StringsAreEscapedAsTheJsonLibraryEscapesThem)
{
    std::string everyByte;
    for (int c = 1; c < 256; ++c)
        everyByte += static_cast<char>(c);
    std::string json = "[";
    AppendJsonString(json, everyByte);
    EXPECT_EQ(json, "[" + Json(Cp1252ToUtf8(everyByte)).dump());
    json.clear();
    AppendJsonString(json, "");
    EXPECT_EQ(json, "\"\"");
}

TEST(CliShow, TemplateDirectoryDecidesWhichVariablesAreAdded)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    dir.Write("other/Gelb/template.ini", "[Main]\r\nVarList=Gelb\r\n");

    const ProgramResult result = RunProgram({"show", project.string(), "--templates", (dir.Path() / "other").string()});

    ASSERT_EQ(result.status, 0) << result.err;
    const Json variables = Json::parse(result.out)["variables"];
    ASSERT_EQ(variables.size(), 2U) << "the project's template \"blau\" does not exist there";
    EXPECT_EQ(variables[1]["name"], "Gruß");
}

TEST(CliShow, FailedLoadPrintsWhatWasReadAndReportsTheErrorOnOneLine)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    dir.Write("Men\u00FC.tws", "[Main]\r\nTextColor=red\r\n");

    const ProgramResult result = RunProgram({"show", project.string()});

    EXPECT_EQ(result.status, 1);
    const auto lines = Lines(result.err);
    ASSERT_EQ(lines.size(), 1U) << result.err;
    EXPECT_EQ(lines[0].rfind("Men\u00FC.twf: ", 0), 0U) << lines[0];
    const Json shown = Json::parse(result.out);
    EXPECT_EQ(shown["items"].size(), 2U);
    EXPECT_EQ(shown["caption"], "Unbenannt");
}

TEST(CliShow, MissingProjectIsReportedWithItsFileName)
{
    const TemporaryDirectory dir;
    const ProgramResult result = RunProgram({"show", (dir.Path() / "fehlt.twb").string()});
    EXPECT_EQ(result.status, 1);
    const auto lines = Lines(result.err);
    ASSERT_EQ(lines.size(), 1U) << result.err;
    EXPECT_EQ(lines[0].rfind("fehlt.twb: ", 0), 0U) << lines[0];
}

TEST(CliShow, OutputThatCannotBeWrittenIsNotASuccess)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    std::ostringstream err;

    EXPECT_EQ(RunCommandLine({"show", project.string(), "--templates", dir.Path().string()}, out, err), 1);
    EXPECT_EQ(err.str(), "Die Ausgabe konnte nicht geschrieben werden.\n");
}

} // namespace
} // namespace tw::cli::test
