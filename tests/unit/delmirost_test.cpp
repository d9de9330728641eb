// delmirost through the stand-in host: messages and their order, the walk
// over the triplets, numbers against a plain reference, and the host's
// bookkeeping of every array on success and on failure.
#include <cmath>
#include <random>

#include "reference.h"
#include "support.h"

using support::Arrays;
using support::call;

namespace {

const char *kCount = "Invalid number of input/output parameter. Need 6 inputs and 1 output.";
const char *kLength = "I, J and Chat must be vectors of the same length.";
const char *kNotPD = "dpotrf (in delmirost): a leading minor is not positive definite.";

struct Problem {
    std::size_t m, r;
    std::vector<double> W;  // column-major m-by-r
    double lambda;
    std::uint32_t blocks;
    std::vector<double> chat;
    std::vector<std::uint32_t> I, J;
};

support::Result run(Arrays &a, const Problem &p) {
    std::size_t len = p.I.size();
    return call("delmirost", 1,
                {a.doubles(len, 1, p.chat), a.doubles(p.m, p.r, p.W), a.scalar(p.lambda),
                 a.uint32s(1, len, p.I), a.uint32s(len, 1, p.J), a.uint32s(1, 1, {p.blocks})});
}

// The factor of a block made of the listed triplets (0-based positions).
std::vector<double> expected(const Problem &p, const std::vector<std::size_t> &used) {
    std::vector<std::size_t> rows;
    std::vector<double> scales;
    for (std::size_t k : used) {
        rows.push_back(p.I[k] - 1);
        scales.push_back(std::sqrt(p.chat[k]));
    }
    return reference::gramFactor(p.W, p.m, p.r, rows, scales, p.lambda);
}

void expectBlock(const support::Result &res, std::size_t v, const std::vector<double> &want,
                 std::size_t r) {
    ASSERT_TRUE(res.ok) << res.error;
    const mxArray *block = mxGetCell(res.outputs[0], v);
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(mxGetM(block), r);
    ASSERT_EQ(mxGetN(block), r);
    reference::expectUpperFactor(support::values(block), want, r);
}

// W 4-by-2 with lambda 0.5 and three blocks; triplets filled per test.
Problem small(std::vector<double> chat, std::vector<std::uint32_t> I,
              std::vector<std::uint32_t> J, std::uint32_t blocks = 3) {
    return Problem{4, 2, {1, 3, -2, 0.5, 2, 4, 1, -1}, 0.5, blocks, chat, I, J};
}

}  // namespace

TEST(Delmirost, CountMessageComesFirst) {
    Arrays a;
    mxArray *x = a.scalar(1);
    // Wrong counts win over everything else that is wrong.
    EXPECT_EQ(call("delmirost", 0, {x, x, x, x, x, x}).error, kCount);
    EXPECT_EQ(call("delmirost", 2, {x, x, x, x, x, x}).error, kCount);
    EXPECT_EQ(call("delmirost", 1, {x, x, x, x, x}).error, kCount);
    EXPECT_EQ(call("delmirost", 1, {x, x, x, x, x, x, x}).error, kCount);
}

TEST(Delmirost, LengthsCompareLargerDimensions) {
    Arrays a;
    mxArray *W = a.doubles(4, 2, {1, 3, -2, 0.5, 2, 4, 1, -1});
    mxArray *blocks = a.uint32s(1, 1, {1});
    mxArray *I5 = a.uint32s(1, 5, {1, 2, 3, 4, 1});
    mxArray *J5 = a.uint32s(5, 1, {1, 1, 1, 1, 2});
    mxArray *C5 = a.doubles(1, 5, {1, 1, 1, 1, 1});
    // Rows and columns may be mixed: 1-by-5, 5-by-1 and 1-by-5 all have length 5.
    auto ok = call("delmirost", 1, {C5, W, a.scalar(1), I5, J5, blocks});
    EXPECT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(call("delmirost", 1, {C5, W, a.scalar(1), I5, a.uint32s(1, 4, {1, 1, 1, 1}), blocks})
                  .error,
              kLength);
    EXPECT_EQ(call("delmirost", 1, {a.doubles(4, 1, {1, 1, 1, 1}), W, a.scalar(1), I5, J5, blocks})
                  .error,
              kLength);
    // The length check comes before the checks of classes.
    EXPECT_EQ(call("delmirost", 1, {a.scalar(1), W, a.scalar(1), a.doubles(1, 2), J5, W}).error,
              kLength);
}

TEST(Delmirost, ZeroBlocksGiveAnEmptyColumnCell) {
    Arrays a;
    auto res = run(a, small({1, 1}, {1, 9}, {0, 7}, 0));
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_TRUE(mxIsCell(res.outputs[0]));
    EXPECT_EQ(mxGetM(res.outputs[0]), 0u);
    EXPECT_EQ(mxGetN(res.outputs[0]), 1u);
}

TEST(Delmirost, NoTripletsGiveTheRegularizerAlone) {
    Arrays a;
    mxArray *none = a.uint32s(0, 0);
    auto res = call("delmirost", 1,
                    {a.doubles(0, 0), a.doubles(5, 2), a.scalar(4), none, none, a.uint32s(1, 1, {3})});
    ASSERT_TRUE(res.ok) << res.error;
    ASSERT_EQ(mxGetM(res.outputs[0]), 3u);
    for (std::size_t v = 0; v < 3; ++v) expectBlock(res, v, {2, 0, 0, 2}, 2);

    auto fails = call("delmirost", 1,
                      {a.doubles(0, 0), a.doubles(5, 2), a.scalar(0), none, none, a.uint32s(1, 1, {3})});
    EXPECT_EQ(fails.error, kNotPD);
}

TEST(Delmirost, WalkUsesEachRunInItsBlock) {
    Arrays a;
    std::vector<double> id = {std::sqrt(0.5), 0, 0, std::sqrt(0.5)};
    {  // J = (1, 1, 3): block 2 is empty, block 3 takes the third triplet.
        Problem p = small({1, 2, 3}, {1, 2, 4}, {1, 1, 3});
        auto res = run(a, p);
        expectBlock(res, 0, expected(p, {0, 1}), 2);
        expectBlock(res, 1, id, 2);
        expectBlock(res, 2, expected(p, {2}), 2);
    }
    {  // J = (2, 1): the first triplet waits for block 2; the second is never used.
        Problem p = small({1, 2}, {1, 2}, {2, 1}, 2);
        auto res = run(a, p);
        expectBlock(res, 0, id, 2);
        expectBlock(res, 1, expected(p, {0}), 2);
    }
    {  // J = (1, 0, 1): a smaller block number ends the walk for good.
        Problem p = small({1, 2, 3}, {1, 2, 3}, {1, 0, 1}, 2);
        auto res = run(a, p);
        expectBlock(res, 0, expected(p, {0}), 2);
        expectBlock(res, 1, id, 2);
    }
    {  // J = (1, 5) with two blocks: the second triplet lies beyond the last block.
        Problem p = small({1, 2}, {1, 2}, {1, 5}, 2);
        auto res = run(a, p);
        expectBlock(res, 0, expected(p, {0}), 2);
        expectBlock(res, 1, id, 2);
    }
}

TEST(Delmirost, SingleTripletGivesRootOfWeightedSquare) {
    Arrays a;
    auto res = call("delmirost", 1,
                    {a.scalar(4), a.doubles(3, 1, {0, 3, 0}), a.scalar(1), a.uint32s(1, 1, {2}),
                     a.uint32s(1, 1, {1}), a.uint32s(1, 1, {1})});
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_DOUBLE_EQ(mxGetPr(mxGetCell(res.outputs[0], 0))[0], std::sqrt(37.0));
}

TEST(Delmirost, RandomBlocksMatchReferenceDespiteStaleBufferRows) {
    // Large blocks followed by small ones: rows a small block does not write
    // still hold the previous block's data and must not reach its factor.
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-1, 1);
    Problem p{9, 4, {}, 0.25, 6, {}, {}, {}};
    for (std::size_t x = 0; x < p.m * p.r; ++x) p.W.push_back(u(gen));
    std::vector<std::size_t> sizes = {9, 2, 0, 7, 1, 3};  // block 1 uses every row of W
    std::vector<std::vector<std::size_t>> used(sizes.size());
    for (std::size_t b = 0; b < sizes.size(); ++b)
        for (std::size_t e = 0; e < sizes[b]; ++e) {
            used[b].push_back(p.I.size());
            p.I.push_back(static_cast<std::uint32_t>(1 + (e * 5 + b) % p.m));
            p.J.push_back(static_cast<std::uint32_t>(b + 1));
            p.chat.push_back(0.5 + std::fabs(u(gen)));
        }
    p.I[used[3][1]] = p.I[used[3][0]];  // a repeated row counts twice
    Arrays a;
    auto res = run(a, p);
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_TRUE(res.leaks.empty());
    for (std::size_t b = 0; b < sizes.size(); ++b) expectBlock(res, b, expected(p, used[b]), p.r);
}

TEST(Delmirost, SuccessLeavesOnlyTheOutputAlive) {
    Arrays a;
    Problem p = small({1, 2, 3}, {1, 2, 4}, {1, 1, 3});
    std::size_t before = standinLiveArrays();
    {
        auto res = run(a, p);
        ASSERT_TRUE(res.ok);
        EXPECT_TRUE(res.leaks.empty()) << res.leaks.front();
        // The cell and its three blocks, plus the six inputs made for the call.
        EXPECT_EQ(standinLiveArrays(), before + 6 + 4);
    }
    EXPECT_EQ(standinLiveArrays(), before + 6);
}

TEST(Delmirost, FailedFactorizationFreesEverythingTheCallMade) {
    // With lambda 0, blocks 1 and 2 hold two independent rows each and
    // factor; block 3 has no triplets and cannot.
    Problem p = small({1, 1, 1, 1}, {1, 2, 3, 4}, {1, 1, 2, 2}, 4);
    p.lambda = 0;
    Arrays a;
    std::size_t before = standinLiveArrays();
    auto res = run(a, p);
    EXPECT_EQ(res.error, kNotPD);
    EXPECT_TRUE(res.outputs.empty());
    // The cell, the gather buffer and blocks 1 to 3 are reclaimed by the host.
    EXPECT_EQ(res.reclaimed, 5u);
    EXPECT_EQ(standinLiveArrays(), before + 6);
}

TEST(Delmirost, RefusesInputsItCannotReadSafely) {
    Arrays a;
    mxArray *W = a.doubles(4, 2, {1, 3, -2, 0.5, 2, 4, 1, -1});
    mxArray *l = a.scalar(1);
    mxArray *C = a.doubles(1, 2, {1, 1});
    mxArray *I = a.uint32s(1, 2, {1, 2});
    mxArray *J = a.uint32s(1, 2, {1, 1});
    mxArray *nb = a.uint32s(1, 1, {1});
    auto message = [&](std::vector<const mxArray *> in) { return call("delmirost", 1, in).error; };
    const std::string dense = "Chat and W must be full real double arrays.";
    const std::string uint32 = "I, J and nBlocks must be of class uint32.";

    EXPECT_EQ(message({a.numeric(1, 2, mxSINGLE_CLASS), W, l, I, J, nb}), dense);
    EXPECT_EQ(message({C, a.sparse(4, 2, {0, 0, 0}, {}, {}), l, I, J, nb}), dense);
    EXPECT_EQ(message({C, a.numeric(4, 2, mxDOUBLE_CLASS, mxCOMPLEX), l, I, J, nb}), dense);
    EXPECT_EQ(message({C, a.numeric(4, 2, mxUINT32_CLASS), l, I, J, nb}), dense);
    EXPECT_EQ(message({C, W, l, a.doubles(1, 2, {1, 2}), J, nb}), uint32);
    EXPECT_EQ(message({C, W, l, I, a.numeric(1, 2, mxINT32_CLASS), nb}), uint32);
    EXPECT_EQ(message({C, W, l, I, J, a.scalar(1)}), uint32);
    EXPECT_EQ(message({C, W, l, I, J, a.uint32s(0, 1)}), "nBlocks must not be empty.");
    // A 0-by-2 array has length 2 but holds nothing.
    EXPECT_EQ(message({C, W, l, a.uint32s(0, 2), J, nb}),
              "I, J and Chat must hold as many elements as their length.");
    EXPECT_EQ(message({a.doubles(2, 0), W, l, I, J, nb}),
              "I, J and Chat must hold as many elements as their length.");

    const std::string rows = "Row numbers in I must lie between 1 and the number of rows of W.";
    {  // Refused during the walk: the buffer, the cell and its first block are reclaimed.
        mxArray *I0 = a.uint32s(1, 2, {1, 0});
        std::size_t before = standinLiveArrays();
        auto res = call("delmirost", 1, {C, W, l, I0, J, nb});
        EXPECT_EQ(res.error, rows);
        EXPECT_EQ(res.reclaimed, 3u);
        EXPECT_EQ(standinLiveArrays(), before);
    }
    EXPECT_EQ(message({C, W, l, a.uint32s(1, 2, {5, 1}), J, nb}), rows);
    // Rows of triplets the walk never reaches are not read, so not refused.
    EXPECT_TRUE(call("delmirost", 1, {C, W, l, a.uint32s(1, 2, {1, 99}), a.uint32s(1, 2, {1, 3}), nb})
                    .ok);

    std::vector<std::uint32_t> five(5, 1);
    EXPECT_EQ(message({a.doubles(1, 5, {1, 1, 1, 1, 1}), W, l, a.uint32s(1, 5, {1, 2, 3, 4, 1}),
                       a.uint32s(1, 5, five), nb}),
              "A block may hold at most as many triplets as W has rows.");
}

TEST(Delmirost, WithoutColumnsInWEveryFactorIsEmpty) {
    Arrays a;
    auto res = call("delmirost", 1,
                    {a.doubles(1, 2, {1, 1}), a.doubles(4, 0), a.scalar(0), a.uint32s(1, 2, {1, 2}),
                     a.uint32s(1, 2, {1, 2}), a.uint32s(1, 1, {3})});
    ASSERT_TRUE(res.ok) << res.error;
    for (std::size_t v = 0; v < 3; ++v) {
        const mxArray *block = mxGetCell(res.outputs[0], v);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(mxGetM(block), 0u);
        EXPECT_EQ(mxGetN(block), 0u);
    }
}
