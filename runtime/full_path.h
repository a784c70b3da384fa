// The absolute form of a file name, however long the working directory is, and the form that
// file calls take beyond MAX_PATH.
#pragma once
#include <string>

// `path` resolved against the current directory, in a buffer sized for it; empty on failure.
std::wstring FullPathName(const wchar_t* path);
// A full path from FullPathName in its extended-length form, which file calls take up to about
// 32,767 characters: "\\?\C:\dir\name" for a drive, "\\?\UNC\server\share\name" for a share.
// A path already in a device form ("\\?\", "\\.\") stays as it is.
std::wstring ExtendedLengthPath(const std::wstring& full);
