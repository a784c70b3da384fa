// The absolute form of a file name, however long the working directory is.
#pragma once
#include <string>

// `path` resolved against the current directory, in a buffer sized for it; empty on failure.
std::wstring FullPathName(const wchar_t* path);
