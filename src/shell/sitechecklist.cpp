#include "shell/sitechecklist.h"

#include "guibase/qtcodec.h"

#include <QHeaderView>

namespace tw {
namespace {

QString WhatIsWrong(const SiteFault& fault)
{
    switch (fault.kind) {
    case SiteFaultKind::MissingFile:
        return QStringLiteral("Datei fehlt");
    case SiteFaultKind::LetterCase:
        return QStringLiteral("falsche Groß-/Kleinschreibung (%1)").arg(FromCp1252(fault.found));
    case SiteFaultKind::FolderWithoutIndex:
        return QStringLiteral("Ordner ohne Startseite");
    case SiteFaultKind::UnlinkedPage:
        return QStringLiteral("kein Eintrag verweist auf die Seite");
    case SiteFaultKind::ItemWithoutPage:
        break;
    }
    return QStringLiteral("Eintrag ohne Seite");
}

} // namespace

SiteCheckList::SiteCheckList(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setHeaderLabels({QStringLiteral("Eintrag"), QStringLiteral("Link"), QStringLiteral("Fehler")});
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* row) { Choose(row); });
}

void SiteCheckList::SetFaults(std::vector<SiteFault> faults)
{
    faults_ = std::move(faults);
    clear();
    for (const SiteFault& fault : faults_) {
        const QString caption =
            fault.kind == SiteFaultKind::UnlinkedPage ? QStringLiteral("(Seite)") : FromCp1252(fault.caption);
        auto* row = new QTreeWidgetItem(this, {caption, FromCp1252(fault.link), WhatIsWrong(fault)});
        row->setToolTip(2, FromCp1252(SiteFaultText(fault)));
        row->setData(0, Qt::AccessibleTextRole, FromCp1252(SiteFaultText(fault)));
    }
    for (int column = 0; column < columnCount() - 1; ++column)
        resizeColumnToContents(column);
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
}

void SiteCheckList::Choose(QTreeWidgetItem* row)
{
    const int place = indexOfTopLevelItem(row);
    if (place < 0)
        return;
    const SiteFault& fault = faults_[static_cast<std::size_t>(place)];
    if (fault.kind == SiteFaultKind::UnlinkedPage)
        emit pageWanted(FromCp1252(fault.link));
    else
        emit itemWanted(fault.item);
}

} // namespace tw
