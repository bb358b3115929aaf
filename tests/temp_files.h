#pragma once

#include <string>

// `name` in the temporary folder.
std::string temp_file_path(const char* name);
void write_file(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it does not exist.
std::string read_file(const std::string& path);
