// The temporary stack of text values.
#include "runtime/text_stack.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "runtime/runtime_error.h"

TextStack::~TextStack() {
    while (depth_ > 0) Drop();
    if (slots_ != inline_) std::free(slots_);
}

void TextStack::Push(TextValue text) {
    if (depth_ == capacity_ && !Grow()) {
        RaiseRuntimeError(kErrorOutOfMemory);
        ReleaseText(text);
        return;
    }
    slots_[depth_++] = text;
}

// Twice the slots, in memory of the stack's own; the old slots move there.
bool TextStack::Grow() {
    if (capacity_ > INT_MAX / 2) return false;
    const int capacity = capacity_ * 2;
    auto* grown = static_cast<TextValue*>(std::malloc(sizeof(TextValue) * static_cast<std::size_t>(capacity)));
    if (!grown) return false;
    std::memcpy(grown, slots_, sizeof(TextValue) * static_cast<std::size_t>(depth_));
    if (slots_ != inline_) std::free(slots_);
    slots_ = grown;
    capacity_ = capacity;
    return true;
}

TextValue TextStack::Pop() {
    if (depth_ == 0) return kEmptyText;
    TextValue text = slots_[--depth_];
    slots_[depth_] = kEmptyText;
    return text;
}

void TextStack::Drop() { ReleaseText(Pop()); }

TextValue& TextStack::At(int depth) {
    if (depth < 0 || depth >= depth_) {
        spare_ = kEmptyText;
        return spare_;
    }
    return slots_[depth_ - 1 - depth];
}
