#pragma once

#include <QString>
#include <QStringList>

namespace tw {

// Turns a filter written "Beschreibung (*.a;*.b)|*.a;*.b|..." into the name
// filters of a QFileDialog, one per file type and in the same order. The
// description keeps its words; the pattern list in parentheses is rebuilt
// from the pattern part, and "*.*" becomes "*" so that names without a dot
// are listed too.
QStringList QtNameFilters(const QString& filter);

} // namespace tw
