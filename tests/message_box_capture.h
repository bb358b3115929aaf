#pragma once

#include <string>
#include <vector>
#include <windows.h>

struct CapturedBox {
    std::wstring caption;
    std::wstring text;
    HWND owner;
};

// While alive, every message box shown on this thread is recorded, as the user would read it
// (UTF-16), and dismissed with OK, so a test never stalls on one.
class MessageBoxCapture {
  public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    std::vector<CapturedBox> boxes;

  private:
    static LRESULT CALLBACK on_message_done(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
};
