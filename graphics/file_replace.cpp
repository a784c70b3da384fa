// Whole-file replacement through a temporary file beside the target, renamed over it while open.
#include "graphics/file_replace.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/full_path.h"

namespace {

// Temporary names per target: one for each of a few instances saving into one folder at once.
constexpr int kTemporarySlots = 4;
// Scanners, indexers, sync clients and viewers hold a fresh or a target file for a moment; the
// rename is tried again, with pauses doubling from the first, for about a second in all.
constexpr DWORD kFirstRetryPauseMs = 15;
constexpr DWORD kRetryBudgetMs = 1000;

// A full path split at its last separator; an empty name when it has none.
struct SplitPath {
    std::wstring directory;  // with its trailing separator
    std::wstring name;
};

SplitPath SplitFullPath(const std::wstring& full) {
    const std::size_t separator = full.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {};
    return {full.substr(0, separator + 1), full.substr(separator + 1)};
}

// The target's name with its last two characters replaced by "~" and the slot's digit: never
// longer than the target's own name (from two characters on), so the temporary file fits
// wherever the target does. Empty when the name would be the target's own.
std::wstring TemporaryPath(const SplitPath& target, int slot) {
    std::wstring name = target.name.substr(0, target.name.size() < 2 ? 0 : target.name.size() - 2);
    name += L'~';
    name += static_cast<wchar_t>(L'0' + slot);
    if (CompareStringOrdinal(name.c_str(), -1, target.name.c_str(), -1, TRUE) == CSTR_EQUAL) return {};
    return target.directory + name;
}

// Opens a temporary name for this instance alone: reads and writes are not shared, so the open
// fails while another instance (or a scanner) holds the name. DELETE access lets the file be
// renamed or removed through its own handle while it is still held.
HANDLE OpenTemporary(const std::wstring& path, DWORD disposition, DWORD flags) {
    return CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | flags, nullptr);
}

// Renames an open file through its handle; `target` is a full path, replaced if it exists.
bool RenameOpenFile(HANDLE file, const std::wstring& target) {
    const auto nameBytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    // 64-bit units keep the record's handle field aligned; the zeroed tail terminates the name.
    std::vector<std::uint64_t> buffer((sizeof(FILE_RENAME_INFO) + nameBytes + 7) / 8, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->FileNameLength = nameBytes;
    std::memcpy(info->FileName, target.data(), nameBytes);
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size() * 8));
}

bool IsTransientRenameError(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

// A temporary file beside the target, held open from creation to rename so that no other
// instance can write into it or take its name in between; removed unless renamed.
class TemporaryFile {
public:
    // Takes the first temporary name that no running instance holds; a stale file left by a run
    // that was killed is reused (its old tail is cut before the rename).
    explicit TemporaryFile(const SplitPath& target) {
        for (int slot = 0; slot < kTemporarySlots && file_ == INVALID_HANDLE_VALUE; ++slot) {
            const std::wstring path = TemporaryPath(target, slot);
            if (!path.empty()) file_ = OpenTemporary(path, OPEN_ALWAYS, 0);
        }
    }
    ~TemporaryFile() {
        if (file_ == INVALID_HANDLE_VALUE) return;
        if (!renamed_) {
            FILE_DISPOSITION_INFO remove{TRUE};
            SetFileInformationByHandle(file_, FileDispositionInfo, &remove, sizeof remove);
        }
        CloseHandle(file_);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool ok() const { return file_ != INVALID_HANDLE_VALUE; }

    bool Write(const FilePiece& piece) {
        DWORD written = 0;
        return WriteFile(file_, piece.data, piece.size, &written, nullptr) && written == piece.size;
    }

    // Flushed before the rename, so the name never comes to stand for a file still half in cache.
    bool MoveOver(const std::wstring& target) {
        if (!SetEndOfFile(file_) || !FlushFileBuffers(file_)) return false;
        DWORD waited = 0;
        for (DWORD pause = kFirstRetryPauseMs;; pause *= 2) {
            renamed_ = RenameOpenFile(file_, target);
            if (renamed_ || !IsTransientRenameError(GetLastError()) || waited + pause > kRetryBudgetMs) {
                return renamed_;
            }
            Sleep(pause);
            waited += pause;
        }
    }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool renamed_ = false;
};

bool WriteAndMoveOver(const std::wstring& target, const SplitPath& split, std::initializer_list<FilePiece> pieces) {
    TemporaryFile temporary(split);
    if (!temporary.ok()) return false;
    for (const FilePiece& piece : pieces) {
        if (!temporary.Write(piece)) return false;
    }
    return temporary.MoveOver(target);
}

// Removes the temporary files of earlier runs that no running instance holds, so that a run
// killed during its save leaves at most a few of them behind, and only until the next save.
void RemoveStaleTemporaries(const SplitPath& target) {
    for (int slot = 0; slot < kTemporarySlots; ++slot) {
        const std::wstring path = TemporaryPath(target, slot);
        if (path.empty()) continue;
        HANDLE stale = OpenTemporary(path, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE);
        if (stale != INVALID_HANDLE_VALUE) CloseHandle(stale);
    }
}

}  // namespace

bool ReplaceFileContents(const wchar_t* path, std::initializer_list<FilePiece> pieces) {
    const std::wstring target = FullPathName(path);
    const SplitPath split = SplitFullPath(target);
    if (split.name.empty()) return false;
    const bool replaced = WriteAndMoveOver(target, split, pieces);
    RemoveStaleTemporaries(split);
    return replaced;
}
