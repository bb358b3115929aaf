#pragma once

#include <stdint.h>
#include <windows.h>

// The modal settings dialog the player opens through the record's config slot. It edits
// plugin_settings in memory only; the ini file is written at shut-down.

// True from the dialog's initialisation until its modal loop has ended.
extern bool dialog_open;

// Runs the dialog over the player's main window and returns when it has closed; returns at
// once when it is already open.
void __cdecl show_config_dialog();

// Returns FALSE for every message: the dialog manager does the rest.
INT_PTR CALLBACK config_dialog_proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Reads the delay the way atol does (leading white space, one sign, decimal digits up to the
// first other character, no digits giving 0) except that full-width digits in code page 932
// count as digits, and that it never wraps around: a number too large for the accepted range
// stays too large. END, when given, is set to where the reading stopped.
int32_t parse_delay(const char* text, const char** end = nullptr);
