#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tw::cli::test {

// A fresh directory that is removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes bytes to a file below the directory, creating sub-directories.
    std::filesystem::path Write(const std::string& relativePath, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& path);

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built treeweaver-cli with the arguments and collects its exit
// status and both output streams.
ProgramResult RunProgram(const std::vector<std::string>& arguments);

// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

} // namespace tw::cli::test
