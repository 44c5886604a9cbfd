#pragma once

#include "shell/previewfolder.h"

#include <QString>

#include <string>

class QUrl;

namespace tw {

class MenuNode;
class TqzHTML;

// Generates the menu for the preview into a temporary folder of its own,
// never into the output folder, without message boxes, and knows which of
// its pages belongs to a menu item.
class PreviewBuilder {
public:
    explicit PreviewBuilder(TqzHTML& document);

    // Generates the menu, leaving files alone that already hold their bytes
    // and removing the submenu files it no longer writes. Relative output
    // names are taken from the project's folder, as "Quellcode erstellen"
    // does. False when the generation failed: Problem then holds its
    // messages, one per line.
    bool Build(const QString& projectFile);
    const QString& Problem() const { return problem_; }
    // The folder a real generation writes into. The preview's pages take
    // their relative links and pictures from there.
    const QString& OutputFolder() const { return outputFolder_; }
    QString MainFile() const;
    // The folder the preview's pages are generated into.
    QString Folder() const { return folder_.path(); }

    // The page that shows a selected node: an item's own submenu file when
    // it has children, otherwise its parent's; where that file was not
    // written (too deep, or one file for all), the next one up, and the main
    // file at the top, for the root and for no node.
    QString PageFor(const MenuNode* node) const;
    // The node whose page a link of the preview names: the root for the main
    // file, an item for its submenu file. Null for any other address.
    MenuNode* NodeOfLink(const QUrl& link) const;

private:
    TqzHTML& document_;
    PreviewFolder folder_;
    QString mainFileName_;
    QString outputFolder_;
    QString problem_;
    // Of the submenu files the last build wrote.
    std::string submenuExt_;
};

} // namespace tw
