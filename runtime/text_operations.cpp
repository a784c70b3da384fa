// Text expressions on the temporary stack.
#include "runtime/text_operations.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "runtime/runtime_error.h"
#include "runtime/thread_block.h"

namespace {

constexpr std::uint32_t kUnlimitedFixedText = 1u << 25;

// A copy of `length` bytes as a new owned text; `raiseOnFailure` reports exhaustion as error 7.
TextValue CopyText(const char* chars, std::uint32_t length, bool raiseOnFailure) {
    TextValue copy = AllocateText(length);
    if (copy) {
        std::memcpy(const_cast<char*>(TextChars(copy)), chars, length);
    } else if (length != 0 && raiseOnFailure) {
        RaiseRuntimeError(kErrorOutOfMemory);
    }
    return copy;
}

UINT ConversionCodePage() {
    ThreadBlock* block = GetThreadBlock();
    return block ? block->codePage : kTextCodePage;
}

}  // namespace

void PushEmptyText(TextStack& stack) { stack.Push(kEmptyText); }

void ConcatText(TextStack& stack) {
    TextValue& left = stack.At(1);
    const std::uint32_t leftLength = TextLength(left);
    const std::uint32_t rightLength = TextLength(stack.At(0));
    if (leftLength == 0) {
        TextValue right = stack.Pop();
        stack.Drop();
        stack.Push(right);
        return;
    }
    if (rightLength == 0) {
        stack.Drop();
        return;
    }
    TextValue joined = AllocateText(leftLength + rightLength);
    if (!joined) {
        RaiseRuntimeError(kErrorOutOfMemory);
        stack.Drop();
        return;
    }
    char* out = const_cast<char*>(TextChars(joined));
    std::memcpy(out, TextChars(left), leftLength);
    std::memcpy(out + leftLength, TextChars(stack.At(0)), rightLength);
    stack.Drop();
    ReleaseText(stack.At(0));
    stack.At(0) = joined;
}

void ConvertToWide(TextStack& stack, int depth) {
    TextValue& slot = stack.At(depth);
    const TextValue text = slot;
    slot = kEmptyText;
    const auto length = static_cast<int>(TextLength(text));
    if (length != 0) {
        const UINT codePage = ConversionCodePage();
        const int units =
            MultiByteToWideChar(codePage, MB_PRECOMPOSED, TextChars(text), length, nullptr, 0);
        if (units > 0) {
            TextValue wide = AllocateWideText(static_cast<std::uint32_t>(units));
            if (wide) {
                MultiByteToWideChar(codePage, MB_PRECOMPOSED, TextChars(text), length,
                                    const_cast<wchar_t*>(WideChars(wide)), units);
            }
            slot = wide;
        }
    }
    ReleaseText(text);
}

AnsiArgument::AnsiArgument(TextStack& stack) : owned_(stack.Pop()) {
    if (IsBorrowed(owned_)) owned_ = CopyText(TextChars(owned_), TextLength(owned_), true);
}

AnsiArgument::~AnsiArgument() { ReleaseText(owned_); }

void StoreFixedText(TextStack& stack, char* buffer, std::uint32_t size) {
    TextValue text = stack.Pop();
    const std::uint32_t limit = size == 0 ? kUnlimitedFixedText : size - 1;
    const std::uint32_t available = std::min(TextLength(text), limit);
    const char* chars = TextChars(text);
    std::uint32_t copied = 0;
    bool terminated = false;
    while (copied < available && !terminated) {
        buffer[copied] = chars[copied];
        terminated = chars[copied] == '\0';
        ++copied;
    }
    if (!terminated) buffer[copied] = '\0';
    ReleaseText(text);
}

void PushFixedText(TextStack& stack, const char* buffer) {
    if (!buffer) {
        PushEmptyText(stack);
        return;
    }
    const std::uint32_t length = static_cast<std::uint32_t>(strnlen(buffer, kUnlimitedFixedText));
    stack.Push(CopyText(buffer, length, false));
}

void RecordToText(TextStack& stack, const void* record, std::uint32_t size) {
    stack.Push(CopyText(static_cast<const char*>(record), size, false));
}

void TextToRecord(TextStack& stack, void* record, std::uint32_t size) {
    TextValue text = stack.Pop();
    const std::uint32_t copied = std::min(TextLength(text), size);
    if (copied != 0) std::memcpy(record, TextChars(text), copied);
    std::memset(static_cast<char*>(record) + copied, ' ', size - copied);
    ReleaseText(text);
}
