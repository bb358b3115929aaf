#include "plugin/plugin_record.h"

#include "common/plugin_constants.h"
#include "plugin/plugin_lifecycle.h"
#include "settings/config_dialog.h"

// The player fills hwndParent and hDllInstance before it calls init.
winampGeneralPurposePlugin plugin_record = {
    GPPHDR_VER, "vorn station song Plugin for winamp " PLUGIN_VERSION_TEXT,
    init,       show_config_dialog,
    quit,       nullptr,
    nullptr,
};
