// The module's one export: the player asks for the plugin record by this name.

#include "plugin/plugin_record.h"

extern "C" winampGeneralPurposePlugin* __cdecl winampGetGeneralPurposePlugin() {
    return &plugin_record;
}
