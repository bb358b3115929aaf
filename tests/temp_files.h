#pragma once

#include <string>

// `name` in the temporary folder.
std::string temp_file_path(const char* name);
void write_file(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it does not exist.
std::string read_file(const std::string& path);
// The same for paths the ANSI code page cannot hold.
std::wstring temp_file_path(const wchar_t* name);
void write_file(const std::wstring& path, const std::string& bytes);
std::string read_file(const std::wstring& path);

// `name` in the folder of the running test program, where the build puts its other programs
// and gen_vorn.dll.
std::string program_folder_path(const char* name);
std::wstring program_folder_path(const wchar_t* name);
// A copy of the program `name` from there in the temporary folder, the test's own prefix's:
// what the copy writes beside itself is then this test's alone, whatever runs beside it.
std::string temp_copy_of_program(const char* name);

// The file's bytes once another process has written some, waiting up to 30 seconds for them
// and half a second more for anything that follows.
std::string read_file_once_written(const std::string& path);
std::string read_file_once_written(const std::wstring& path);
