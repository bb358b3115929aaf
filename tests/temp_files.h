#pragma once

#include <string>

// A folder of its own under the temporary directory, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const char* name) const { return folder_ + "\\" + name; }

  private:
    std::string folder_;
};

void write_file(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it does not exist.
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);
