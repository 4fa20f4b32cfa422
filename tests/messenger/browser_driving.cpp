// The sound pickers of this page open the real file browser: its test helpers (a
// folder tree of the test's own, taps in the list, its soft keys) serve here as well.
#include "tests/file_browser/browser_testkit.cpp"
