#include "shell/pagelistmodel.h"

#include "guibase/qtcodec.h"

namespace tw {

void PageListModel::SetPages(std::vector<PageReport> pages)
{
    beginResetModel();
    pages_ = std::move(pages);
    endResetModel();
}

int PageListModel::RowOf(const std::string& sitePath) const
{
    for (std::size_t row = 0; row < pages_.size(); ++row) {
        if (pages_[row].sitePath == sitePath)
            return static_cast<int>(row);
    }
    return -1;
}

void PageListModel::MarkChangedSince(const std::vector<std::string>& sitePaths)
{
    for (const std::string& sitePath : sitePaths) {
        const int row = RowOf(sitePath);
        if (row < 0)
            continue;
        pages_[static_cast<std::size_t>(row)].state = PageState::ChangedSince;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

QString PageListModel::StateText(const PageReport& page)
{
    switch (page.state) {
    case PageState::Changes:
        return QStringLiteral("wird geändert");
    case PageState::Unchanged:
        return QStringLiteral("unverändert");
    case PageState::NoMarkers:
        return QStringLiteral("keine Markierung");
    case PageState::BadMarkers:
        return QStringLiteral("Markierung fehlerhaft: Zeile %1").arg(page.line);
    case PageState::EditedByHand:
        return QStringLiteral("von Hand geändert");
    case PageState::ChangedSince:
        return QStringLiteral("seitdem geändert");
    case PageState::Refused:
        break;
    }
    return QStringLiteral("abgelehnt: ") + FromCp1252(page.message);
}

int PageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(pages_.size());
}

int PageListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PageListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PageReport& page = pages_[static_cast<std::size_t>(index.row())];
    const QString item = page.item.empty() ? QStringLiteral("kein Eintrag") : FromCp1252(page.item);
    if (role == Qt::AccessibleTextRole)
        return FromCp1252(page.sitePath) + QStringLiteral(", ") + item + QStringLiteral(", ") + StateText(page);
    if (role == Qt::ToolTipRole && !page.message.empty())
        return FromCp1252(page.message);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case PathColumn:
        return FromCp1252(page.sitePath);
    case ItemColumn:
        return page.item.empty() ? QString() : item;
    case EncodingColumn:
        return QString::fromStdString(page.encoding);
    case StateColumn:
        return StateText(page);
    default:
        return {};
    }
}

QVariant PageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case PathColumn:
        return QStringLiteral("Seite");
    case ItemColumn:
        return QStringLiteral("Eintrag");
    case EncodingColumn:
        return QStringLiteral("Kodierung");
    case StateColumn:
        return QStringLiteral("Zustand");
    default:
        return {};
    }
}

} // namespace tw
