// The bitmap file writer: exact bytes of the file, whole replacement, and what a failure leaves.
#include "graphics/bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <optional>

#include "graphics/graphic_target.h"
#include "graphics/spin_lock.h"
#include "runtime/scoped_handle.h"
#include "tests/support/import_patch_test_support.h"
#include "tests/support/peer_test_support.h"
#include "tests/support/pixel_test_support.h"

namespace {

// A memory bitmap showing PatternColour, made the current target.
ObjectHandle AttachPatternBitmap(int width, int height) {
    const ObjectHandle bitmap = NewPatternBitmap(width, height);
    if (bitmap) AttachGraphic(bitmap, 0, 0);
    return bitmap;
}

// Saves the current target under `path`, passing the name as the tool does: wide text on top of
// the temporary stack.
std::int32_t Save(const std::wstring& path) {
    TextStack stack;
    TextValue name = AllocateWideText(static_cast<std::uint32_t>(path.size()));
    if (name) std::memcpy(const_cast<wchar_t*>(WideChars(name)), path.data(), path.size() * sizeof(wchar_t));
    stack.Push(name);
    const long textsBefore = LiveOwnedTexts();
    const std::int32_t result = SaveGraphicBitmap(stack);
    EXPECT_EQ(stack.Depth(), 0) << "the name is consumed";
    EXPECT_EQ(LiveOwnedTexts(), textsBefore - (name ? 1 : 0)) << "the name is released";
    EXPECT_FALSE(GraphicLock().IsTaken());
    return result;
}

// The whole file, field by field, against the picture of PatternColour.
void ExpectPatternFile(const std::vector<std::uint8_t>& file, int width, int height) {
    const std::uint32_t size = 54 + (width * 3 + 3) / 4 * 4 * height;
    ASSERT_EQ(file.size(), size);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(ReadU32(file, 2), size);
    EXPECT_EQ(ReadU32(file, 6), 0u) << "reserved";
    EXPECT_EQ(ReadU32(file, 10), 54u);
    ExpectInfoHeader(file, 14, width, height, 24);
    ExpectPatternRows(file, 54, width, height, 3, false);
}

// An older file, recognisable byte by byte.
std::vector<std::uint8_t> OldFileBytes() {
    std::vector<std::uint8_t> old(300);
    for (std::size_t i = 0; i < old.size(); ++i) old[i] = static_cast<std::uint8_t>(i * 7);
    return old;
}

// Nested folders under `root` whose path is `length` characters long, made the working directory
// for one scope and removed after it with what they hold.
class DeepWorkingDirectory {
public:
    DeepWorkingDirectory(const std::wstring& root, std::size_t length) : path_(root) {
        wchar_t previous[MAX_PATH];
        previous_.assign(previous, GetCurrentDirectoryW(MAX_PATH, previous));
        while (path_.size() < length) {
            const std::size_t left = length - path_.size();
            path_ += L'\\' + std::wstring(left > 150 ? 100 : left - 1, L'd');
            CreateDirectoryW(path_.c_str(), nullptr);
            folders_.push_back(path_);
        }
        ok_ = SetCurrentDirectoryW(path_.c_str());
    }
    ~DeepWorkingDirectory() {
        SetCurrentDirectoryW(previous_.c_str());
        for (const std::wstring& name : DirectoryNames(path_)) DeleteFileW((path_ + L"\\" + name).c_str());
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) RemoveDirectoryW(folder->c_str());
    }
    DeepWorkingDirectory(const DeepWorkingDirectory&) = delete;
    DeepWorkingDirectory& operator=(const DeepWorkingDirectory&) = delete;
    const std::wstring& path() const { return path_; }
    bool ok() const { return ok_; }

private:
    std::wstring path_;
    std::wstring previous_;
    std::vector<std::wstring> folders_;
    bool ok_ = false;
};

class BitmapFileTest : public testing::Test {
protected:
    ScratchDirectory directory;
    std::wstring target = directory.File(L"Retazo.bmp");
};

TEST_F(BitmapFileTest, WritesHeadersAndPaddedBottomUpRows) {
    const SIZE sizes[] = {{1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 2}, {641, 3}, {97, 1000}};  // the last in two bands
    for (const SIZE& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        const ObjectHandle bitmap = AttachPatternBitmap(size.cx, size.cy);
        ASSERT_NE(bitmap, 0u);
        EXPECT_EQ(Save(target), -1);
        ExpectPatternFile(ReadWholeFile(target), size.cx, size.cy);
        EXPECT_EQ(CurrentGraphicTarget(), bitmap) << "the target stays current";
    }
    EXPECT_EQ(directory.Names(), std::vector<std::wstring>{L"Retazo.bmp"});
}

TEST_F(BitmapFileTest, ReplacesALongerFileWithoutLeavingItsTail) {
    ASSERT_TRUE(WriteWholeFile(target, std::vector<std::uint8_t>(5000, 0xEE)));
    ASSERT_NE(AttachPatternBitmap(3, 2), 0u);
    EXPECT_EQ(Save(target), -1);
    ExpectPatternFile(ReadWholeFile(target), 3, 2);
    EXPECT_EQ(directory.Names(), std::vector<std::wstring>{L"Retazo.bmp"});
}

// Scanners and viewers hold a file for a moment: the save waits about a second for them.
TEST_F(BitmapFileTest, FileHeldByAnotherProcessIsReplacedOnlyOnceLetGo) {
    struct Case {
        DWORD holdMs;  // the holder lets go after this, or when the save is over
        bool saved;
    };
    const Case cases[] = {{300, true}, {20000, false}};
    for (const Case& held : cases) {
        SCOPED_TRACE(testing::Message() << "held for " << held.holdMs << " ms");
        const std::vector<std::uint8_t> old = OldFileBytes();
        ASSERT_TRUE(WriteWholeFile(target, old));
        ASSERT_NE(AttachPatternBitmap(4, 3), 0u);

        const std::wstring events = UniqueName(L"retazo-file");
        NamedEvent holding(events + L"-holding");
        NamedEvent release(events + L"-release");
        PeerProcess holder(L"file_holder", L"\"" + target + L"\" " + events + L" " + std::to_wstring(held.holdMs));
        ASSERT_TRUE(holder.WaitFor(holding)) << "file_holder did not open the file";
        EXPECT_EQ(Save(target), held.saved ? -1 : 0);
        release.Set();
        EXPECT_EQ(holder.Finish(), 0u);

        if (held.saved) {
            ExpectPatternFile(ReadWholeFile(target), 4, 3);
        } else {
            EXPECT_EQ(ReadWholeFile(target), old);
        }
        EXPECT_EQ(directory.Names(), std::vector<std::wstring>{L"Retazo.bmp"}) << "no temporary file left";
    }
}

// A run killed during its save leaves its temporary file; the next save takes it over or removes
// it, and never touches one that another instance is writing, nor a user's own file of that name.
TEST_F(BitmapFileTest, TemporaryFilesOfOtherRunsAreReusedOrRemovedUnlessHeld) {
    const std::wstring temporaries[] = {L"Retazo.b~0", L"Retazo.b~1", L"Retazo.b~2", L"Retazo.b~3"};
    std::vector<std::uint8_t> stale(5000, 0xEE);  // a bitmap's start, longer than the new file
    stale[0] = 'B', stale[1] = 'M';
    const std::vector<std::uint8_t> users{'n', 'o', 't', 'e', 's', '\r', '\n'};
    const struct {
        int held;   // the first names, held by other instances
        int users;  // the next ones, holding a user's text file
    } cases[] = {{0, 0}, {2, 0}, {4, 0}, {0, 1}, {1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.held << " temporary names held, " << c.users << " a user's");
        const int kept = c.held + c.users;
        const std::vector<std::uint8_t> old = OldFileBytes();
        ASSERT_TRUE(WriteWholeFile(target, old));
        std::vector<std::wstring> expectedNames{L"Retazo.bmp"};
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(WriteWholeFile(directory.File(temporaries[i]), i >= c.held && i < kept ? users : stale));
            if (i < kept) expectedNames.push_back(temporaries[i]);
        }
        ASSERT_NE(AttachPatternBitmap(5, 2), 0u);
        {
            // Held the way another instance holds its own while it saves.
            std::deque<ScopedFile> holds;
            for (int i = 0; i < c.held; ++i) {
                holds.emplace_back(CreateFileW(directory.File(temporaries[i]).c_str(), GENERIC_WRITE | DELETE,
                                               FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
                ASSERT_TRUE(holds.back().ok());
            }
            EXPECT_EQ(Save(target), kept < 4 ? -1 : 0);
        }
        if (kept < 4) {
            ExpectPatternFile(ReadWholeFile(target), 5, 2);
        } else {
            EXPECT_EQ(ReadWholeFile(target), old);
        }
        EXPECT_EQ(directory.Names(), expectedNames);
        for (int i = 0; i < kept; ++i) {
            EXPECT_EQ(ReadWholeFile(directory.File(temporaries[i])), i < c.held ? stale : users) << i;
        }
        for (const std::wstring& name : temporaries) DeleteFileW(directory.File(name).c_str());
    }
}

// Replacements of system functions, failing the way Windows documents they can fail; with no
// rename error, renames are only counted, and their names recorded.
const ScopedImportPatch* renamePatch = nullptr;
DWORD renameError = 0;
int renameAttempts = 0;
std::vector<std::wstring> fileNames;  // the names the save handed to the system

BOOL WINAPI FailingWriteFile(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    if (written) *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI FailingRename(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    if (kind == FileRenameInfo) {
        ++renameAttempts;
        const auto* rename = static_cast<const FILE_RENAME_INFO*>(info);
        fileNames.emplace_back(rename->FileName, rename->FileNameLength / sizeof(wchar_t));
    }
    if (kind != FileRenameInfo || renameError == 0) {
        return renamePatch->original<decltype(&SetFileInformationByHandle)>()(file, kind, info, size);
    }
    SetLastError(renameError);
    return FALSE;
}

const ScopedImportPatch* createPatch = nullptr;

HANDLE WINAPI RecordingCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                   DWORD disposition, DWORD flags, HANDLE templateFile) {
    fileNames.emplace_back(name);
    return createPatch->original<decltype(&CreateFileW)>()(name, access, share, security, disposition, flags,
                                                           templateFile);
}

// Saves under `name`, expecting `result`; every name handed to CreateFileW and to the rename
// must be a file's in `folder`.
void ExpectSaveByNamesIn(const std::wstring& name, std::int32_t result, const std::wstring& folder) {
    fileNames.clear();
    renameError = 0;
    {
        ScopedImportPatch create("kernel32.dll", "CreateFileW", reinterpret_cast<const void*>(&RecordingCreateFileW));
        ScopedImportPatch rename("kernel32.dll", "SetFileInformationByHandle",
                                 reinterpret_cast<const void*>(&FailingRename));
        ASSERT_TRUE(create.ok() && rename.ok());
        createPatch = &create, renamePatch = &rename;
        EXPECT_EQ(Save(name), result);
    }
    ASSERT_FALSE(fileNames.empty());
    for (const std::wstring& handed : fileNames) {
        EXPECT_TRUE(handed.starts_with(folder) && handed.find(L'\\', folder.size()) == std::wstring::npos)
            << testing::PrintToString(handed);
    }
}

// Nothing but the file's own name is added to the directory, so the save works wherever a
// direct write of the file would, up to the longest working directory there is. Beyond MAX_PATH
// Windows takes a path only in its extended-length form ("\\?\", "\\?\UNC\" for a share), which it
// does not normalise: every file call gets that form of the normalised full path.
TEST_F(BitmapFileTest, SavesUnderALongWorkingDirectory) {
    const struct {
        std::size_t length;
        const wchar_t* name;
    } cases[] = {{247, L"Retazo.bmp"}, {250, L"Retazo.bmp"}, {258, L"Retazo.bmp"}, {258, L"./d/../Retazo.bmp"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "working directory of " << c.length << " characters");
        ASSERT_NE(AttachPatternBitmap(3, 2), 0u);
        DeepWorkingDirectory deep(directory.path(), c.length);
        ASSERT_EQ(deep.path().size(), c.length);
        ASSERT_TRUE(deep.ok());
        ExpectSaveByNamesIn(c.name, -1, L"\\\\?\\" + deep.path() + L"\\");
        ExpectPatternFile(ReadWholeFile(deep.path() + L"\\Retazo.bmp"), 3, 2);
        EXPECT_EQ(DirectoryNames(deep.path()), std::vector<std::wstring>{L"Retazo.bmp"});
    }
    SCOPED_TRACE("a share, which is not there");
    ExpectSaveByNamesIn(L"//retazo-test-server/share/Retazo.bmp", 0, L"\\\\?\\UNC\\retazo-test-server\\share\\");
}

TEST_F(BitmapFileTest, FailuresLeaveTheOldFileAndNoTemporary) {
    constexpr int kRetried = -1;
    struct Case {
        const char* what;
        const char* function;
        const void* replacement;
        DWORD error;
        int renames;  // rename attempts, or kRetried: again and again for about a second
        DWORD targetAttributes;
    };
    const Case cases[] = {
        {"a write fails", "WriteFile", reinterpret_cast<const void*>(&FailingWriteFile), 0, 0, 0},
        {"the rename fails for good", "SetFileInformationByHandle", reinterpret_cast<const void*>(&FailingRename),
         ERROR_WRITE_PROTECT, 1, 0},
        {"the target stays held", "SetFileInformationByHandle", reinterpret_cast<const void*>(&FailingRename),
         ERROR_ACCESS_DENIED, kRetried, 0},
        {"the target stays locked", "SetFileInformationByHandle", reinterpret_cast<const void*>(&FailingRename),
         ERROR_SHARING_VIOLATION, kRetried, 0},
        {"the target is read-only", "SetFileInformationByHandle", reinterpret_cast<const void*>(&FailingRename), 0,
         0, FILE_ATTRIBUTE_READONLY},
    };
    for (const Case& failure : cases) {
        SCOPED_TRACE(failure.what);
        const std::vector<std::uint8_t> old = OldFileBytes();
        ASSERT_TRUE(WriteWholeFile(target, old));
        ASSERT_TRUE(!failure.targetAttributes || SetFileAttributesW(target.c_str(), failure.targetAttributes));
        ASSERT_NE(AttachPatternBitmap(4, 3), 0u);
        renameError = failure.error;
        renameAttempts = 0;
        const ULONGLONG start = GetTickCount64();
        {
            ScopedImportPatch patch("kernel32.dll", failure.function, failure.replacement);
            ASSERT_TRUE(patch.ok());
            renamePatch = &patch;
            EXPECT_EQ(Save(target), 0);
        }
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (failure.renames == kRetried) {
            EXPECT_GT(renameAttempts, 2);
            EXPECT_TRUE(elapsed >= 500 && elapsed < 2500) << "gave up after " << elapsed << " ms";
        } else {
            EXPECT_EQ(renameAttempts, failure.renames);
            EXPECT_LT(elapsed, 500u) << "gave up after " << elapsed << " ms";
        }
        EXPECT_EQ(ReadWholeFile(target), old);
        EXPECT_EQ(directory.Names(), std::vector<std::wstring>{L"Retazo.bmp"}) << "no temporary file left";
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A save ended from inside one of its calls, as a kill or a crash ends it: halfway through a
// write, or right after the rename.
constexpr UINT kKilledExitCode = 3;
int callsBeforeKill = 0;
const ScopedImportPatch* killPatch = nullptr;

BOOL WINAPI KillingWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    const auto write = killPatch->original<decltype(&WriteFile)>();
    if (--callsBeforeKill == 0 && write(file, data, size / 2, written, overlapped)) {
        TerminateProcess(GetCurrentProcess(), kKilledExitCode);
    }
    return write(file, data, size, written, overlapped);
}

BOOL WINAPI KillingRename(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    const BOOL done = killPatch->original<decltype(&SetFileInformationByHandle)>()(file, kind, info, size);
    if (kind == FileRenameInfo && --callsBeforeKill == 0) TerminateProcess(GetCurrentProcess(), kKilledExitCode);
    return done;
}

// A killed save leaves the old file byte for byte, or the new one whole, and nothing else. The
// child of each death test runs this body again from its start: it takes the parent's folder
// from its environment.
TEST(KilledSave, LeavesOnlyTheOldFileOrTheNewOne) {
    constexpr wchar_t kFolderVariable[] = L"RETAZO_KILLED_SAVE_FOLDER";
    std::optional<ScratchDirectory> own;
    wchar_t inherited[MAX_PATH] = {};
    std::wstring folder(inherited, GetEnvironmentVariableW(kFolderVariable, inherited, MAX_PATH));
    if (folder.empty()) {
        folder = own.emplace().path();
        SetEnvironmentVariableW(kFolderVariable, folder.c_str());
    }
    const std::wstring target = folder + L"\\Retazo.bmp";
    const struct {
        const char* function;
        const void* replacement;
        int call;
        bool renamed;
    } kills[] = {
        {"WriteFile", reinterpret_cast<const void*>(&KillingWriteFile), 1, false},
        {"WriteFile", reinterpret_cast<const void*>(&KillingWriteFile), 3, false},  // the first band
        {"SetFileInformationByHandle", reinterpret_cast<const void*>(&KillingRename), 1, true},
    };
    for (const auto& kill : kills) {
        SCOPED_TRACE(testing::Message() << "killed in call " << kill.call << " of " << kill.function);
        const std::vector<std::uint8_t> old = OldFileBytes();
        ASSERT_TRUE(WriteWholeFile(target, old));
        ASSERT_NE(AttachPatternBitmap(97, 1000), 0u);
        EXPECT_EXIT(
            {
                ScopedImportPatch patch("kernel32.dll", kill.function, kill.replacement);
                killPatch = &patch;
                callsBeforeKill = kill.call;
                Save(target);
            },
            testing::ExitedWithCode(kKilledExitCode), "");
        if (kill.renamed) {
            ExpectPatternFile(ReadWholeFile(target), 97, 1000);
        } else {
            EXPECT_EQ(ReadWholeFile(target), old);
        }
        EXPECT_EQ(DirectoryNames(folder), std::vector<std::wstring>{L"Retazo.bmp"}) << "a file left behind";
    }
    SetEnvironmentVariableW(kFolderVariable, nullptr);
}

TEST_F(BitmapFileTest, NothingIsWrittenWithoutATargetOrAName) {
    ASSERT_NE(AttachPatternBitmap(2, 2), 0u);
    EXPECT_EQ(Save(L""), 0);
    EXPECT_EQ(Save(directory.File(L"missing\\Retazo.bmp")), 0);

    SetCurrentGraphicTarget(0);
    EXPECT_EQ(Save(target), 0);
    EXPECT_TRUE(directory.Names().empty());
}

}  // namespace
