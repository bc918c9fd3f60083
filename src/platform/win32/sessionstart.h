// Starting the panel with the user's session on Windows: a value of the
// user's own Run key (HKCU\Software\Microsoft\Windows\CurrentVersion\Run)
// holding the quoted path of the program. Task Manager's Startup page can
// switch such an entry off without removing it (a record under
// Explorer\StartupApproved\Run whose first byte is odd): then it starts
// nothing, and turning it on again clears that record.
#pragma once

#include <string>

#include "platform/services.h"

namespace lumiko::win32 {

class RunKeySessionStart : public SessionStart {
public:
    // `name`: the value's name; `command`: what it runs (empty: the running
    // program, its path in quotes).
    explicit RunKeySessionStart(std::wstring name = L"Lumiko", std::wstring command = {});

    bool startsWithSession() override;
    bool setStartsWithSession(bool on, Text& problem) override;

    // The command the value holds now, empty when there is none.
    std::wstring command() const;

private:
    std::wstring name_, command_;
};

}  // namespace lumiko::win32
