// A UTF-16 text argument taken from the temporary stack for the length of one operation.
#pragma once
#include "runtime/text_stack.h"

// Pops the top slot at construction and releases it at the end of the scope, so every path of
// the operation consumes its argument exactly once.
class WideTextArgument {
public:
    explicit WideTextArgument(TextStack& stack) : text_(stack.Pop()) {}
    ~WideTextArgument() { ReleaseText(text_); }
    WideTextArgument(const WideTextArgument&) = delete;
    WideTextArgument& operator=(const WideTextArgument&) = delete;
    // The text as a zero-terminated UTF-16 string; L"" for the empty text.
    const wchar_t* get() const { return text_ ? WideChars(text_) : L""; }

private:
    TextValue text_;
};
