// Writing a file whole: into a temporary file beside it, then moved into its place in one step.
#pragma once
#include <windows.h>

// Takes a file's content in order, one piece after another.
class FileSink {
public:
    // False when the piece could not be written; nothing more should be appended then.
    virtual bool Append(const void* data, DWORD size) = 0;

protected:
    ~FileSink() = default;
};

// A file's whole content, produced piece by piece: the content never needs to be held whole.
class FileContent {
public:
    // False when the content could not be made or written.
    virtual bool WriteTo(FileSink& sink) const = 0;

protected:
    ~FileContent() = default;
};

// Makes `content` the whole content of the file at `path`. While another process holds
// the file, the replacement is tried again for about a second; a read-only file, a folder or a
// file this process may not delete fails at once. On any failure the temporary file is removed
// and a file already at `path` stays exactly as it was; a process killed while it saves leaves
// that file or the new one whole, and the system removes the temporary file. A file under a
// temporary name that is neither empty nor a bitmap is someone's own: never reused or removed.
// Works in any directory where the file itself could be written, however long its path: the
// file calls take the extended-length form of its full path, so a relative name under the
// longest working directory Windows allows is saved too.
bool ReplaceFileContents(const wchar_t* path, const FileContent& content);
