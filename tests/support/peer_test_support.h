// Shared by the graphics tests: peer programs started beside the test program, named events to
// meet them, scratch directories and whole files.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Bound on every wait for a peer; a Wine process takes about half a second to start.
constexpr DWORD kPeerTimeoutMs = 30000;

// A name no other test run uses: `stem`, this process's id and a counter.
inline std::wstring UniqueName(const wchar_t* stem) {
    static unsigned counter = 0;
    return std::wstring(stem) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

// A manual-reset event shared with a peer by name.
class NamedEvent {
public:
    explicit NamedEvent(const std::wstring& name) : event_(CreateEventW(nullptr, TRUE, FALSE, name.c_str())) {}
    ~NamedEvent() {
        if (event_) CloseHandle(event_);
    }
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;
    HANDLE get() const { return event_; }
    void Set() const { SetEvent(event_); }
    bool IsSet() const { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

private:
    HANDLE event_;
};

// A peer program from the test program's own directory, waited for (bounded) and, if still
// running then, ended when it goes out of scope.
class PeerProcess {
public:
    PeerProcess(const wchar_t* program, const std::wstring& arguments) {
        wchar_t self[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring path(self, length);
        path.resize(path.find_last_of(L'\\') + 1);
        path += program;
        path += L".exe";
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
        }
    }
    ~PeerProcess() {
        if (!process_) return;
        if (WaitForSingleObject(process_, kPeerTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // True once `event` is set; false when the peer ends first or the bound passes.
    bool WaitFor(const NamedEvent& event) const {
        if (!process_) return false;
        const HANDLE handles[] = {event.get(), process_};
        return WaitForMultipleObjects(2, handles, FALSE, kPeerTimeoutMs) == WAIT_OBJECT_0;
    }
    // The peer's exit code, or STILL_ACTIVE when it did not end within the bound.
    DWORD Finish() const {
        DWORD code = STILL_ACTIVE;
        if (process_ && WaitForSingleObject(process_, kPeerTimeoutMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process_, &code);
        }
        return code;
    }

private:
    HANDLE process_ = nullptr;
};

// The names of the files and folders in a directory, sorted.
inline std::vector<std::wstring> DirectoryNames(const std::wstring& directory) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// A new empty directory under the temporary directory, deleted with what it holds.
class ScratchDirectory {
public:
    ScratchDirectory() {
        wchar_t temp[MAX_PATH];
        path_ = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + UniqueName(L"retazo");
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchDirectory() {
        for (const std::wstring& name : Names()) DeleteFileW(File(name).c_str());
        RemoveDirectoryW(path_.c_str());
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // The names of the files in the directory.
    std::vector<std::wstring> Names() const { return DirectoryNames(path_); }

private:
    std::wstring path_;
};

// The whole content of a file; empty when it cannot be read.
inline std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()) {
            bytes.clear();
        }
    }
    CloseHandle(file);
    return bytes;
}

inline bool WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}
