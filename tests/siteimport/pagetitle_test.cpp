#include "siteimport/pagetitle.h"

#include "siteimport/sources.h"

#include <gtest/gtest.h>
#include <libxml/globals.h>

namespace tw {
namespace {

struct TitleCase {
    const char* what;
    const char* html;
    const char* caption; // Windows-1252
};

// "Grüße „x“ €" in each encoding a page may come in.
const TitleCase TitleCases[] = {
    {"declared Windows-1252",
     "<meta charset=windows-1252><title>Gr\xFC\xDF"
     "e \x84x\x93 \x80</title>",
     "Gr\xFC\xDF"
     "e \x84x\x93 \x80"},
    {"declared Latin-1, meant as Windows-1252",
     "<meta http-equiv=Content-Type content='text/html; charset=ISO-8859-1'><title>Gr\xFC\xDF"
     "e \x84x\x93 \x80</title>",
     "Gr\xFC\xDF"
     "e \x84x\x93 \x80"},
    {"undeclared Windows-1252",
     "<title>Gr\xFC\xDF"
     "e \x84x\x93 \x80</title>",
     "Gr\xFC\xDF"
     "e \x84x\x93 \x80"},
    {"undeclared UTF-8",
     "<title>Gr\xC3\xBC\xC3\x9F"
     "e \xE2\x80\x9Ex\xE2\x80\x9C \xE2\x82\xAC</title>",
     "Gr\xFC\xDF"
     "e \x84x\x93 \x80"},
    {"declared UTF-8",
     "<head><meta charset=\"utf-8\"><title>Gr\xC3\xBC\xC3\x9F"
     "e</title></head>",
     "Gr\xFC\xDF"
     "e"},
    {"entities, line breaks and blanks", "<title>\r\n  A &amp; B\n\t&uuml; &#8364;  </title>", "A & B \xFC \x80"},
    // Escaped only where the generated menu would read markup or a reference.
    {"text that would be markup", "<title>a &lt; b, &lt;b&gt;, &amp;amp; &amp;#1 \"&quot;</title>",
     "a < b, &lt;b>, &amp;amp; &amp;#1 \"\""},
    {"a character the code page lacks", "<meta charset=utf-8><title>\xE2\x86\x92 weiter</title>", "&#8594; weiter"},
    {"no title, only an SVG's", "<body><svg><title>Logo</title></svg></body>", ""},
    {"empty page", "", ""},
};

TEST(PageTitle, ReadsTheTitleInTheEncodingThePageUses)
{
    for (const TitleCase& test : TitleCases)
        EXPECT_EQ(PageTitle(test.html), test.caption) << test.what;
}

void OwnXmlMessage(void*, const char*, ...) {}
void OwnXmlError(void*, xmlErrorPtr) {}

// A program that uses libxml2 itself keeps its error handlers after a page or
// a sitemap was read.
TEST(PageTitle, LeavesTheThreadsXmlErrorHandlersAsItFoundThem)
{
    int context = 0;
    xmlSetGenericErrorFunc(&context, OwnXmlMessage);
    xmlSetStructuredErrorFunc(&context, OwnXmlError);
    EXPECT_EQ(PageTitle("<title>a</title><p>&#xFFFFFFF; <x"), "a");
    EXPECT_THROW(SitemapAddresses("<urlset><url>"), std::exception);
    EXPECT_EQ(xmlGenericError, OwnXmlMessage);
    EXPECT_EQ(xmlGenericErrorContext, &context);
    EXPECT_EQ(xmlStructuredError, OwnXmlError);
    EXPECT_EQ(xmlStructuredErrorContext, &context);
    xmlSetGenericErrorFunc(nullptr, nullptr);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
}

} // namespace
} // namespace tw
