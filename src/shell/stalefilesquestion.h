#pragma once

#include <QString>

#include <string>
#include <vector>

namespace tw {

// The question before the stale submenu files of a generation are deleted.
struct StaleFilesQuestion {
    QString text;
    // The whole list, when the text names only the first files.
    QString details;
};

// How many names the question's text holds at most.
inline constexpr int StaleFilesNamed = 10;

// Says how many stale files lie in folder, names them (the first
// StaleFilesNamed when there are more) and asks whether to delete them.
StaleFilesQuestion AskToDeleteStaleFiles(const QString& folder, const std::vector<std::string>& paths);

} // namespace tw
