#include <gtest/gtest.h>

#include "ErrorReport.h"
#include "TestSupport.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

class ErrorReportTest : public ::testing::Test {
 protected:
  void TearDown() override { SetProgramIdentity(saved_); }
  test::BackEndFixture backEnd_;
  ProgramIdentity saved_ = CurrentProgramIdentity();
};

TEST_F(ErrorReportTest, ReportCarriesProgramVersionNumberDescriptionAndLabel) {
  SetProgramIdentity({"P", 1, 2, 3});
  ReportError(5, "D", "PrjBackEnd.cIco.OpenIcon");
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_EQ(backEnd_.reporter.reports[0],
            "P : Version - 1.2\r\nBuild 3\r\n"
            "Error Number: 5\r\nD\r\n\r\nDebug Information:\r\nPrjBackEnd.cIco.OpenIcon");
}

TEST_F(ErrorReportTest, TrapReportsOnceAndReturnsFalse) {
  SetProgramIdentity({"P", 1, 0, 0});
  bool ranToEnd = false;
  const bool ok = Trap("PrjBackEnd.cIco.SaveIcon", [&] {
    Raise(ErrorCode::Overflow);
    ranToEnd = true;
  });
  EXPECT_FALSE(ok);
  EXPECT_FALSE(ranToEnd);
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("Error Number: 6\r\nOverflow\r\n"), std::string::npos);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBackEnd.cIco.SaveIcon"), std::string::npos);
}

TEST_F(ErrorReportTest, PropagatedFailureIsReportedUnderTheInnerLabelOnly) {
  const bool ok = Trap("Outer.Label", [] {
    TrapAndPropagate("Inner.Label", [] { Raise(ErrorCode::InputPastEnd); });
  });
  EXPECT_FALSE(ok);
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("Inner.Label"), std::string::npos);
  EXPECT_EQ(backEnd_.reporter.reports[0].find("Outer.Label"), std::string::npos);
}

TEST_F(ErrorReportTest, StandardLibraryFailuresMapToClassicNumbers) {
  Trap("L", [] { throw std::bad_alloc(); });
  Trap("L", [] { throw std::out_of_range("x"); });
  ASSERT_EQ(backEnd_.reporter.reports.size(), 2u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("Error Number: 7\r\nOut of memory"), std::string::npos);
  EXPECT_NE(backEnd_.reporter.reports[1].find("Error Number: 9\r\nSubscript out of range"),
            std::string::npos);
}

TEST_F(ErrorReportTest, CollectorsKeepReportsFromTheReporterInnermostFirst) {
  {
    ReportCollector outer;
    Trap("A.B", [] { Raise(ErrorCode::InvalidPicture); });
    {
      ReportCollector inner;
      ShowError("plain");
      ASSERT_EQ(inner.Reports().size(), 1u);
      EXPECT_EQ(inner.Reports()[0].number, 0);
      EXPECT_EQ(inner.Reports()[0].description, "plain");
    }
    ASSERT_EQ(outer.Reports().size(), 1u);
    EXPECT_EQ(outer.Reports()[0].number, 481);
    EXPECT_EQ(outer.Reports()[0].description, "Invalid picture");
    EXPECT_NE(outer.Details().find("Debug Information:\r\nA.B"), std::string::npos);
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  ReportError(7, "Out of memory", "C.D");  // the collectors are gone
  EXPECT_EQ(backEnd_.reporter.reports.size(), 1u);
}

// At the edges nothing passes: every standard exception is reported, a failure reported
// already is not reported again, and Trap keeps letting what it does not know go on up.
TEST_F(ErrorReportTest, TheEdgeReportsEveryStandardExceptionOnce) {
  EXPECT_FALSE(TrapEverything("Edge", [] { throw std::runtime_error("lost state"); }));
  EXPECT_FALSE(TrapEverything("Edge", [] { throw std::bad_alloc(); }));
  EXPECT_FALSE(TrapEverything("Edge", [] { TrapAndPropagate("Inner", [] { Raise(ErrorCode::Overflow); }); }));
  EXPECT_TRUE(TrapEverything("Edge", [] {}));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 3u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("Error Number: 51\r\nInternal error: lost state\r\n\r\n"
                                               "Debug Information:\r\nEdge"),
            std::string::npos);
  EXPECT_NE(backEnd_.reporter.reports[1].find("Error Number: 7\r\nOut of memory"), std::string::npos);
  EXPECT_NE(backEnd_.reporter.reports[2].find("Inner"), std::string::npos);
  EXPECT_THROW(Trap("L", [] { throw std::runtime_error("x"); }), std::runtime_error);
}

}  // namespace
}  // namespace brixel
