// Findings of the fuzz targets of the Edit value dialog's numbers and of
// the caret's moves, kept as cases: offsets at the end of the largest file
// (2 GiB - 1 bytes) are computed without passing the signed 32-bit range.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/numbers.h"
#include "hexview/hittest.h"

namespace {

TEST(LargestFileEnd, EditValueCaptionOfTheLastUnits)
{
    struct Case {
        int32_t caret, unitBytes;
        const char *caption;
    };
    const int32_t size = 0x7FFFFFFF;
    const Case cases[] = {
        {0x7FFFFFFE, 2, "Offset (HEX): 7ffffffe - 7ffffffe"},
        {0x7FFFFFFC, 4, "Offset (HEX): 7ffffffc - 7ffffffe"},
        {0x7FFFFFFE, 1, "Offset (HEX): 7ffffffe"},
    };
    for (const Case &c : cases) {
        char caption[64];
        editValueCaption(caption, sizeof caption, true, c.caret, c.unitBytes, size);
        EXPECT_STREQ(c.caption, caption) << c.unitBytes;
    }
}

TEST(LargestFileEnd, TypingOnTheLastPairInSwappedOrderLeavesTheFile)
{
    // Swapped text order types 1, 0, 3, 2 ...: after the last even offset
    // comes an offset past the signed 32-bit range, which is no byte.
    EXPECT_LT(nextTypedOffset(0x7FFFFFFE, true), 0);
    EXPECT_EQ(0x7FFFFFFC, nextTypedOffset(0x7FFFFFFD, true));
    EXPECT_EQ(0x7FFFFFFF, nextTypedOffset(0x7FFFFFFE, false));
    EXPECT_EQ(0x7FFFFFFB, nextTypedOffset(0x7FFFFFF8, true));
}

}  // namespace
