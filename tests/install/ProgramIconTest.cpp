#include <gtest/gtest.h>

#include "ProgramIcon.h"
#include "TestSupport.h"

namespace brixel {
namespace {

TEST(ProgramIconTest, TheIconInTheTreeIsTheOneDrawnNow) {
  test::BackEndFixture backEnd;
  cIco drawn;
  DrawProgramIcon(drawn);
  cIco kept;
  ASSERT_TRUE(kept.OpenIcon(BRIXEL_ICON_FILE)) << "build brixel_draw_icon to draw it";
  ASSERT_EQ(kept.IconCount(), drawn.IconCount());
  for (std::int16_t i = 0; i < drawn.IconCount(); ++i) {
    EXPECT_EQ(kept.Width(i), kProgramIconSizes[i]);
    EXPECT_EQ(kept.BitDepth(i), 24);
    EXPECT_TRUE(kept.Image(i).Pixels == drawn.Image(i).Pixels) << "image " << i;
    EXPECT_TRUE(kept.Image(i).Mask == drawn.Image(i).Mask) << "image " << i;
  }
  EXPECT_TRUE(backEnd.reporter.reports.empty());
}

}  // namespace
}  // namespace brixel
