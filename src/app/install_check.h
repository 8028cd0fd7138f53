#pragma once

// parlendo --check-install: says where the program finds the files it loads at run time from
// outside itself (the licence text the about box opens, the embedded browser's module), so that
// a package or an installed tree can be checked without clicking through the windows.
// Prints one line per file to stdout; returns the process exit code, 1 when one is missing.
int CheckInstall();
