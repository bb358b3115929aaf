#pragma once

// The four settings live in the player's own ini file, in a section of their own. They are read
// once at start-up and written back once at shut-down; in between, memory is the truth.

#define SETTINGS_SECTION_TEXT "vorn station song Plugin for winamp"
constexpr char SETTINGS_SECTION[] = SETTINGS_SECTION_TEXT;
constexpr wchar_t SETTINGS_SECTION_W[] = L"" SETTINGS_SECTION_TEXT;

// Fills plugin_settings from the player's ini file, through the wide profile functions when its
// path does not survive the ANSI code page; absent keys keep their defaults and a Wait
// outside its range is replaced by the default.
void load_settings();

// Writes plugin_settings to the file load_settings read, leaving the rest of the player's
// shared file as it was. Failures are silent: the user could do nothing about them.
void save_settings();
