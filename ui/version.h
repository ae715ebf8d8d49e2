#pragma once

// The program's version, as the title bar, the clipboard text and the configuration dialog show
// it.
inline const char* GetVersionString() {
    return "0.44";
}
