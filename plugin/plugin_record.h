#pragma once

#include "plugin/host_interface.h"

// The one plugin record, handed to the player by address and never copied.
extern winampGeneralPurposePlugin plugin_record;
