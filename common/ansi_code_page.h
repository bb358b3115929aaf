#pragma once

#include <wchar.h>

// Whether a name that the player or Windows keeps in UTF-16 survives the ANSI code page (code
// page 932 on Japanese Windows): converting it to that code page and back gives the same name.
// A name that does not survive comes back from the ANSI functions changed ("?" or a "nearest"
// character) and names nothing, so the plugin must use the wide functions for it.
bool survives_ansi_code_page(const wchar_t* name);
