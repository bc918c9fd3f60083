// The dictionary settings window: lists the files of 词库\字典\ (and, once
// installed, the user's own dictionaries), stores the chosen name in 字典.txt
// for the next start, and links to the folder and to the download page.
// App opens the window and hands its events to these.
#pragma once

#include <vector>

#include "platform/services.h"
#include "web/settingsform.h"

namespace lumiko::dictionaries {

// Lists the dictionaries of `folders` in the window, a name that two of them
// hold once.
void list(SettingsForm& w, Files& files, const std::vector<Text>& folders);
// Names the current choice.
void showCurrent(SettingsForm& w, const Text& choice);
// A line of the list was chosen: it becomes the name to save.
void lineChosen(SettingsForm& w);
// Stores the chosen name without its extension in `choiceFile`, where
// start-up reads it. The file is replaced as a whole, so an interruption
// leaves the earlier choice intact. A name that start-up could not load as
// it stands (one leading out of the dictionary folder, or one with blanks
// around it) is not stored; that and a failed write are told in a message
// box naming the file, and the earlier choice stays.
void save(const SettingsForm& w, Files& files, DesktopWindow& desktop, const Text& choiceFile);
// The page with more dictionaries, on the forum at `forum`.
Text downloadPage(const Text& forum);

}  // namespace lumiko::dictionaries
