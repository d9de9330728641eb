// ombrelast through the stand-in host: messages and their order, the shape
// of X, the order of summation bit for bit, and the refusals of positions
// and inputs the product cannot read safely.
#include <cmath>
#include <random>

#include "support.h"

using support::Arrays;
using support::call;

namespace {

const char *kCount = "Four input arguments are required.";
const char *kOutput = "A single output argument is required.";
const char *kIndexClass = "I and J must be of class UINT32.";
const char *kValueClass = "A and B must be of class DOUBLE.";
const char *kReal = "A and B must be REAL.";
const char *kInner = "Matrix dimensions mismatch for A and B.";
const char *kPairs = "Matrix dimensions mismatch for I and J.";
const char *kRows = "Row numbers in I must lie between 1 and the number of rows of A.";
const char *kColumns = "Column numbers in J must lie between 1 and the number of columns of B.";
const char *kSparse = "A and B must be full, not sparse.";

// X(k) summed left to right from the first product, each product rounded to
// double on its own (volatile keeps it from being fused into the addition).
double reference(const std::vector<double> &A, const std::vector<double> &B, std::size_t m,
                 std::size_t r, std::uint32_t i, std::uint32_t j) {
    volatile double product = A[i - 1] * B[(j - 1) * r];
    double s = product;
    for (std::size_t t = 1; t < r; ++t) {
        product = A[i - 1 + t * m] * B[t + (j - 1) * r];
        s = s + product;
    }
    return s;
}

// The same sum with every addition fused to the product before it.
double fused(const std::vector<double> &A, const std::vector<double> &B, std::size_t m,
             std::size_t r, std::uint32_t i, std::uint32_t j) {
    double s = A[i - 1] * B[(j - 1) * r];
    for (std::size_t t = 1; t < r; ++t) s = std::fma(A[i - 1 + t * m], B[t + (j - 1) * r], s);
    return s;
}

bool sameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

}  // namespace

TEST(Ombrelast, CountsAreCheckedFirst) {
    Arrays a;
    mxArray *x = a.scalar(1);  // wrong class for I and J too
    EXPECT_EQ(call("ombrelast", 2, {x, x, x}).error, kCount);
    EXPECT_EQ(call("ombrelast", 1, {x, x, x, x, x}).error, kCount);
    EXPECT_EQ(call("ombrelast", 0, {x, x, x, x}).error, kOutput);
    EXPECT_EQ(call("ombrelast", 2, {x, x, x, x}).error, kOutput);
}

TEST(Ombrelast, ClassesThenRealnessThenShapes) {
    Arrays a;
    mxArray *A = a.doubles(5, 3), *B = a.doubles(3, 2);
    mxArray *I = a.uint32s(1, 2, {1, 1}), *J = a.uint32s(1, 2, {1, 1});
    mxArray *single = a.numeric(5, 3, mxSINGLE_CLASS);
    mxArray *complex = a.numeric(3, 2, mxDOUBLE_CLASS, mxCOMPLEX);
    auto message = [](std::vector<const mxArray *> in) { return call("ombrelast", 1, in).error; };

    // The index classes come before the value classes.
    EXPECT_EQ(message({single, B, a.doubles(1, 2), J}), kIndexClass);
    EXPECT_EQ(message({A, B, I, a.numeric(1, 2, mxINT32_CLASS)}), kIndexClass);
    EXPECT_EQ(message({single, complex, I, J}), kValueClass);
    EXPECT_EQ(message({A, a.numeric(3, 2, mxUINT32_CLASS), I, J}), kValueClass);
    // Realness before any shape.
    EXPECT_EQ(message({a.numeric(5, 3, mxDOUBLE_CLASS, mxCOMPLEX), a.doubles(4, 2), I, J}), kReal);
    EXPECT_EQ(message({A, complex, I, a.uint32s(2, 1)}), kReal);
    // A and B before I and J; shapes, not element counts.
    EXPECT_EQ(message({A, a.doubles(4, 2), I, a.uint32s(3, 1)}), kInner);
    EXPECT_EQ(message({A, B, a.uint32s(1, 5), a.uint32s(5, 1)}), kPairs);
    EXPECT_EQ(message({A, B, a.uint32s(2, 3), a.uint32s(3, 2)}), kPairs);
}

TEST(Ombrelast, XTakesTheShapeOfIAndEachPairsValue) {
    Arrays a;
    // A(i, :) = [i, 10 i], B(:, j) = [j; 100 j]: A*B (i, j) = 1001 i j.
    mxArray *A = a.doubles(3, 2, {1, 2, 3, 10, 20, 30});
    mxArray *B = a.doubles(2, 4, {1, 100, 2, 200, 3, 300, 4, 400});
    std::vector<std::uint32_t> I = {1, 3, 2, 2, 3, 1}, J = {4, 1, 3, 3, 2, 2};
    auto res = call("ombrelast", 1, {A, B, a.uint32s(2, 3, I), a.uint32s(2, 3, J)});
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_TRUE(res.leaks.empty());
    EXPECT_EQ(mxGetM(res.outputs[0]), 2u);
    EXPECT_EQ(mxGetN(res.outputs[0]), 3u);
    std::vector<double> want;
    for (std::size_t k = 0; k < I.size(); ++k) want.push_back(1001.0 * I[k] * J[k]);
    EXPECT_EQ(support::values(res.outputs[0]), want);
    // The repeated pair (2, 3) gives equal values.
    EXPECT_EQ(support::values(res.outputs[0])[2], support::values(res.outputs[0])[3]);
}

TEST(Ombrelast, NoPositionsGiveAnEmptyXOfTheirShape) {
    Arrays a;
    // I and J 0-by-3: X is 0-by-3 and neither A nor B is read (B's data is
    // absent: 2-by-0).
    auto res = call("ombrelast", 1, {a.doubles(4, 2), a.doubles(2, 0), a.uint32s(0, 3), a.uint32s(0, 3)});
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_EQ(mxGetM(res.outputs[0]), 0u);
    EXPECT_EQ(mxGetN(res.outputs[0]), 3u);
}

TEST(Ombrelast, SumStartsFromTheFirstProduct) {
    Arrays a;
    // r = 1: the one product itself, so -1 times 0 stays negative zero.
    auto one = call("ombrelast", 1, {a.scalar(-1), a.scalar(0), a.uint32s(1, 1, {1}), a.uint32s(1, 1, {1})});
    ASSERT_TRUE(one.ok) << one.error;
    EXPECT_EQ(mxGetPr(one.outputs[0])[0], 0.0);
    EXPECT_TRUE(std::signbit(mxGetPr(one.outputs[0])[0]));
    // Left to right: 1 + 1e16 is 1e16, so the row [1, 1e16, -1e16] against
    // ones gives 0, not 1. Five positions: four side by side and one alone.
    auto row = call("ombrelast", 1,
                    {a.doubles(1, 3, {1, 1e16, -1e16}), a.doubles(3, 1, {1, 1, 1}),
                     a.uint32s(1, 5, {1, 1, 1, 1, 1}), a.uint32s(1, 5, {1, 1, 1, 1, 1})});
    ASSERT_TRUE(row.ok) << row.error;
    EXPECT_EQ(support::values(row.outputs[0]), std::vector<double>(5, 0.0));
    // Each product is rounded before it is added: with x = 1 + 2^-27, x*x
    // rounds to 1 + 2^-26 and the sum -(1 + 2^-26) + x*x is 0; a fused
    // multiply-add would leave 2^-54.
    const double x = 1 + std::exp2(-27);
    auto rounded = call("ombrelast", 1,
                        {a.doubles(1, 2, {-1, x}), a.doubles(2, 1, {1 + std::exp2(-26), x}),
                         a.uint32s(1, 5, {1, 1, 1, 1, 1}), a.uint32s(1, 5, {1, 1, 1, 1, 1})});
    ASSERT_TRUE(rounded.ok) << rounded.error;
    EXPECT_EQ(support::values(rounded.outputs[0]), std::vector<double>(5, 0.0));
}

TEST(Ombrelast, RandomPositionsMatchTheUnfusedLeftToRightSumBitForBit) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> u(-1, 1);
    std::size_t fusedDiffers = 0;
    for (std::size_t r : {1u, 2u, 3u, 7u, 10u}) {
        const std::size_t m = 37, n = 23, count = 1003;  // not a multiple of four
        std::vector<double> A(m * r), B(r * n);
        for (double &x : A) x = u(gen);
        for (double &x : B) x = u(gen);
        std::vector<std::uint32_t> I(count), J(count);
        for (std::size_t k = 0; k < count; ++k) {
            I[k] = static_cast<std::uint32_t>(1 + gen() % m);
            J[k] = static_cast<std::uint32_t>(1 + gen() % n);
        }
        Arrays a;
        auto res = call("ombrelast", 1,
                        {a.doubles(m, r, A), a.doubles(r, n, B), a.uint32s(count, 1, I), a.uint32s(count, 1, J)});
        ASSERT_TRUE(res.ok) << res.error;
        const double *X = mxGetPr(res.outputs[0]);
        for (std::size_t k = 0; k < count; ++k) {
            double want = reference(A, B, m, r, I[k], J[k]);
            ASSERT_TRUE(sameBits(X[k], want))
                << "r = " << r << ", position " << k << ": " << X[k] << " vs " << want;
            if (!sameBits(fused(A, B, m, r, I[k], J[k]), want)) ++fusedDiffers;
        }
    }
    // The data is such that fused multiply-adds would have shown.
    EXPECT_GT(fusedDiffers, 1000u) << fusedDiffers;
}

TEST(Ombrelast, NoArrayForXGivesTheOutOfMemoryMessage) {
    Arrays a;
    mxArray *A = a.doubles(2, 1, {1, 2}), *B = a.doubles(1, 2, {3, 4});
    mxArray *I = a.uint32s(1, 2, {1, 2}), *J = a.uint32s(1, 2, {2, 1});
    std::size_t before = standinLiveArrays();
    standinFailCreation(1);
    auto res = call("ombrelast", 1, {A, B, I, J});
    standinFailCreation(0);
    EXPECT_EQ(res.error, "OMBRELAST: Could not allocate X. Out of memory?");
    EXPECT_TRUE(res.outputs.empty());
    EXPECT_EQ(standinLiveArrays(), before);
    // The message comes before our own refusal of an unreadable position.
    mxArray *outside = a.uint32s(1, 2, {0, 9});
    standinFailCreation(1);
    auto bad = call("ombrelast", 1, {A, B, outside, J});
    standinFailCreation(0);
    EXPECT_EQ(bad.error, "OMBRELAST: Could not allocate X. Out of memory?");
}

TEST(Ombrelast, RefusesPositionsOutsideAAndB) {
    Arrays a;
    mxArray *A = a.doubles(3, 2, {1, 2, 3, 4, 5, 6}), *B = a.doubles(2, 2, {1, 2, 3, 4});
    auto message = [&](std::vector<std::uint32_t> I, std::vector<std::uint32_t> J) {
        Arrays in;
        auto res = call("ombrelast", 1, {A, B, in.uint32s(1, I.size(), I), in.uint32s(1, J.size(), J)});
        if (!res.ok) {
            EXPECT_EQ(res.reclaimed, 1u);  // X, by the host
        }
        return res.error;
    };
    // In a group of four and in the positions after the last group.
    EXPECT_EQ(message({1, 2, 0, 3, 1}, {1, 1, 1, 1, 1}), kRows);
    EXPECT_EQ(message({1, 2, 3, 3, 4}, {1, 1, 1, 1, 1}), kRows);
    EXPECT_EQ(message({1, 4294967295u}, {1, 1}), kRows);
    EXPECT_EQ(message({1, 1, 1, 1, 1}, {2, 3, 1, 1, 1}), kColumns);
    EXPECT_EQ(message({1, 1, 1, 1, 1}, {1, 1, 1, 1, 0}), kColumns);
    EXPECT_EQ(message({3, 3}, {2, 2}), "");
}

TEST(Ombrelast, WithoutInnerDimensionXIsTheEmptySum) {
    Arrays a;
    // A 3-by-0 and B 0-by-2 hold no data at all.
    mxArray *A = a.doubles(3, 0), *B = a.doubles(0, 2);
    auto res = call("ombrelast", 1, {A, B, a.uint32s(1, 3, {1, 3, 2}), a.uint32s(1, 3, {2, 1, 2})});
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_EQ(support::values(res.outputs[0]), std::vector<double>(3, 0.0));
    EXPECT_FALSE(std::signbit(mxGetPr(res.outputs[0])[0]));
    // Positions are still held to the shapes of A and B.
    EXPECT_EQ(call("ombrelast", 1, {A, B, a.uint32s(1, 1, {4}), a.uint32s(1, 1, {1})}).error, kRows);
    EXPECT_EQ(call("ombrelast", 1, {A, B, a.uint32s(1, 1, {1}), a.uint32s(1, 1, {3})}).error, kColumns);
}

TEST(Ombrelast, RefusesSparseFactors) {
    Arrays a;
    mxArray *A = a.doubles(2, 2, {1, 2, 3, 4});
    mxArray *S = a.sparse(2, 2, {0, 1, 2}, {0, 1}, {1, 1});
    mxArray *I = a.uint32s(1, 1, {1}), *J = a.uint32s(1, 1, {1});
    EXPECT_EQ(call("ombrelast", 1, {S, A, I, J}).error, kSparse);
    EXPECT_EQ(call("ombrelast", 1, {A, S, I, J}).error, kSparse);
    EXPECT_EQ(call("ombrelast", 1, {A, S, a.uint32s(0, 1), a.uint32s(0, 1)}).error, kSparse);
    // The check of the inner dimension still comes first.
    EXPECT_EQ(call("ombrelast", 1, {S, a.doubles(3, 1), I, J}).error, kInner);
}
