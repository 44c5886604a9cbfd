#pragma once

#include <QLibrary>
#include <QString>

#include <array>
#include <cstdint>
#include <string>

namespace tw {

// A Windows-1252 text as the maker's libraries take it: a length byte
// followed by at most 255 characters (longer texts are cut).
class ShortString {
public:
    explicit ShortString(const std::string& cp1252 = {});
    const unsigned char* Data() const { return bytes_.data(); }

private:
    std::array<unsigned char, 256> bytes_{};
};

// One optional library of the maker, looked for first in the shared
// directory and then beside the program, and kept only when it exports its
// entry point.
class MakerLibrary {
public:
    MakerLibrary(const QString& baseName, const char* entryPoint);
    ~MakerLibrary();
    MakerLibrary(const MakerLibrary&) = delete;
    MakerLibrary& operator=(const MakerLibrary&) = delete;

    bool Load(const QString& sharedDir, const QString& programDir);
    void Unload();
    bool IsLoaded() const { return entry_ != nullptr; }
    // The file the library was loaded from; empty when not loaded.
    QString FileName() const;
    QFunctionPointer Entry() const { return entry_; }

private:
    QString fileName_;
    const char* entryPoint_;
    QLibrary library_;
    QFunctionPointer entry_ = nullptr;
};

// The platform's file name of a shared library: infobox.dll on Windows,
// libinfobox.so on Linux.
QString SharedLibraryFileName(const QString& baseName);

// The About and version-check libraries of the run.
class MakerLibraries {
public:
    // programDir: the directory of the running program, the second place
    // where the libraries are looked for.
    explicit MakerLibraries(const QString& programDir);

    bool LoadInfoLibrary();
    bool LoadUpdateLibrary();
    bool HasInfoBox() const { return info_.IsLoaded(); }
    bool HasUpdateCheck() const { return update_.IsLoaded(); }
    const MakerLibrary& InfoLibrary() const { return info_; }
    const MakerLibrary& UpdateLibrary() const { return update_; }

    // Shows the About box with the product text; false when the library is
    // absent (the caller shows its own notice then).
    bool ShowInfoBox(std::uintptr_t window, const QString& productText, std::uintptr_t icon) const;
    // Runs the version check for the program's internal name "tweaver".
    bool ShowUpdateCheck(std::uintptr_t window) const;
    void Unload();

private:
    QString programDir_;
    MakerLibrary info_;
    MakerLibrary update_;
};

} // namespace tw
