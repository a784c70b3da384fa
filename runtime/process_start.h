// Process start and end around the program's main routine.
#pragma once
#include <windows.h>

// First keeps a DLL beside the program or in the current directory from being loaded in place of
// a system DLL of the same name, then refuses platforms other than Windows NT ("Win98 No Support",
// exit code 255), prepares the thread runtime block, COM, the common controls and the static data
// (prepareProgram clears the program's variables and places its literals), calls
// mainRoutine(instance, 0, argument text, start-up show command), releases the runtime state
// and ends the process with the main routine's result. Failed start-up exits with 255.
[[noreturn]] void RunProcess(int (*mainRoutine)(HINSTANCE, HINSTANCE, const wchar_t*, int),
                             void (*prepareProgram)());

// The argument text of a command line: what follows the program name and the spaces after it.
const wchar_t* SkipProgramName(const wchar_t* commandLine);
// The show command the starting process asked for, or SW_SHOWDEFAULT if it asked for none.
int StartupShowCommand();
