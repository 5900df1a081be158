#pragma once

// SIGINT and SIGTERM end the event loop as a normal end of the program would, so that the data module
// commits and closes the database. Left alone, the Firebird client library takes these signals for
// itself and shuts its engine down under the program; and a signal handled on one of the engine's threads
// leaves the detach at the end spinning for ever. So the two signals are blocked in every thread and read
// from a descriptor by the event loop.

// Blocks the two signals; call it first in main(), before any thread is started (threads inherit it).
void blockQuitSignals();
// Once the application object exists: the event loop quits when one of the two signals arrives.
void quitEventLoopOnSignals();
// For a program without an event loop: blocks the two signals and ends the process at once when one
// arrives, with the shell's exit code (128 + the signal). Work not committed is left to the database to
// undo. Call it first in main(), before any thread is started.
void exitOnSignals();
