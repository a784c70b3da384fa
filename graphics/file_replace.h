// Writing a file whole: into a temporary file beside it, then moved into its place in one step.
#pragma once
#include <windows.h>

#include <initializer_list>

struct FilePiece {
    const void* data;
    DWORD size;
};

// Makes `pieces`, in order, the whole content of the file at `path`. On any failure the
// temporary file is deleted and a file already at `path` stays exactly as it was (it also stays
// when another process has it open).
bool ReplaceFileContents(const wchar_t* path, std::initializer_list<FilePiece> pieces);
