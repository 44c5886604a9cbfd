#pragma once

#include "inspector/oic.h"

#include <QWidget>

class QStandardItemModel;

namespace tw {

// The page "Layout": the grid of the layout settings, with its in-place
// editor, chooser button and column divider, and the box "Info" that shows
// the placeholder of the selected setting. The rows are fixed; the
// inspector that the main window creates on these controls fills and
// edits them.
class LayoutPage : public QWidget {
    Q_OBJECT
public:
    explicit LayoutPage(QWidget* parent = nullptr);

    const InspectorControls& Controls() const { return controls_; }

private:
    void AddRows(int rowHeight);

    InspectorControls controls_;
    QStandardItemModel* rows_;
};

} // namespace tw
