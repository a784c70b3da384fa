// Text expressions on the temporary stack: literals, concatenation, conversions, fixed buffers.
#pragma once
#include <cstdint>

#include "runtime/literal_pool.h"
#include "runtime/text_stack.h"

template <std::size_t N>
void PushLiteral(TextStack& stack, const Literal<N>& literal) {
    stack.Push(BorrowLiteral(literal));
}
void PushEmptyText(TextStack& stack);
// Replaces the two top slots (left below, right on top) by left + right. An empty operand
// yields the other one unchanged, without an allocation.
void ConcatText(TextStack& stack);
// Replaces the slot at `depth` (0 = top) by its UTF-16 conversion in the thread's code page
// (Windows-1252 unless changed), whatever the system's ANSI code page is.
void ConvertToWide(TextStack& stack, int depth);

// The top text, popped, as a zero-terminated 8-bit argument for one system call; released when
// the argument goes out of scope, after the call.
class AnsiArgument {
public:
    explicit AnsiArgument(TextStack& stack);
    ~AnsiArgument();
    AnsiArgument(const AnsiArgument&) = delete;
    AnsiArgument& operator=(const AnsiArgument&) = delete;
    // Null for an empty text.
    const char* get() const { return TextChars(owned_); }

private:
    TextValue owned_;
};

// Copies the top text into a fixed buffer of `size` bytes (0: up to 2^25 characters) and
// releases it; at most size - 1 characters, ending at the first zero byte, always terminated.
void StoreFixedText(TextStack& stack, char* buffer, std::uint32_t size);
// Pushes the zero-terminated contents of a fixed buffer as a new owned text.
void PushFixedText(TextStack& stack, const char* buffer);
// Assignment of one fixed-size record to another: the record's bytes as a text, and back.
void RecordToText(TextStack& stack, const void* record, std::uint32_t size);
void TextToRecord(TextStack& stack, void* record, std::uint32_t size);
