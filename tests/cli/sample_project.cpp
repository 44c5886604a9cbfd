#include "sample_project.h"

namespace tw::cli::test {

std::filesystem::path WriteSampleProject(const TemporaryDirectory& dir, const std::string& templateName)
{
    dir.Write("Men\u00FC.tws", "[Main]\r\n"
                               "TextColor=clred\r\n"
                               "BackgroundColor=$00ff8040\r\n"
                               "LinkColor=16744512\r\n"
                               "ALinkColor=CLBTNFACE\r\n"
                               "Title=Sch\xF6n\r\n"
                               "FontSize=12pt\r\n"
                               "Template=" +
                                   templateName +
                                   "\r\n"
                                   "fileext=html\r\n");
    dir.Write("Men\u00FC.twv", "Farbe\xB6rot\r\n"
                               "Gru\xDF\xB6Hallo Welt\r\n");
    return dir.Write("Men\u00FC.twf", "TWF 2\r\n"
                                      "Start\xB6index.htm\xB6\xB6"
                                      "0\r\n"
                                      "Men\xFC\xB6menue.htm\xB6main\xB6"
                                      "0\r\n"
                                      "Gr\xFC\xDF"
                                      "e\xB6gruss.htm\xB6\xB6"
                                      "1\r\n");
}

std::filesystem::path WriteSampleTemplates(const TemporaryDirectory& dir)
{
    dir.Write("templates/Blau/template.ini", "[Main]\r\n"
                                             "VarList= $Gru\xDF$ , Neu,\r\n"
                                             "MaxLevel=1\r\n"
                                             "[Level]\r\n"
                                             "Level0=top\r\n");
    dir.Write("templates/Blau/Header.txt", "<!-- $Title$ -->\r\n<ul>\r\n");
    dir.Write("templates/Blau/top_MenuPoint.txt", "<li><a href=\"$Link$\">$Linkname$</a></li>\r\n");
    dir.Write("templates/Blau/top_MPParent.txt", "<li><a href=\"$Link$\">$Linkname$ +</a></li>\r\n");
    dir.Write("templates/Blau/top_MPOpen.txt", "<li><a href=\"$Link$\">$Linkname$ -</a><ul>\r\n");
    dir.Write("templates/Blau/top_SubMenuEnd.txt", "</ul></li>\r\n");
    dir.Write("templates/Blau/Footer.txt", "</ul><!-- $Gru\xDF$ -->\r\n");
    return dir.Path() / "templates";
}

} // namespace tw::cli::test
