#include "plugin/plugin_record.h"

#include "common/plugin_constants.h"

// init, config and quit are wired in with the plugin's entry point; the player fills
// hwndParent and hDllInstance.
winampGeneralPurposePlugin plugin_record = {
    GPPHDR_VER, "vorn station song Plugin for winamp " PLUGIN_VERSION_TEXT,
    nullptr,    nullptr,
    nullptr,    nullptr,
    nullptr,
};
