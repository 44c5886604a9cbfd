#pragma once

#include "document/varlist.h"

#include <QAbstractTableModel>

namespace tw {

// The variable rows of a TParseList as a two-column table ("Variable",
// "Wert"). Holds no copy; mirrors every row change. Names of template
// variables come in bold. The list must outlive the model.
class VarListModel : public QAbstractTableModel, private VarListObserver {
    Q_OBJECT
public:
    enum Column { NameColumn, ValueColumn };

    explicit VarListModel(TParseList& list, QObject* parent = nullptr);
    ~VarListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void BeforeInsert(std::size_t row) override;
    void AfterInsert(std::size_t row) override;
    void BeforeRemove(std::size_t row) override;
    void AfterRemove(std::size_t row) override;
    void RowChanged(std::size_t row) override;

    TParseList& list_;
};

} // namespace tw
