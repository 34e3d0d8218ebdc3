#pragma once
// Finding and answering the program's modal boxes (message and input boxes,
// window class #32770) from outside.

#include <windows.h>

#include <string>

namespace cc::test {

// The first visible dialog box of that process, waiting up to the time-out.
HWND WaitForModalBox(DWORD processId, int timeoutMs = 5000);
// The box's text: a message box's message, an input box's prompt.
std::wstring ModalBoxText(HWND box);
std::wstring ModalBoxCaption(HWND box);
// Types into the box's edit line (input boxes).
void TypeIntoModalBox(HWND box, const std::wstring& text);
// Presses a button of the box: IDOK or IDCANCEL.
void AnswerModalBox(HWND box, int buttonId);

}  // namespace cc::test
