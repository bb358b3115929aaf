#include "common/plugin_settings.h"

PluginSettings plugin_settings;
