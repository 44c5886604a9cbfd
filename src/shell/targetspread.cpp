#include "shell/targetspread.h"

#include "document/menutree.h"
#include "shell/documenteditor.h"
#include "shell/menutreepage.h"

#include <QAction>
#include <QMenu>

namespace tw {

void AddTargetSpreadCommands(MenuTreePage& page, DocumentEditor& editor)
{
    auto* menu = new QMenu(QStringLiteral("&Ziel weitergeben"), &page);
    menu->menuAction()->setObjectName(QStringLiteral("SpreadTarget"));
    const auto add = [&](const QString& caption, bool everyItem) {
        QAction* action = menu->addAction(caption);
        QObject::connect(action, &QAction::triggered, &page, [&page, &editor, everyItem] {
            MenuNode* node = page.CurrentNode();
            if (node && node->Item())
                editor.SpreadTarget(*node, everyItem);
        });
    };
    add(QStringLiteral("an alle Einträge &darunter"), false);
    add(QStringLiteral("an &alle Einträge des Menüs"), true);
    page.addWindowAction(menu->menuAction());
}

} // namespace tw
