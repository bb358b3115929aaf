#pragma once

#include <windows.h>

// Where the companion's installer records the program, under HKEY_LOCAL_MACHINE.
constexpr char STATION_REGISTRY_KEY[] = "SOFTWARE\\vorn\\vorn station";
constexpr char STATION_PATH_VALUE[] = "Application Path";

// The companion's program path, filled by find_station_path: always NUL-terminated when found.
extern char station_path[MAX_PATH];

// Reads the companion's path from the registry; creates the key when it is absent. False when
// the key cannot be opened, the value is missing, or it cannot be held whole with its NUL.
bool find_station_path();

// Asks the shell to start the companion, or tells the user it seems not to be installed.
void launch_station();
