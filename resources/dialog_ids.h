#pragma once

// Identifiers of the settings dialog and its controls, shared by the resource script and the
// dialog's code. Plain macros, because the resource compiler reads this file too.

#define CONFIG_DIALOG_ID 101

#define STATION_CHECK_ID 1002 // start the companion at start-up
#define WAIT_EDIT_ID 1005     // seconds before a song is reported
#define REPEAT_CHECK_ID 1007  // report the same song each time it is replayed
#define VERSION_TEXT_ID 1008  // replaced by the version text when the dialog opens
#define ENABLE_CHECK_ID 1009  // send reports at all
