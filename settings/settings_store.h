#pragma once

// The four settings live in the player's own ini file, in a section of their own. They are read
// once at start-up and written back once at shut-down; in between, memory is the truth.

constexpr char SETTINGS_SECTION[] = "vorn station song Plugin for winamp";

// Fills plugin_settings from the player's ini file; absent keys keep their defaults and a Wait
// outside its range is replaced by the default.
void load_settings();

// Writes plugin_settings to the file load_settings read, leaving the rest of the player's
// shared file as it was. Failures are silent: the user could do nothing about them.
void save_settings();
