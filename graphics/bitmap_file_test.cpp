// The bitmap file writer: exact bytes of the file, whole replacement, and what a failure leaves.
#include "graphics/bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/graphic_target.h"
#include "graphics/peer_test_support.h"
#include "graphics/pixel_test_support.h"
#include "graphics/spin_lock.h"

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

std::uint32_t RowStride(int width) { return (width * 3 + 3) / 4 * 4; }

// The whole file, field by field, against the picture of PatternColour.
void ExpectPatternFile(const std::vector<std::uint8_t>& file, int width, int height) {
    const std::uint32_t stride = RowStride(width);
    const std::uint32_t size = 54 + stride * height;
    ASSERT_EQ(file.size(), size);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(ReadU32(file, 2), size);
    EXPECT_EQ(ReadU32(file, 6), 0u) << "reserved";
    EXPECT_EQ(ReadU32(file, 10), 54u);
    EXPECT_EQ(ReadU32(file, 14), 40u);
    EXPECT_EQ(ReadU32(file, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(ReadU32(file, 22), static_cast<std::uint32_t>(height));
    EXPECT_EQ(ReadU16(file, 26), 1u);
    EXPECT_EQ(ReadU16(file, 28), 24u);
    for (std::size_t at = 30; at < 54; at += 4) EXPECT_EQ(ReadU32(file, at), 0u) << "offset " << at;
    int wrong = 0;
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;  // bottom row first
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + row * stride + x * 3;
            const COLORREF colour = PatternColour(x, y);
            if (file[at] != GetBValue(colour) || file[at + 1] != GetGValue(colour) || file[at + 2] != GetRValue(colour)) {
                if (++wrong <= 5) ADD_FAILURE() << "pixel (" << x << ", " << y << ") at offset " << at;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

class BitmapFileTest : public testing::Test {
protected:
    ScratchDirectory directory;
    std::wstring target = directory.File(L"Retazo.bmp");
};

TEST_F(BitmapFileTest, WritesHeadersAndPaddedBottomUpRows) {
    const SIZE sizes[] = {{1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 2}, {641, 3}};
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

TEST_F(BitmapFileTest, FileHeldOpenByAnotherProcessStaysAsItWas) {
    std::vector<std::uint8_t> old(300);
    for (std::size_t i = 0; i < old.size(); ++i) old[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(WriteWholeFile(target, old));
    ASSERT_NE(AttachPatternBitmap(4, 3), 0u);

    const std::wstring events = UniqueName(L"retazo-file");
    NamedEvent holding(events + L"-holding");
    NamedEvent release(events + L"-release");
    PeerProcess holder(L"file_holder", L"\"" + target + L"\" " + events + L" 20000");
    ASSERT_TRUE(holder.WaitFor(holding)) << "file_holder did not open the file";
    EXPECT_EQ(Save(target), 0);
    release.Set();
    EXPECT_EQ(holder.Finish(), 0u);

    EXPECT_EQ(ReadWholeFile(target), old);
    EXPECT_EQ(directory.Names(), std::vector<std::wstring>{L"Retazo.bmp"}) << "no temporary file left";
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
