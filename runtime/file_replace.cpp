// Whole-file replacement through a temporary file beside the target, renamed over it while open.
#include "runtime/file_replace.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/full_path.h"
#include "runtime/scoped_handle.h"

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

// Whether a file under a temporary name is one that a save wrote: empty, or a bitmap ("BM").
// Anything else is someone's own file of that name. The file is left positioned at its start.
bool WrittenBySave(HANDLE file) {
    char start[2] = {};
    DWORD read = 0;
    if (!ReadFile(file, start, sizeof start, &read, nullptr)) return false;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    return read == 0 || (read == 2 && start[0] == 'B' && start[1] == 'M');
}

// Opens a temporary name for this instance alone: reads and writes are not shared, so the open
// fails while another instance (or a scanner) holds the name. DELETE access lets the file be
// renamed or removed through its own handle while it is still held. A file that no save wrote
// is closed again untouched: the name stays its owner's.
HANDLE OpenTemporary(const std::wstring& path, DWORD disposition) {
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.ok() && !WrittenBySave(file.get())) return INVALID_HANDLE_VALUE;
    return file.release();
}

// Marks an open file for deletion, or clears the mark. A marked file goes when its last handle
// is closed, which the system does for a process however it ends.
bool MarkForDeletion(HANDLE file, bool marked) {
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(marked)};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// Renames an open file through its handle; `target` is a full path, replaced if it exists.
// ERROR_SUCCESS, or the error of the failed rename, read right after it.
DWORD RenameOpenFile(HANDLE file, const std::wstring& target) {
    const auto nameBytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    // 64-bit units keep the record's handle field aligned; the zeroed tail terminates the name.
    std::vector<std::uint64_t> buffer((sizeof(FILE_RENAME_INFO) + nameBytes + 7) / 8, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->FileNameLength = nameBytes;
    std::memcpy(info->FileName, target.data(), nameBytes);
    if (SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size() * 8))) {
        return ERROR_SUCCESS;
    }
    return GetLastError();
}

// Whether `target` could be replaced at all: not while it is read-only, a folder, or a file this
// process has no right to delete (a replacement deletes it). A target that cannot be looked at
// (missing, or being deleted) could be.
bool IsReplaceable(const std::wstring& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    const ScopedFile probe(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.ok() || GetLastError() != ERROR_ACCESS_DENIED;
}

// Access is denied while another program holds the target, which passes once it lets go, but
// also for good when the target could never be replaced.
bool MayPassLater(DWORD error, const std::wstring& target) {
    return error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && IsReplaceable(target));
}

// The first temporary name that no running instance holds; a stale file left by an earlier run
// is reused (its old tail is cut before the rename).
HANDLE OpenFreeTemporary(const SplitPath& target) {
    for (int slot = 0; slot < kTemporarySlots; ++slot) {
        const std::wstring path = TemporaryPath(target, slot);
        if (path.empty()) continue;
        if (HANDLE file = OpenTemporary(path, OPEN_ALWAYS); file != INVALID_HANDLE_VALUE) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// A temporary file beside the target, held open from creation to rename so that no other
// instance can write into it or take its name in between. It is marked for deletion from its
// opening to its rename, so that a save that is killed or crashes leaves no file behind.
class TemporaryFile : public FileSink {
public:
    explicit TemporaryFile(const SplitPath& target)
        : file_(OpenFreeTemporary(target)), marked_(ok() && MarkForDeletion(file_.get(), true)) {}
    ~TemporaryFile() {
        if (ok() && !renamed_ && !marked_) MarkForDeletion(file_.get(), true);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool ok() const { return file_.ok(); }

    bool Append(const void* data, DWORD size) override {
        DWORD written = 0;
        return WriteFile(file_.get(), data, size, &written, nullptr) && written == size;
    }

    // Flushed before the rename, so the name never comes to stand for a file still half in cache.
    bool MoveOver(const std::wstring& target) {
        if (!SetEndOfFile(file_.get()) || !FlushFileBuffers(file_.get())) return false;
        DWORD waited = 0;
        for (DWORD pause = kFirstRetryPauseMs;; pause *= 2) {
            const DWORD error = RenameUnmarked(target);
            renamed_ = error == ERROR_SUCCESS;
            if (renamed_ || !MayPassLater(error, target) || waited + pause > kRetryBudgetMs) return renamed_;
            Sleep(pause);
            waited += pause;
        }
    }

private:
    // The mark is cleared for the rename, or the file under the target's name would go when its
    // handle closes; a rename that fails marks it again.
    DWORD RenameUnmarked(const std::wstring& target) {
        if (marked_ && !MarkForDeletion(file_.get(), false)) return GetLastError();
        const DWORD error = RenameOpenFile(file_.get(), target);
        marked_ = error != ERROR_SUCCESS && MarkForDeletion(file_.get(), true);
        return error;
    }

    ScopedFile file_;
    bool marked_;
    bool renamed_ = false;
};

bool WriteAndMoveOver(const std::wstring& target, const SplitPath& split, const FileContent& content) {
    TemporaryFile temporary(split);
    return temporary.ok() && content.WriteTo(temporary) && temporary.MoveOver(target);
}

// Removes the temporary files of earlier runs that no running instance holds. The system removes
// a marked one when a run is killed; this takes those that outlived their run all the same: one
// killed between clearing the mark and the rename, or one the system lost power under.
void RemoveStaleTemporaries(const SplitPath& target) {
    for (int slot = 0; slot < kTemporarySlots; ++slot) {
        const std::wstring path = TemporaryPath(target, slot);
        if (path.empty()) continue;
        const ScopedFile stale(OpenTemporary(path, OPEN_EXISTING));
        if (stale.ok()) MarkForDeletion(stale.get(), true);
    }
}

}  // namespace

bool ReplaceFileContents(const wchar_t* path, const FileContent& content) {
    // Windows opens and renames a path longer than MAX_PATH only in the extended form of its
    // full path, and a relative name under a long working directory makes one.
    const std::wstring target = ExtendedLengthPath(FullPathName(path));
    const SplitPath split = SplitFullPath(target);
    if (split.name.empty()) return false;
    // A target that could never be replaced fails before anything is written.
    const bool replaced = IsReplaceable(target) && WriteAndMoveOver(target, split, content);
    RemoveStaleTemporaries(split);
    return replaced;
}
