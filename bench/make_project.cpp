// Writes a project for the whole-process comparisons: a tree with the given
// number of children on every level, items as the generator benchmarks make
// them, a title and a template set.
//
//   make_project FANOUTS TEMPLATE TITLE FORMAT PROJECT
//   make_project 30,10,10,10 Aufklappend "Men\xFC A" 1 menu.twb

#include "document/qzhtml.h"
#include "platform/messages.h"
#include "projectfiles/projectfiles.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void AddLevel(tw::TqzHTML& document, tw::MenuNode& parent, const std::vector<int>& fanouts, std::size_t depth)
{
    if (depth == fanouts.size())
        return;
    for (int i = 0; i < fanouts[depth]; ++i) {
        tw::MenuNode& node = document.Tree().AddChild(parent, "Men\xFCpunkt " + std::to_string(i + 1));
        document.CreateItemData(node);
        node.Item()->Link = "seiten/p" + std::to_string(document.Tree().Count()) + ".html";
        node.Item()->Target = "inhalt";
        AddLevel(document, node, fanouts, depth + 1);
    }
}

class PrintingSink : public tw::MessageSink {
public:
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s FANOUTS TEMPLATE TITLE FORMAT PROJECT\n", argv[0]);
        return 2;
    }
    std::vector<int> fanouts;
    for (std::size_t start = 0; start < std::string(argv[1]).size();) {
        std::size_t used = 0;
        fanouts.push_back(std::stoi(std::string(argv[1]).substr(start), &used));
        start += used + 1;
    }
    tw::TqzHTML document;
    AddLevel(document, document.Tree().Root(), fanouts, 0);
    document.SetFileSetting(tw::fsTemplate, argv[2]);
    document.SetString(tw::siTitle, argv[3]);
    document.SetColor(tw::ciLink, 0x8B0000);
    document.Variables().AddVariable("Kopfzeile", "Kopf", false);
    PrintingSink sink;
    return tw::SaveProject(document, argv[5], std::stoi(argv[4]), sink) ? 0 : 1;
}
