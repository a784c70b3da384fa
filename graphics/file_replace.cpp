// Whole-file replacement through a temporary file in the target's directory.
#include "graphics/file_replace.h"

#include <string>

namespace {

// The directory part of `path`, made absolute, with its trailing separator; empty when `path`
// names no file.
std::wstring DirectoryOf(const wchar_t* path) {
    const DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    wchar_t* filePart = nullptr;
    const DWORD length = GetFullPathNameW(path, needed, full.data(), &filePart);
    if (length == 0 || length >= needed || !filePart) return {};
    full.resize(static_cast<std::size_t>(filePart - full.data()));
    return full;
}

// A new, empty file in a directory, open for writing and deleted again unless moved into place.
// It lives beside the target so that the move is a rename within one volume.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& directory) {
        if (directory.empty() || !GetTempFileNameW(directory.c_str(), L"rtz", 0, path_)) {
            path_[0] = L'\0';
            return;
        }
        file_ = CreateFileW(path_, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~TemporaryFile() {
        Close();
        if (path_[0] && !moved_) DeleteFileW(path_);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool ok() const { return file_ != INVALID_HANDLE_VALUE; }

    bool Write(const FilePiece& piece) {
        DWORD written = 0;
        return WriteFile(file_, piece.data, piece.size, &written, nullptr) && written == piece.size;
    }

    // Flushed before the move, so the name never comes to stand for a file still half in cache.
    bool MoveTo(const wchar_t* target) {
        const bool flushed = FlushFileBuffers(file_);
        if (!Close() || !flushed) return false;
        moved_ = MoveFileExW(path_, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        return moved_;
    }

private:
    bool Close() {
        if (file_ == INVALID_HANDLE_VALUE) return true;
        const bool closed = CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        return closed;
    }

    wchar_t path_[MAX_PATH] = {};
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool moved_ = false;
};

}  // namespace

bool ReplaceFileContents(const wchar_t* path, std::initializer_list<FilePiece> pieces) {
    TemporaryFile temporary(DirectoryOf(path));
    if (!temporary.ok()) return false;
    for (const FilePiece& piece : pieces) {
        if (!temporary.Write(piece)) return false;
    }
    return temporary.MoveTo(path);
}
