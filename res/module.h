// The program's own module: the resources the platform finds by number.
#pragma once

#include "platform/win/resource_module.h"

extern const ResourceModule g_piboModule;
