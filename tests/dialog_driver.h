#pragma once

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

#include "settings/config_dialog.h"
#include "tests/message_box_capture.h"

struct DialogRun {
    int opened = 0;                 // settings dialogs that came up
    std::vector<CapturedBox> boxes; // message boxes shown meanwhile, each dismissed with OK
};

// Opens the settings dialog as the player does, through `open` (a record's config slot), and
// runs `script` on it from the dialog's own message loop once it is up. The script is expected
// to close it or to post WM_QUIT; if it does neither, the test fails and the dialog is ended so
// that nothing hangs.
DialogRun run_config_dialog(const std::function<void(HWND dialog)>& script,
                            void(__cdecl* open)() = show_config_dialog);

// What a user does: click a button or check box, type into an edit box.
void click(HWND dialog, int control);
void type_text(HWND dialog, int control, const std::wstring& text);
std::wstring control_text(HWND dialog, int control);

// Runs the thread's message loop for `milliseconds`, as the modal dialog would meanwhile.
void pump_messages(DWORD milliseconds);
