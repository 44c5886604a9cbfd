#pragma once

#include <QPlainTextEdit>

namespace tw {

// A unified difference, read-only, coloured as readers of diffs expect:
// removed lines red, added lines green, the hunk heads blue.
class DiffView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DiffView(QWidget* parent = nullptr);

    // text: the difference's lines; empty shows note instead.
    void ShowDiff(const QString& text, const QString& note);
};

} // namespace tw
