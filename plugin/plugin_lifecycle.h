#pragma once

// What the player calls through the plugin record, apart from config (the settings dialog).

// Start-up: settings, the player version check, the companion, the hook and the timer.
// Returns 0 always: nothing at start-up stops the plugin from running.
int __cdecl init();

// Shut-down: saves the settings, stops the timer and takes the hook out again.
void __cdecl quit();

// Warns, without an owner window, when the player is older than 2.90; start-up goes on.
void check_host_version();
