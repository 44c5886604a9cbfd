#include "shell/varlistmodel.h"

#include "guibase/qtcodec.h"

#include <QFont>

namespace tw {

VarListModel::VarListModel(TParseList& list, QObject* parent) : QAbstractTableModel(parent), list_(list)
{
    list_.AddObserver(this);
}

VarListModel::~VarListModel()
{
    list_.RemoveObserver(this);
}

int VarListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(list_.Count());
}

int VarListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant VarListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) {
        const std::string& text = index.column() == NameColumn ? list_.Caption(row) : list_.DisplayText(row);
        return FromCp1252(text);
    }
    if (role == Qt::FontRole && index.column() == NameColumn && list_.Data(row).FromTemplate) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

QVariant VarListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? QStringLiteral("Variable") : QStringLiteral("Wert");
}

Qt::ItemFlags VarListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

void VarListModel::BeforeInsert(std::size_t row)
{
    beginInsertRows({}, static_cast<int>(row), static_cast<int>(row));
}

void VarListModel::AfterInsert(std::size_t)
{
    endInsertRows();
}

void VarListModel::BeforeRemove(std::size_t row)
{
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
}

void VarListModel::AfterRemove(std::size_t)
{
    endRemoveRows();
}

void VarListModel::RowChanged(std::size_t row)
{
    const int r = static_cast<int>(row);
    emit dataChanged(index(r, NameColumn), index(r, ValueColumn));
}

} // namespace tw
