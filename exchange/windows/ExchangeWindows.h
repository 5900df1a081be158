#pragma once

class WindowRegistry;

// Adds the windows of the spreadsheet exchange that the main window opens.
void registerExchangeWindows(WindowRegistry &registry);
