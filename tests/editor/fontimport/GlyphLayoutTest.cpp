#include <gtest/gtest.h>

#include "fontimport/CGlyphLayout.h"

namespace {

TEST(GlyphLayout, PlacesCellsLeftToRightOnePixelApartAndWrapsRows) {
    CGlyphLayout layout(256);
    const SGlyphPlacement first = layout.Place({10, 20});
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.y, 0);
    EXPECT_EQ(first.cell, (SGlyphCell{0.0f, 0.0f, 10.0f / 256, 20.0f / 256}));

    // The next cell starts one pixel right of the previous right edge.
    const SGlyphPlacement second = layout.Place({16, 20});
    EXPECT_EQ(second.x, 11);
    EXPECT_EQ(second.y, 0);
    EXPECT_FLOAT_EQ(second.cell.left, 11.0f / 256);
    EXPECT_FLOAT_EQ(second.cell.right, 27.0f / 256);

    // x = 28: 28 + 227 + 1 = 256 does not exceed the size, so the cell stays
    // on the row and ends at pixel 255; one more pixel starts a new row.
    const SGlyphPlacement lastOnRow = layout.Place({227, 20});
    EXPECT_EQ(lastOnRow.x, 28);
    EXPECT_EQ(lastOnRow.y, 0);
    EXPECT_FLOAT_EQ(lastOnRow.cell.right, 255.0f / 256);
    const SGlyphPlacement wrapped = layout.Place({1, 20});
    EXPECT_EQ(wrapped.x, 0);
    EXPECT_EQ(wrapped.y, 21);
    EXPECT_FLOAT_EQ(wrapped.cell.top, 21.0f / 256);
    EXPECT_FLOAT_EQ(wrapped.cell.bottom, 41.0f / 256);
    EXPECT_TRUE(layout.Fits());
}

TEST(GlyphLayout, DividesByTheTextureSize) {
    CGlyphLayout layout(512);
    layout.Place({300, 40});
    const SGlyphPlacement second = layout.Place({100, 40});
    EXPECT_EQ(second.cell, (SGlyphCell{301.0f / 512, 0.0f, 401.0f / 512, 40.0f / 512}));
    // On 256 the same cell would have wrapped.
    const SGlyphPlacement third = layout.Place({200, 40});
    EXPECT_EQ(third.y, 41);
    EXPECT_FLOAT_EQ(third.cell.bottom, 81.0f / 512);
}

TEST(GlyphLayout, CellsBelowTheLastRowLieOutsideTheTexture) {
    CGlyphLayout layout(256);
    for (int row = 0; row < 5; ++row) {
        const SGlyphPlacement placement = layout.Place({200, 50});
        EXPECT_TRUE(placement.insideTexture) << "row " << row;  // rows at 0, 51, 102, 153, 204
    }
    const SGlyphPlacement beyond = layout.Place({200, 50});
    EXPECT_EQ(beyond.y, 255);
    EXPECT_FALSE(beyond.insideTexture);
    EXPECT_GT(beyond.cell.bottom, 1.0f);
    EXPECT_FALSE(layout.Fits());

    // A cell wider than the texture sticks out on the right.
    CGlyphLayout narrow(256);
    EXPECT_FALSE(narrow.Place({300, 10}).insideTexture);
}

}  // namespace
