// The module's icon, 128 (the program's only one), with every rendition the module holds.
#pragma once

#include <QIcon>

#include "platform/win/resource_module.h"

namespace pibo::qt {

// Empty when the module has no icon.
QIcon LoadIconResource(HINSTANCE hInstance);

} // namespace pibo::qt
