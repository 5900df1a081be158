#pragma once

#include <array>
#include <span>

// Where a command of the main window appears.
enum class CommandPlace { Ribbon, Menu, QuickBar };

// What a command does.
enum class CommandAction {
    OpenWindow,      // a new instance of `window`, as a child of the frame
    ShowScriptPanel, // the panel "Exécuter Un Script"
    PreviousWindow,  // activates the previous child window
    NextWindow,      // activates the next child window
    Calculator,      // starts the external calculator
    Quit,            // ends the application at once
    None,            // shown, without behaviour (disabled)
};

// One button of the ribbon, one entry of the main menu or one button of the quick-access bar.
struct MainCommand {
    const char *id;
    CommandPlace place;
    const char *container; // the ribbon page or the menu; null on the quick-access bar
    int group;             // a separator comes between two groups of a menu or of the quick-access bar
    const char *caption;   // null for a button shown by its icon only
    const char *hint;      // tooltip; null when none
    CommandAction action;
    const char *window; // window class opened by OpenWindow; null otherwise
};

extern const std::array<const char *, 5> kRibbonPages;
extern const std::array<const char *, 4> kMainMenus;

// Every command of the main window, in the order they appear in their page, menu or bar.
std::span<const MainCommand> mainCommands();
