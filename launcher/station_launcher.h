#pragma once

#include <windows.h>

// Where the companion's installer records the program, under HKEY_LOCAL_MACHINE.
constexpr char STATION_REGISTRY_KEY[] = "SOFTWARE\\vorn\\vorn station";
#define STATION_PATH_VALUE_TEXT "Application Path"
constexpr char STATION_PATH_VALUE[] = STATION_PATH_VALUE_TEXT;
constexpr wchar_t STATION_PATH_VALUE_W[] = L"" STATION_PATH_VALUE_TEXT;

// The companion's program path, filled by find_station_path: always NUL-terminated when found.
extern char station_path[MAX_PATH];
// The same path in UTF-16 when the ANSI code page cannot hold it (the companion installed under
// a folder such as "𠮷田"), else empty: the shell then gets it through the wide functions.
extern wchar_t station_path_wide[MAX_PATH];

// Reads the companion's path from the registry, asking only for the right to read it; creates
// the key when it is absent and the process may create it. False when the key cannot be
// opened, the value is missing, or it cannot be held whole with its NUL (a string that the
// ANSI code page cannot hold counted in wchar_t, anything else in bytes).
bool find_station_path();

// Asks the shell to start the companion, or tells the user it seems not to be installed.
void launch_station();
