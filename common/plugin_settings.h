#pragma once

#include <stdint.h>

// The accepted range of Wait, in seconds (604800 seconds are seven days).
constexpr int32_t WAIT_MIN_SECONDS = 10;
constexpr int32_t WAIT_MAX_SECONDS = 604800;
constexpr int32_t WAIT_DEFAULT_SECONDS = 30;

// The four user settings. The member initialisers are the values in force before the
// player's ini file has been read.
struct PluginSettings {
    bool Enable = true;                  // send reports at all
    int32_t Wait = WAIT_DEFAULT_SECONDS; // seconds of playing before a song is reported
    bool Repeat = false;                 // report the same song again at each replay
    bool Station = false;                // start the companion when the player starts
};

// The one instance: read by the tracker at the moment it needs a value, so a change takes
// effect at the next message.
extern PluginSettings plugin_settings;
