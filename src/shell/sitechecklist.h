#pragma once

#include "siteembed/sitecheck.h"

#include <QTreeWidget>

#include <vector>

namespace tw {

// The faults of the site check as a list: item, link, what is wrong. A
// double click (or Return) on a row asks for its item, or for the folder of
// a page that no item links to.
class SiteCheckList : public QTreeWidget {
    Q_OBJECT
public:
    explicit SiteCheckList(QWidget* parent = nullptr);

    void SetFaults(std::vector<SiteFault> faults);
    const std::vector<SiteFault>& Faults() const { return faults_; }

signals:
    // The item's place in the tree in pre-order, 1 for the first item.
    void itemWanted(std::size_t place);
    // The site path of a page that no item links to.
    void pageWanted(const QString& sitePath);

private:
    void Choose(QTreeWidgetItem* row);

    std::vector<SiteFault> faults_;
};

} // namespace tw
