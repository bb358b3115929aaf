#pragma once

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

struct CapturedBox {
    std::wstring caption; // as the user reads them: UTF-16
    std::wstring text;
    HWND owner;
};

// Runs `action` and returns every message box it showed on this thread, each dismissed with OK
// as soon as it is up, so a test never stalls on one.
// `while_up`, when given, runs while each box is up, before it is dismissed.
std::vector<CapturedBox> capture_message_boxes(const std::function<void()>& action,
                                               const std::function<void()>& while_up = {});
