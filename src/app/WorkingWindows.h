#pragma once

// Registers the factory of every working window (registers, searches, reports) with the
// window registry, under the names the menus open them by.
void registerWorkingWindows();
