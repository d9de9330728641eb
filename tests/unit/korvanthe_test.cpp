// korvanthe through the stand-in host: messages and their order, the walk
// over the columns of Ct, numbers against a plain reference (and the worked
// worked example to 12 significant digits), the refusals of inputs
// outside the data model, and the host's bookkeeping of every array.
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "reference.h"
#include "support.h"

using support::Arrays;
using support::call;

namespace {

const char *kCount = "Invalid number of input/output parameter. Need 3 inputs and 1 output.";
const char *kDims = "Dimensions mismatch in input arguments.";
const char *kSparse = "Ct ought to be a sparse matrix.";
const char *kNotPD = "dpotrf (in korvanthe): a leading minor is not positive definite.";
const char *kCtValues = "Ct must be a sparse matrix of real doubles.";
const char *kW = "W must be a full real double matrix.";
const char *kLambda = "lambda must be a real numeric scalar.";

// A sparse matrix given column by column as (row, value) entries.
struct Columns {
    std::size_t m;
    std::vector<std::vector<std::pair<std::size_t, double>>> cols;
};

mxArray *sparseOf(Arrays &a, const Columns &c) {
    std::vector<mwIndex> jc{0}, ir;
    std::vector<double> pr;
    for (const auto &col : c.cols) {
        for (const auto &e : col) {
            ir.push_back(e.first);
            pr.push_back(e.second);
        }
        jc.push_back(ir.size());
    }
    return a.sparse(c.m, c.cols.size(), jc, ir, pr);
}

// The factor of one column: the stored value is the scale.
std::vector<double> expected(const std::vector<double> &W, std::size_t m, std::size_t r,
                             const std::vector<std::pair<std::size_t, double>> &col,
                             double lambda) {
    std::vector<std::size_t> rows;
    std::vector<double> scales;
    for (const auto &e : col) {
        rows.push_back(e.first);
        scales.push_back(e.second);
    }
    return reference::gramFactor(W, m, r, rows, scales, lambda);
}

void expectBlock(const support::Result &res, std::size_t l, const std::vector<double> &want,
                 std::size_t r) {
    ASSERT_TRUE(res.ok) << res.error;
    const mxArray *block = mxGetCell(res.outputs[0], l);
    ASSERT_NE(block, nullptr);
    ASSERT_TRUE(mxIsDouble(block));
    ASSERT_FALSE(mxIsComplex(block));
    ASSERT_EQ(mxGetM(block), r);
    ASSERT_EQ(mxGetN(block), r);
    reference::expectUpperFactor(support::values(block), want, r);
}

// Equal to the worked example's value, once rounded to 12 significant digits.
void expect12Digits(double got, const char *printed) {
    char text[64];
    std::snprintf(text, sizeof text, "%.12g", got);
    EXPECT_EQ(std::stod(text), std::stod(printed)) << "got " << text << ", want " << printed;
}

// W 4-by-2, used where the numbers do not matter.
const std::vector<double> kW42 = {1, 3, -2, 0.5, 2, 4, 1, -1};

}  // namespace

TEST(Korvanthe, CountMessageComesFirst) {
    Arrays a;
    mxArray *x = a.scalar(1);
    // Wrong counts win over everything else that is wrong.
    EXPECT_EQ(call("korvanthe", 0, {x, x, x}).error, kCount);
    EXPECT_EQ(call("korvanthe", 2, {x, x, x}).error, kCount);
    EXPECT_EQ(call("korvanthe", 1, {x, x}).error, kCount);
    EXPECT_EQ(call("korvanthe", 1, {x, x, x, x}).error, kCount);
}

TEST(Korvanthe, DimensionsAreTestedBeforeSparsity) {
    Arrays a;
    mxArray *W = a.doubles(4, 2, kW42);
    mxArray *l = a.scalar(1);
    // A full Ct with the wrong row count gets the dimension message...
    EXPECT_EQ(call("korvanthe", 1, {a.doubles(3, 5), W, l}).error, kDims);
    // ...and with the right row count the sparsity message.
    EXPECT_EQ(call("korvanthe", 1, {a.doubles(4, 5), W, l}).error, kSparse);
    // A sparse Ct whose row count differs, whatever n and r are.
    EXPECT_EQ(call("korvanthe", 1, {a.sparse(5, 2, {0, 0, 0}, {}, {}), W, l}).error, kDims);
    EXPECT_EQ(call("korvanthe", 1, {a.sparse(3, 0, {0}, {}, {}), a.doubles(4, 0), l}).error, kDims);
    // Only row counts are compared: n and r are free.
    EXPECT_TRUE(call("korvanthe", 1, {a.sparse(4, 3, {0, 0, 0, 0}, {}, {}), W, l}).ok);
}

TEST(Korvanthe, WorkedExampleToTwelveDigits) {
    Arrays a;
    // W rows (1,2), (3,4), (5,6); column 0 stores (0, 2.0), (2, -1.0); column 1 nothing.
    auto res = call("korvanthe", 1,
                    {a.sparse(3, 2, {0, 2, 2}, {0, 2}, {2.0, -1.0}),
                     a.doubles(3, 2, {1, 3, 5, 2, 4, 6}), a.scalar(0.5)});
    ASSERT_TRUE(res.ok) << res.error;
    const mxArray *out = res.outputs[0];
    ASSERT_TRUE(mxIsCell(out));
    ASSERT_EQ(mxGetM(out), 2u);
    ASSERT_EQ(mxGetN(out), 1u);
    std::vector<double> c0 = support::values(mxGetCell(out, 0));
    ASSERT_EQ(c0.size(), 4u);
    expect12Digits(c0[0], "5.43139024560");
    expect12Digits(c0[2], "6.99636709603");
    expect12Digits(c0[3], "1.88436924663");
    EXPECT_EQ(c0[1], 0.0);
    EXPECT_FALSE(std::signbit(c0[1]));
    std::vector<double> c1 = support::values(mxGetCell(out, 1));
    ASSERT_EQ(c1.size(), 4u);
    expect12Digits(c1[0], "0.707106781187");
    expect12Digits(c1[3], "0.707106781187");
    EXPECT_EQ(c1[1], 0.0);
    EXPECT_EQ(c1[2], 0.0);
}

TEST(Korvanthe, EmptyColumnsGiveTheRegularizerAlone) {
    Arrays a;
    mxArray *W = a.doubles(4, 2, kW42);
    mxArray *Ct = a.sparse(4, 3, {0, 0, 1, 1}, {2}, {1.5});
    auto res = call("korvanthe", 1, {Ct, W, a.scalar(4)});
    ASSERT_TRUE(res.ok) << res.error;
    expectBlock(res, 0, {2, 0, 0, 2}, 2);
    expectBlock(res, 1, expected(kW42, 4, 2, {{2, 1.5}}, 4), 2);
    expectBlock(res, 2, {2, 0, 0, 2}, 2);

    // With lambda <= 0 an empty column cannot be factored; the first one
    // decides, and nothing reaches the caller.
    EXPECT_EQ(call("korvanthe", 1, {Ct, W, a.scalar(0)}).error, kNotPD);
    EXPECT_EQ(call("korvanthe", 1, {Ct, W, a.scalar(-1)}).error, kNotPD);
}

TEST(Korvanthe, WithoutColumnsInCtTheCellIsEmpty) {
    Arrays a;
    std::size_t before = standinLiveArrays();
    {
        // lambda 0 would fail any factorization: none is made.
        auto res = call("korvanthe", 1, {a.sparse(4, 0, {0}, {}, {}), a.doubles(4, 2, kW42),
                                         a.scalar(0)});
        ASSERT_TRUE(res.ok) << res.error;
        EXPECT_TRUE(res.leaks.empty());  // the gather buffer was destroyed
        EXPECT_TRUE(mxIsCell(res.outputs[0]));
        EXPECT_EQ(mxGetM(res.outputs[0]), 0u);
        EXPECT_EQ(mxGetN(res.outputs[0]), 1u);
    }
    EXPECT_EQ(standinLiveArrays(), before + 3);
}

TEST(Korvanthe, WithoutRowsEveryColumnIsEmpty) {
    Arrays a;
    auto res = call("korvanthe", 1, {a.sparse(0, 3, {0, 0, 0, 0}, {}, {}), a.doubles(0, 3),
                                     a.scalar(9)});
    ASSERT_TRUE(res.ok) << res.error;
    ASSERT_EQ(mxGetM(res.outputs[0]), 3u);
    for (std::size_t l = 0; l < 3; ++l) expectBlock(res, l, {3, 0, 0, 0, 3, 0, 0, 0, 3}, 3);
}

TEST(Korvanthe, OrderOneGivesRootOfWeightedSquares) {
    Arrays a;
    // W 3-by-1 = (2, -1, 5); column 0 stores (0, 3), (2, 0.5); column 1 stores (1, -4).
    auto res = call("korvanthe", 1,
                    {a.sparse(3, 2, {0, 2, 3}, {0, 2, 1}, {3, 0.5, -4}), a.doubles(3, 1, {2, -1, 5}),
                     a.scalar(1)});
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_DOUBLE_EQ(mxGetPr(mxGetCell(res.outputs[0], 0))[0], std::sqrt(1 + 36 + 6.25));
    EXPECT_DOUBLE_EQ(mxGetPr(mxGetCell(res.outputs[0], 1))[0], std::sqrt(1 + 16.0));
}

TEST(Korvanthe, ValuesEnterSquaredAndZerosContributeNothing) {
    Arrays a;
    mxArray *W = a.doubles(4, 2, kW42);
    mxArray *l = a.scalar(0.5);
    auto neg = call("korvanthe", 1, {a.sparse(4, 1, {0, 3}, {0, 1, 3}, {-2, 0.5, -3}), W, l});
    auto pos = call("korvanthe", 1, {a.sparse(4, 1, {0, 3}, {0, 1, 3}, {2, 0.5, 3}), W, l});
    ASSERT_TRUE(neg.ok && pos.ok);
    EXPECT_EQ(support::values(mxGetCell(neg.outputs[0], 0)),
              support::values(mxGetCell(pos.outputs[0], 0)));
    expectBlock(pos, 0, expected(kW42, 4, 2, {{0, 2}, {1, 0.5}, {3, 3}}, 0.5), 2);

    // A stored 0 leaves the block as if the entry were absent.
    auto zero = call("korvanthe", 1, {a.sparse(4, 1, {0, 2}, {0, 2}, {2, 0}), W, l});
    expectBlock(zero, 0, expected(kW42, 4, 2, {{0, 2}}, 0.5), 2);
}

TEST(Korvanthe, ColumnsDoNotDependOnTheColumnsBeforeThem) {
    // Long columns followed by short ones: rows of the gather buffer that a
    // short column does not write still hold the previous column's data and
    // must not reach its factor.
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> u(-1, 1);
    const std::size_t m = 9, r = 4;
    std::vector<double> W;
    for (std::size_t x = 0; x < m * r; ++x) W.push_back(u(gen));
    Columns c{m, {}};
    for (std::size_t p : {9, 2, 0, 7, 1, 3, 9}) {
        std::vector<std::pair<std::size_t, double>> col;
        for (std::size_t e = 0; e < p; ++e) col.emplace_back((e * 4 + p) % m, u(gen));
        c.cols.push_back(col);
    }
    Arrays a;
    mxArray *aW = a.doubles(m, r, W);
    mxArray *l = a.scalar(0.25);
    auto res = call("korvanthe", 1, {sparseOf(a, c), aW, l});
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_TRUE(res.leaks.empty());
    for (std::size_t k = 0; k < c.cols.size(); ++k) {
        expectBlock(res, k, expected(W, m, r, c.cols[k], 0.25), r);
        // The same column alone gives the same bits.
        auto alone = call("korvanthe", 1, {sparseOf(a, Columns{m, {c.cols[k]}}), aW, l});
        ASSERT_TRUE(alone.ok);
        EXPECT_EQ(support::values(mxGetCell(res.outputs[0], k)),
                  support::values(mxGetCell(alone.outputs[0], 0)))
            << "column " << k;
    }
}

TEST(Korvanthe, StoredOrderIsKeptAsTheHostGivesIt) {
    // Rows within a column need not ascend; the pairs are taken as stored.
    Arrays a;
    auto res = call("korvanthe", 1,
                    {a.sparse(4, 1, {0, 3}, {3, 0, 2}, {1, -2, 0.5}), a.doubles(4, 2, kW42),
                     a.scalar(0.1)});
    expectBlock(res, 0, expected(kW42, 4, 2, {{3, 1}, {0, -2}, {2, 0.5}}, 0.1), 2);
}

TEST(Korvanthe, WithoutColumnsInWEveryFactorIsEmpty) {
    // As for delmirost: order 0 needs no BLAS/LAPACK call and cannot fail,
    // whatever lambda is.
    Arrays a;
    for (double lambda : {0.0, -1.0, 2.0}) {
        auto res = call("korvanthe", 1, {a.sparse(4, 3, {0, 2, 2, 3}, {0, 3, 1}, {1, 2, 3}),
                                         a.doubles(4, 0), a.scalar(lambda)});
        ASSERT_TRUE(res.ok) << res.error;
        EXPECT_TRUE(res.leaks.empty());
        ASSERT_EQ(mxGetM(res.outputs[0]), 3u);
        for (std::size_t l = 0; l < 3; ++l) {
            const mxArray *block = mxGetCell(res.outputs[0], l);
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(mxGetM(block), 0u);
            EXPECT_EQ(mxGetN(block), 0u);
        }
    }
    // No columns in either: the empty 0-by-1 cell.
    auto none = call("korvanthe", 1, {a.sparse(4, 0, {0}, {}, {}), a.doubles(4, 0), a.scalar(0)});
    ASSERT_TRUE(none.ok) << none.error;
    EXPECT_EQ(mxGetM(none.outputs[0]), 0u);
}

TEST(Korvanthe, RandomColumnsMatchReference) {
    // Orders below, at and above the gather's unrolling by four.
    for (std::size_t r : {2, 3, 4, 5, 6, 9}) {
        std::mt19937 gen(3 + r);
        std::uniform_real_distribution<double> u(-2, 2);
        const std::size_t m = 40, n = 25;
        std::vector<double> W;
        for (std::size_t x = 0; x < m * r; ++x) W.push_back(u(gen));
        Columns c{m, std::vector<std::vector<std::pair<std::size_t, double>>>(n)};
        std::bernoulli_distribution keep(0.3);
        for (std::size_t l = 0; l < n; ++l)
            for (std::size_t i = 0; i < m; ++i)
                if (keep(gen)) c.cols[l].emplace_back(i, u(gen));
        Arrays a;
        auto res = call("korvanthe", 1, {sparseOf(a, c), a.doubles(m, r, W), a.scalar(0.3)});
        ASSERT_TRUE(res.ok) << res.error;
        for (std::size_t l = 0; l < n; ++l)
            expectBlock(res, l, expected(W, m, r, c.cols[l], 0.3), r);
    }
}

TEST(Korvanthe, SuccessLeavesOnlyTheOutputAlive) {
    Arrays a;
    mxArray *Ct = a.sparse(4, 3, {0, 2, 2, 3}, {0, 3, 1}, {1, 2, 3});
    mxArray *W = a.doubles(4, 2, kW42);
    mxArray *l = a.scalar(1);
    std::size_t before = standinLiveArrays();
    {
        auto res = call("korvanthe", 1, {Ct, W, l});
        ASSERT_TRUE(res.ok);
        EXPECT_TRUE(res.leaks.empty()) << res.leaks.front();
        EXPECT_EQ(standinLiveArrays(), before + 1 + 3);  // the cell and its blocks
    }
    EXPECT_EQ(standinLiveArrays(), before);
}

TEST(Korvanthe, FailedFactorizationFreesEverythingTheCallMade) {
    // lambda 0: columns 0 and 1 hold two independent rows each and factor;
    // column 2 is empty and cannot; column 3 is never built.
    Arrays a;
    mxArray *Ct = a.sparse(4, 4, {0, 2, 4, 4, 6}, {0, 1, 2, 3, 0, 1}, {1, 1, 1, 1, 1, 1});
    mxArray *W = a.doubles(4, 2, kW42);
    mxArray *l = a.scalar(0);
    std::size_t before = standinLiveArrays();
    auto res = call("korvanthe", 1, {Ct, W, l});
    EXPECT_EQ(res.error, kNotPD);
    EXPECT_TRUE(res.outputs.empty());
    // The cell, the gather buffer and the blocks of columns 0 to 2.
    EXPECT_EQ(res.reclaimed, 5u);
    EXPECT_EQ(standinLiveArrays(), before);
}

TEST(Korvanthe, RefusesInputsOutsideTheDataModel) {
    Arrays a;
    mxArray *Ct = a.sparse(4, 2, {0, 1, 2}, {0, 3}, {1, 2});
    mxArray *W = a.doubles(4, 2, kW42);
    mxArray *l = a.scalar(1);
    auto message = [&](std::vector<const mxArray *> in) { return call("korvanthe", 1, in).error; };

    // Stored values that are not real doubles: a sparse logical Ct passes
    // the sparsity test.
    mxArray *logicalCt = a.keep(mxCreateSparseLogicalMatrix(4, 2, 2));
    EXPECT_EQ(message({logicalCt, W, l}), kCtValues);
    EXPECT_EQ(message({a.keep(mxCreateSparse(4, 2, 2, mxCOMPLEX)), W, l}), kCtValues);

    // W that is not a full real double matrix.
    EXPECT_EQ(message({Ct, a.numeric(4, 2, mxSINGLE_CLASS), l}), kW);
    EXPECT_EQ(message({Ct, a.sparse(4, 2, {0, 0, 0}, {}, {}), l}), kW);
    EXPECT_EQ(message({Ct, a.numeric(4, 2, mxDOUBLE_CLASS, mxCOMPLEX), l}), kW);
    EXPECT_EQ(message({Ct, a.numeric(4, 2, mxUINT32_CLASS), l}), kW);
    EXPECT_EQ(message({Ct, a.keep(mxCreateLogicalMatrix(4, 2)), l}), kW);
    EXPECT_EQ(message({Ct, a.keep(mxCreateStructMatrix(4, 2, 0, nullptr)), l}), kW);
    EXPECT_EQ(message({Ct, a.keep(mxCreateCellMatrix(4, 2)), l}), kW);

    // A third input that is not a real numeric scalar.
    EXPECT_EQ(message({Ct, W, a.doubles(1, 2, {1, 1})}), kLambda);
    EXPECT_EQ(message({Ct, W, a.doubles(0, 0)}), kLambda);
    EXPECT_EQ(message({Ct, W, a.numeric(1, 1, mxDOUBLE_CLASS, mxCOMPLEX)}), kLambda);
    EXPECT_EQ(message({Ct, W, a.keep(mxCreateString("a"))}), kLambda);
    EXPECT_EQ(message({Ct, W, a.keep(mxCreateLogicalMatrix(1, 1))}), kLambda);
    EXPECT_EQ(message({Ct, W, a.keep(mxCreateCellMatrix(1, 1))}), kLambda);
    EXPECT_EQ(message({Ct, W, a.keep(mxCreateStructMatrix(1, 1, 0, nullptr))}), kLambda);
    // Any real numeric class is a scalar lambda.
    mxArray *l32 = a.numeric(1, 1, mxUINT32_CLASS);
    *static_cast<std::uint32_t *>(mxGetData(l32)) = 1;
    mxArray *l1 = a.numeric(1, 1, mxSINGLE_CLASS);
    *static_cast<float *>(mxGetData(l1)) = 1.0f;
    auto want = call("korvanthe", 1, {Ct, W, l});
    for (mxArray *other : {l32, l1}) {
        auto got = call("korvanthe", 1, {Ct, W, other});
        ASSERT_TRUE(got.ok) << got.error;
        for (std::size_t k = 0; k < 2; ++k)
            EXPECT_EQ(support::values(mxGetCell(got.outputs[0], k)),
                      support::values(mxGetCell(want.outputs[0], k)));
    }

    // The fixed checks come first: counts, then dimensions, then sparsity.
    EXPECT_EQ(call("korvanthe", 0, {logicalCt, a.numeric(4, 2, mxSINGLE_CLASS), a.doubles(0, 0)})
                  .error,
              kCount);
    EXPECT_EQ(message({logicalCt, a.numeric(3, 2, mxSINGLE_CLASS), a.doubles(0, 0)}), kDims);
    EXPECT_EQ(message({a.numeric(4, 2, mxSINGLE_CLASS), a.numeric(4, 2, mxSINGLE_CLASS),
                       a.doubles(0, 0)}),
              kSparse);
    // Among ours: the values of Ct, then W, then lambda.
    EXPECT_EQ(message({logicalCt, a.numeric(4, 2, mxSINGLE_CLASS), a.doubles(0, 0)}), kCtValues);
    EXPECT_EQ(message({Ct, a.numeric(4, 2, mxSINGLE_CLASS), a.doubles(0, 0)}), kW);
}

TEST(Korvanthe, RefusalsCreateNothing) {
    Arrays a;
    std::size_t before = standinLiveArrays();
    auto res = call("korvanthe", 1, {a.sparse(4, 2, {0, 1, 2}, {0, 3}, {1, 2}),
                                     a.doubles(4, 2, kW42), a.doubles(1, 2)});
    EXPECT_EQ(res.error, kLambda);
    EXPECT_EQ(res.reclaimed, 0u);
    EXPECT_EQ(standinLiveArrays(), before + 3);
}

TEST(Korvanthe, RefusesSparseArraysTheHostCouldNotHaveMade) {
    // Built by hand, these break the host's invariants; reading them as they
    // are would go past the end of W, the gather buffer or ir.
    Arrays a;
    mxArray *W = a.doubles(3, 2, {1, 3, 5, 2, 4, 6});
    const std::string malformed = "Ct is not a well-formed sparse matrix.";
    auto message = [&](mxArray *Ct) { return call("korvanthe", 1, {Ct, W, a.scalar(1)}).error; };
    EXPECT_EQ(message(a.sparse(3, 1, {0, 2}, {0, 3}, {1, 1})), malformed);            // row 3 of 3
    EXPECT_EQ(message(a.sparse(3, 1, {0, 4}, {0, 1, 2, 0}, {1, 1, 1, 1})), malformed);  // 4 entries
    EXPECT_EQ(message(a.sparse(3, 2, {0, 2, 1}, {0, 1}, {1, 1})), malformed);         // jc descends
    EXPECT_EQ(message(a.sparse(3, 1, {0, 5}, {0, 1}, {1, 1})), malformed);            // past nzmax
    EXPECT_EQ(message(a.sparse(3, 1, {1, 2}, {0, 1}, {1, 1})), malformed);            // jc[0] != 0
    // Past nzmax in a middle column, back within it at the last one.
    EXPECT_EQ(message(a.sparse(3, 3, {0, 3, 1, 1}, {0}, {1})), malformed);
}
