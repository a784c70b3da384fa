// The temporary stack of text values.
#include "runtime/text_stack.h"

TextStack::~TextStack() {
    while (depth_ > 0) Drop();
}

void TextStack::Push(TextValue text) {
    if (depth_ == kSlots) {
        ReleaseText(text);
        return;
    }
    slots_[depth_++] = text;
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
