#pragma once

// The folder that holds the program's data files: pictures, help, kavel.CFG and its side files.

#include <string>
#include <utility>

namespace kavel {

class ProgramFolder {
  public:
    explicit ProgramFolder(std::string path) : path_(std::move(path)) {}
    // `fileName` joined to the folder with "/"; the name alone when there is no folder.
    std::string inProgramFolder(const std::string& fileName) const {
        if (path_.empty()) return fileName;
        return path_.back() == '/' ? path_ + fileName : path_ + "/" + fileName;
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace kavel
