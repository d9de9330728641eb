// The stand-in host itself: the bookkeeping every kernel test relies on.
#include "support.h"

using support::Arrays;
using support::call;

TEST(StandinHost, ReportsAndFreesAnArrayLeftBehind) {
    Arrays a;
    std::size_t before = standinLiveArrays();
    {
        auto res = call("probe", 1, {a.scalar(1)});
        ASSERT_TRUE(res.ok);
        ASSERT_EQ(res.leaks.size(), 1u);
        EXPECT_NE(res.leaks[0].find("2-by-3 double"), std::string::npos) << res.leaks[0];
    }
    EXPECT_EQ(standinLiveArrays(), before + 1);
}

TEST(StandinHost, ErrorFreesPartlyFilledOutputAndScratch) {
    Arrays a;
    std::size_t before = standinLiveArrays();
    auto res = call("probe", 1, {a.scalar(2)});
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.error, "probe failed on purpose");
    EXPECT_TRUE(res.outputs.empty());
    EXPECT_EQ(res.reclaimed, 3u);  // the cell, the block it holds, the scratch array
    EXPECT_EQ(standinLiveArrays(), before + 1);
}

TEST(StandinHost, ErrorEndsTheCallTheWayTheHostIsSetTo) {
    // A jump leaves the plug-in's frames as they are and the host frees the
    // scratch array; an exception unwinds them, and the probe's destructor
    // frees it first. Either way nothing is left alive.
    Arrays a;
    std::size_t before = standinLiveArrays();
    auto res = call("probe", 0, {a.scalar(6)});
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.error, "probe failed on purpose");
    EXPECT_EQ(res.reclaimed, standinErrorsThrow() ? 0u : 1u);
    EXPECT_EQ(standinLiveArrays(), before + 1);
}

TEST(StandinHost, ReturnedCellOwnsItsElements) {
    Arrays a;
    std::size_t before = standinLiveArrays();
    {
        auto res = call("probe", 1, {a.scalar(3)});
        ASSERT_TRUE(res.ok);
        EXPECT_TRUE(res.leaks.empty());
        EXPECT_EQ(standinLiveArrays(), before + 1 + 3);
    }
    EXPECT_EQ(standinLiveArrays(), before + 1);
}

TEST(StandinHost, EmptyArraysHaveNoData) {
    // As in the host: an empty array hands out no data pointer, so a kernel
    // that reads or copies from it is caught.
    Arrays a;
    EXPECT_EQ(mxGetPr(a.doubles(0, 3)), nullptr);
    EXPECT_EQ(mxGetNzmax(a.sparse(3, 2, {0, 0, 0}, {}, {})), 1u);
}

TEST(StandinHost, AbsurdAllocationEndsTheCallOutOfMemory) {
    // The host refuses a request it cannot grant with its own error, which
    // ends the call like mexErrMsgTxt; it does not bring the process down.
    Arrays a;
    for (double mode : {4.0, 5.0}) {
        const mxArray *selector = a.scalar(mode);
        std::size_t before = standinLiveArrays();
        auto res = call("probe", 1, {selector});
        EXPECT_FALSE(res.ok);
        EXPECT_EQ(res.error, "Out of memory.");
        EXPECT_EQ(res.reclaimed, 1u);  // the output created before
        EXPECT_EQ(standinLiveArrays(), before);
    }
}
