// Fault injection for tests: one system function of the test program replaced for one scope.
#pragma once
#include <windows.h>

#include <cstdint>

// The layers are linked statically into each test program and reach the system through that
// program's import address table. Replacing one entry of the table lets a test make a single
// call fail the way Windows documents it can fail (an allocation, a bitmap, a BitBlt), without
// a seam in the product's code. Install it before the call under test: compiled code may keep
// an entry it has already loaded for the rest of that function.
class ScopedImportPatch {
public:
    ScopedImportPatch(const char* dll, const char* function, const void* replacement) {
        slot_ = FindImportSlot(dll, function);
        if (!slot_) return;
        original_ = *slot_;
        Write(const_cast<void*>(replacement));
    }
    ~ScopedImportPatch() {
        if (slot_) Write(original_);
    }
    ScopedImportPatch(const ScopedImportPatch&) = delete;
    ScopedImportPatch& operator=(const ScopedImportPatch&) = delete;

    // False when the program does not import `function` from `dll`: nothing was replaced.
    bool ok() const { return slot_ != nullptr; }
    // The system's own function, for a replacement that fails only some calls.
    template <typename Function>
    Function original() const {
        return reinterpret_cast<Function>(original_);
    }

private:
    static void** FindImportSlot(const char* dll, const char* function) {
        auto* base = reinterpret_cast<std::uint8_t*>(GetModuleHandleW(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (imports.VirtualAddress == 0) return nullptr;
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             entry->Name != 0; ++entry) {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                    return reinterpret_cast<void**>(&slots->u1.Function);
                }
            }
        }
        return nullptr;
    }

    // The table may lie in a read-only section once the loader has filled it.
    void Write(void* value) {
        DWORD protection = 0;
        if (!VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection)) return;
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }

    void** slot_ = nullptr;
    void* original_ = nullptr;
};
