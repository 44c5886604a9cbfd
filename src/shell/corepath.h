#pragma once

#include <QString>

#include <string>

namespace tw {

// A file-system path handed to the core's file functions, which take
// Windows-1252 text. A folder whose name that code page cannot hold is
// reached through the process's handle on it; a file name it cannot hold is
// refused, with the characters named. Lives while the file is used.
class CorePath {
public:
    explicit CorePath(const QString& path);
    ~CorePath();
    CorePath(const CorePath&) = delete;
    CorePath& operator=(const CorePath&) = delete;

    bool Usable() const { return problem_.isEmpty(); }
    const std::string& Path() const { return path_; }
    // Why the path cannot be used, for the user.
    const QString& Problem() const { return problem_; }

private:
    std::string path_;
    QString problem_;
    int folder_ = -1;
};

// The characters of text that Windows-1252 cannot hold, each once; empty
// when there are none.
QString CharactersOutsideCodePage(const QString& text);

} // namespace tw
