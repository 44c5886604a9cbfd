#pragma once

#include "siteembed/embedrun.h"

#include <QAbstractTableModel>

#include <vector>

namespace tw {

// The pages of a site as the window lists them: path, item, encoding and
// what writing does to each. A screen reader reads a row as
// "path, item, state".
class PageListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PathColumn, ItemColumn, EncodingColumn, StateColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetPages(std::vector<PageReport> pages);
    const std::vector<PageReport>& Pages() const { return pages_; }
    // The row of a site path, -1 when the site has no such page.
    int RowOf(const std::string& sitePath) const;
    // Marks these pages as changed since they were shown.
    void MarkChangedSince(const std::vector<std::string>& sitePaths);

    static QString StateText(const PageReport& page);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<PageReport> pages_;
};

} // namespace tw
