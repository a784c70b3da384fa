// Thread runtime blocks, kept in a TLS slot and in the thread information block.
#include "runtime/thread_block.h"

#include <oleauto.h>
#include <winternl.h>

#include <utility>

#include "runtime/font_table.h"
#include "runtime/scoped_handle.h"

namespace {

DWORD tlsIndex = TLS_OUT_OF_INDEXES;
ThreadBlock* mainThreadBlock = nullptr;
LONG threadCount = 0;

// GCC takes the read at a small fs/gs offset for an out-of-bounds access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
NT_TIB* InformationBlock() { return reinterpret_cast<NT_TIB*>(NtCurrentTeb()); }
#pragma GCC diagnostic pop

ThreadBlock* CreateThreadBlock() {
    auto* block = static_cast<ThreadBlock*>(GlobalAlloc(GPTR, kThreadBlockSize));
    if (!block) return nullptr;
    if (mainThreadBlock) {
        block->dialogFont = mainThreadBlock->dialogFont;
        for (int i = 0; i < 3; ++i) block->defaultFonts[i] = mainThreadBlock->defaultFonts[i];
        block->codePage = mainThreadBlock->codePage;
    } else {
        block->dialogFont = kDefaultFontNumber;
        block->defaultFonts[0] = 1;
        block->defaultFonts[1] = 2;
        block->defaultFonts[2] = 3;
        block->codePage = kTextCodePage;
    }
    TlsSetValue(tlsIndex, block);
    // Kept in the thread information block too, where code without the TLS index finds it.
    InformationBlock()->ArbitraryUserPointer = block;
    InterlockedIncrement(&threadCount);
    return block;
}

struct FindCloser {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE find) const { FindClose(find); }
};

// Closes the handle of a block's field, if set; the field is reset first, so that it never names
// a closed handle.
template <typename Closer>
void CloseField(HANDLE& field) {
    const ScopedHandle<HANDLE, Closer> handle(std::exchange(field, nullptr));
}

}  // namespace

bool CreateMainThreadBlock() {
    if (tlsIndex == TLS_OUT_OF_INDEXES) tlsIndex = TlsAlloc();
    if (tlsIndex == TLS_OUT_OF_INDEXES) return false;
    if (!mainThreadBlock) mainThreadBlock = CreateThreadBlock();
    return mainThreadBlock != nullptr;
}

ThreadBlock* GetThreadBlock() {
    if (tlsIndex == TLS_OUT_OF_INDEXES && !CreateMainThreadBlock()) return nullptr;
    auto* block = static_cast<ThreadBlock*>(TlsGetValue(tlsIndex));
    return block ? block : CreateThreadBlock();
}

ThreadBlock* InformationBlockThreadBlock() {
    return static_cast<ThreadBlock*>(InformationBlock()->ArbitraryUserPointer);
}

void ReleaseThreadBlock() {
    if (tlsIndex == TLS_OUT_OF_INDEXES) return;
    auto* block = static_cast<ThreadBlock*>(TlsGetValue(tlsIndex));
    if (!block) return;
    CloseField<FileCloser>(block->fileHandle);
    CloseField<FindCloser>(block->findHandle);
    for (BSTR& text : block->texts) {
        SysFreeString(text);
        text = nullptr;
    }
    if (block == mainThreadBlock) mainThreadBlock = nullptr;
    GlobalFree(block);
    TlsSetValue(tlsIndex, nullptr);
    InformationBlock()->ArbitraryUserPointer = nullptr;
    InterlockedDecrement(&threadCount);
}

void ReleaseThreadRuntime() {
    if (tlsIndex == TLS_OUT_OF_INDEXES) return;
    TlsFree(tlsIndex);
    tlsIndex = TLS_OUT_OF_INDEXES;
}
