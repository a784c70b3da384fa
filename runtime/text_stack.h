// The temporary stack on which a routine evaluates its text expressions.
#pragma once
#include "runtime/text_value.h"

// One per routine activation. Whatever is left on it when the routine ends is released, so an
// owned temporary is released exactly once on every path; borrowed literals never are.
class TextStack {
public:
    TextStack() = default;
    ~TextStack();
    TextStack(const TextStack&) = delete;
    TextStack& operator=(const TextStack&) = delete;

    // Pushes a value the stack now owns. The stack grows as deep as memory allows; when it cannot
    // grow, the value is released and runtime error 7 is raised.
    void Push(TextValue text);
    // Pops the top value; its ownership passes to the caller. The empty text when there is none.
    TextValue Pop();
    // Pops and releases the top value.
    void Drop();
    // The slot at `depth` (0 = top).
    TextValue& At(int depth);
    int Depth() const { return depth_; }

private:
    bool Grow();

    // Expressions rarely go deeper than this, so the slots start inside the stack itself.
    static constexpr int kInlineSlots = 8;
    TextValue inline_[kInlineSlots] = {};
    TextValue* slots_ = inline_;
    int capacity_ = kInlineSlots;
    TextValue spare_ = kEmptyText;  // what At() yields for a depth the stack does not have
    int depth_ = 0;
};
