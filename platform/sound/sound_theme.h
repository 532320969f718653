// The desktop's sound theme: the files that may hold a named theme sound ("bell",
// "dialog-warning"), in the order the XDG base directories give, first the user's own data folder
// ($XDG_DATA_HOME, default ~/.local/share), then $XDG_DATA_DIRS (default /usr/local/share and
// /usr/share). Only files that exist are listed; whether they decode is for the caller to find.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> FindThemeSounds(const std::string& name);
