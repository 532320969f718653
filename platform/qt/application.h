// The Qt application the framework runs on, made once per process.
#pragma once

namespace pibo::qt {

// Makes the QApplication unless one exists (tests make their own). Qt is given no arguments of
// the process: they are the program's own command line. Also sets what every window relies on:
// a lone Alt does not move the keyboard focus into a menu bar, Qt keeps no settings files of its
// own (a file dialog would remember its folder), and closing the last window quits nothing by
// itself (the framework ends the loop).
void EnsureApplication(const char* programName);
// Applies the same settings to an application made elsewhere.
void ConfigureApplication();
// Destroys the QApplication made by EnsureApplication, if any.
void DestroyApplication();

} // namespace pibo::qt
