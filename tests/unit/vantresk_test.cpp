// vantresk through the stand-in host: messages and their order, the cell in
// column-major order, solutions against the factors' normal equations, the
// refusals of inputs outside the data model, the host's bookkeeping on
// success and failure, and the round trip from both block builders.
#include <cmath>
#include <random>
#include <string>

#include "reference.h"
#include "support.h"

using support::Arrays;
using support::call;

namespace {

const char *kInputs = "Two input arguments required.";
const char *kOutputs = "Single output argument required.";
const char *kCell =
    "VANTRESK: R must be a cell containing m upper triangular matrices of size n-be-n.";
const char *kDims = "VANTRESK: inconsistent matrix / cell dimensions.";
const char *kY = "VANTRESK: Y must be a full real double matrix.";
const char *kNoArray = "VANTRESK: every element of R must hold an array.";
const char *kElement = "VANTRESK: the elements of R must be full real double matrices.";

// A cell of the given shape holding the given arrays in column-major order
// (nullptr leaves an element without an array). The cell takes them over.
mxArray *cellOf(Arrays &a, std::size_t rows, std::size_t cols, std::vector<mxArray *> elements) {
    mxArray *c = a.keep(mxCreateCellMatrix(rows, cols));
    for (std::size_t k = 0; k < elements.size(); ++k) mxSetCell(c, k, elements[k]);
    return c;
}

mxArray *matrix(std::size_t m, std::size_t n, const std::vector<double> &v = {}) {
    mxArray *x = mxCreateDoubleMatrix(m, n, mxREAL);
    for (std::size_t k = 0; k < v.size(); ++k) mxGetPr(x)[k] = v[k];
    return x;
}

std::vector<double> identity(std::size_t n) {
    std::vector<double> v(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i) v[i + i * n] = 1.0;
    return v;
}

// A random upper factor with a well-away-from-zero diagonal; below the
// diagonal `below` (zero, or garbage).
std::vector<double> randomFactor(std::mt19937 &gen, std::size_t n, bool garbage) {
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<double> U(n * n);
    for (std::size_t j = 0; j < n; ++j)
        for (std::size_t i = 0; i < n; ++i)
            U[i + j * n] = i < j ? u(gen) : i == j ? 1.5 + u(gen) : garbage ? 1e3 * u(gen) : 0.0;
    return U;
}

// max |(U'U) z - y| relative to |y|, U the upper triangle of `U`.
double residual(const double *U, std::size_t n, const double *z, const double *y) {
    std::vector<double> Uz(n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i; j < n; ++j) Uz[i] += U[i + j * n] * z[j];
    double worst = 0, scale = 1;
    for (std::size_t j = 0; j < n; ++j) {
        double s = 0;
        for (std::size_t i = 0; i <= j; ++i) s += U[i + j * n] * Uz[i];
        worst = std::fmax(worst, std::fabs(s - y[j]));
        scale = std::fmax(scale, std::fabs(y[j]));
    }
    return worst / scale;
}

}  // namespace

TEST(Vantresk, CountMessagesInTheirOrder) {
    Arrays a;
    mxArray *x = a.scalar(1);
    EXPECT_EQ(call("vantresk", 1, {x, x, x}).error, kInputs);
    EXPECT_EQ(call("vantresk", 1, {x}).error, kInputs);
    EXPECT_EQ(call("vantresk", 0, {x}).error, kInputs);  // inputs before outputs
    EXPECT_EQ(call("vantresk", 0, {x, x}).error, kOutputs);
    EXPECT_EQ(call("vantresk", 2, {x, x}).error, kOutputs);
}

TEST(Vantresk, FirstInputMustBeACell) {
    Arrays a;
    // A numeric matrix of any size, before any test of dimensions.
    for (mxArray *R : {a.scalar(1), a.doubles(0, 0), a.doubles(3, 3, identity(3)),
                       a.numeric(2, 2, mxSINGLE_CLASS)})
        EXPECT_EQ(call("vantresk", 1, {R, a.doubles(3, 0)}).error, kCell);
}

TEST(Vantresk, DimensionsOfYAndTheCell) {
    Arrays a;
    mxArray *empty = a.keep(mxCreateCellMatrix(0, 0));
    EXPECT_EQ(call("vantresk", 1, {empty, a.doubles(3, 0)}).error, kDims);
    EXPECT_EQ(call("vantresk", 1, {empty, a.doubles(0, 2)}).error, kDims);
    EXPECT_EQ(call("vantresk", 1, {cellOf(a, 2, 1, {matrix(0, 0), matrix(0, 0)}), a.doubles(0, 2)})
                  .error,
              kDims);
    mxArray *Y = a.doubles(2, 3, {1, 2, 3, 4, 5, 6});
    auto ids = [&](std::size_t count) {
        std::vector<mxArray *> e;
        for (std::size_t k = 0; k < count; ++k) e.push_back(matrix(2, 2, identity(2)));
        return cellOf(a, count, 1, e);
    };
    EXPECT_EQ(call("vantresk", 1, {ids(2), Y}).error, kDims);
    EXPECT_EQ(call("vantresk", 1, {ids(4), Y}).error, kDims);
    EXPECT_TRUE(call("vantresk", 1, {ids(3), Y}).ok);
}

TEST(Vantresk, OrderOneDividesBySquare) {
    Arrays a;
    auto res = call("vantresk", 1, {cellOf(a, 1, 1, {matrix(1, 1, {2})}), a.scalar(10)});
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_DOUBLE_EQ(mxGetPr(res.outputs[0])[0], 2.5);
}

TEST(Vantresk, IdentityFactorsReturnY) {
    Arrays a;
    std::vector<double> y = {1, -2, 3.5, 0, 1e300, -0.0, 7, 8, 9};
    auto res = call("vantresk", 1,
                    {cellOf(a, 1, 3, {matrix(3, 3, identity(3)), matrix(3, 3, identity(3)),
                                      matrix(3, 3, identity(3))}),
                     a.doubles(3, 3, y)});
    ASSERT_TRUE(res.ok) << res.error;
    const mxArray *Z = res.outputs[0];
    EXPECT_TRUE(mxIsDouble(Z));
    EXPECT_FALSE(mxIsComplex(Z));
    EXPECT_EQ(mxGetM(Z), 3u);
    EXPECT_EQ(mxGetN(Z), 3u);
    EXPECT_EQ(support::values(Z), y);
}

TEST(Vantresk, CellOfAnyShapeServesColumnsInColumnMajorOrder) {
    // A 2-by-3 cell for 6 columns: element k (column-major) solves column k.
    std::mt19937 gen(5);
    const std::size_t n = 4;
    std::vector<std::vector<double>> U;
    std::vector<mxArray *> elements;
    for (std::size_t k = 0; k < 6; ++k) {
        U.push_back(randomFactor(gen, n, false));
        elements.push_back(matrix(n, n, U.back()));
    }
    std::vector<double> y(n * 6);
    for (std::size_t x = 0; x < y.size(); ++x) y[x] = std::sin(1.0 + x);
    Arrays a;
    mxArray *Y = a.doubles(n, 6, y);
    auto res = call("vantresk", 1, {cellOf(a, 2, 3, elements), Y});
    ASSERT_TRUE(res.ok) << res.error;
    const double *z = mxGetPr(res.outputs[0]);
    for (std::size_t k = 0; k < 6; ++k)
        EXPECT_LT(residual(U[k].data(), n, z + k * n, y.data() + k * n), 1e-12) << "column " << k;
    // Y is not changed.
    EXPECT_EQ(support::values(Y), y);
}

TEST(Vantresk, BelowTheDiagonalIsNeverRead) {
    std::mt19937 gen(9);
    const std::size_t n = 5, m = 3;
    std::vector<mxArray *> clean, dirty;
    for (std::size_t k = 0; k < m; ++k) {
        std::vector<double> G = randomFactor(gen, n, true), C = G;
        for (std::size_t j = 0; j < n; ++j)
            for (std::size_t i = j + 1; i < n; ++i) C[i + j * n] = 0.0;
        dirty.push_back(matrix(n, n, G));
        clean.push_back(matrix(n, n, C));
    }
    // NaN below the diagonal too.
    mxGetPr(dirty[1])[1] = NAN;
    Arrays a;
    std::vector<double> y(n * m);
    for (std::size_t x = 0; x < y.size(); ++x) y[x] = 1.0 + x;
    mxArray *Y = a.doubles(n, m, y);
    auto withZeros = call("vantresk", 1, {cellOf(a, m, 1, clean), Y});
    auto withGarbage = call("vantresk", 1, {cellOf(a, m, 1, dirty), Y});
    ASSERT_TRUE(withZeros.ok && withGarbage.ok);
    EXPECT_EQ(support::values(withZeros.outputs[0]), support::values(withGarbage.outputs[0]));
}

TEST(Vantresk, WrongSizedElementsAreRefused) {
    Arrays a;
    const std::size_t n = 3;
    mxArray *Y = a.doubles(n, 2, {1, 2, 3, 4, 5, 6});
    for (auto shape : std::vector<std::pair<std::size_t, std::size_t>>{
             {n, n + 1}, {n + 1, n}, {n + 1, n + 1}, {n - 1, n - 1}, {0, 0}, {1, n * n}}) {
        auto res = call("vantresk", 1,
                        {cellOf(a, 2, 1, {matrix(n, n, identity(n)),
                                          matrix(shape.first, shape.second)}),
                         Y});
        EXPECT_EQ(res.error, kDims) << shape.first << "-by-" << shape.second;
    }
}

TEST(Vantresk, LateWrongSizeDiscardsTheSolvedOutput) {
    // Element 2 of 4 is (n+1)-by-(n+1): columns 0 and 1 were solved when
    // the call fails; no output reaches the caller and nothing leaks.
    Arrays a;
    const std::size_t n = 2;
    mxArray *R = cellOf(a, 4, 1,
                        {matrix(n, n, {2, 0, 0, 2}), matrix(n, n, {2, 0, 0, 2}),
                         matrix(n + 1, n + 1), matrix(n, n, {2, 0, 0, 2})});
    mxArray *Y = a.doubles(n, 4, {1, 2, 3, 4, 5, 6, 7, 8});
    std::size_t before = standinLiveArrays();
    auto res = call("vantresk", 1, {R, Y});
    EXPECT_EQ(res.error, kDims);
    EXPECT_TRUE(res.outputs.empty());
    EXPECT_EQ(res.reclaimed, 1u);  // Z
    EXPECT_EQ(standinLiveArrays(), before);
    EXPECT_EQ(support::values(Y), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Vantresk, SuccessCreatesZAlone) {
    Arrays a;
    mxArray *R = cellOf(a, 2, 1, {matrix(1, 1, {2}), matrix(1, 1, {4})});
    mxArray *Y = a.doubles(1, 2, {8, 32});
    std::size_t before = standinLiveArrays();
    {
        auto res = call("vantresk", 1, {R, Y});
        ASSERT_TRUE(res.ok) << res.error;
        EXPECT_TRUE(res.leaks.empty());
        EXPECT_EQ(support::values(res.outputs[0]), (std::vector<double>{2, 2}));
        EXPECT_EQ(standinLiveArrays(), before + 1);
    }
    EXPECT_EQ(standinLiveArrays(), before);
}

TEST(Vantresk, ZeroOnTheDiagonalRaisesNothing) {
    Arrays a;
    auto res = call("vantresk", 1,
                    {cellOf(a, 2, 1, {matrix(2, 2, {1, 0, 0, 0}), matrix(2, 2, {1, 0, 0, 1})}),
                     a.doubles(2, 2, {1, 1, 3, 4})});
    ASSERT_TRUE(res.ok) << res.error;
    // The second system is solved whatever the first one yields.
    EXPECT_EQ(mxGetPr(res.outputs[0])[2], 3.0);
    EXPECT_EQ(mxGetPr(res.outputs[0])[3], 4.0);
}

TEST(Vantresk, RandomSystemsSatisfyTheirEquations) {
    std::mt19937 gen(21);
    const std::size_t n = 10, m = 50;
    std::vector<std::vector<double>> U;
    std::vector<mxArray *> elements;
    std::uniform_real_distribution<double> u(-3, 3);
    std::vector<double> y(n * m);
    for (double &v : y) v = u(gen);
    for (std::size_t k = 0; k < m; ++k) {
        U.push_back(randomFactor(gen, n, k % 2 == 1));
        elements.push_back(matrix(n, n, U.back()));
    }
    Arrays a;
    auto res = call("vantresk", 1, {cellOf(a, m, 1, elements), a.doubles(n, m, y)});
    ASSERT_TRUE(res.ok) << res.error;
    const double *z = mxGetPr(res.outputs[0]);
    for (std::size_t k = 0; k < m; ++k)
        EXPECT_LT(residual(U[k].data(), n, z + k * n, y.data() + k * n), 1e-11) << "column " << k;
}

TEST(Vantresk, RefusesYOutsideTheDataModel) {
    Arrays a;
    auto R = [&]() { return cellOf(a, 2, 1, {matrix(2, 2, identity(2)), matrix(2, 2, identity(2))}); };
    EXPECT_EQ(call("vantresk", 1, {R(), a.numeric(2, 2, mxSINGLE_CLASS)}).error, kY);
    EXPECT_EQ(call("vantresk", 1, {R(), a.sparse(2, 2, {0, 1, 2}, {0, 1}, {1, 1})}).error, kY);
    EXPECT_EQ(call("vantresk", 1, {R(), a.numeric(2, 2, mxDOUBLE_CLASS, mxCOMPLEX)}).error, kY);
    EXPECT_EQ(call("vantresk", 1, {R(), a.keep(mxCreateLogicalMatrix(2, 2))}).error, kY);
    EXPECT_EQ(call("vantresk", 1, {R(), a.keep(mxCreateString("ab"))}).error, kY);
    EXPECT_EQ(call("vantresk", 1, {R(), a.keep(mxCreateCellMatrix(2, 2))}).error, kY);
    EXPECT_EQ(call("vantresk", 1, {R(), a.keep(mxCreateStructMatrix(2, 2, 0, nullptr))}).error, kY);
    // After the fixed checks: a wrong count of elements wins.
    EXPECT_EQ(call("vantresk", 1, {R(), a.numeric(2, 3, mxSINGLE_CLASS)}).error, kDims);
    EXPECT_EQ(call("vantresk", 1, {a.scalar(1), a.numeric(2, 2, mxSINGLE_CLASS)}).error, kCell);
    // Refused before Z is created.
    std::size_t before = standinLiveArrays();
    mxArray *R2 = R();
    mxArray *Y = a.numeric(2, 2, mxSINGLE_CLASS);
    auto res = call("vantresk", 1, {R2, Y});
    EXPECT_EQ(res.reclaimed, 0u);
    EXPECT_EQ(standinLiveArrays(), before + 4);  // the cell, its two elements and Y
}

TEST(Vantresk, RefusesElementsOutsideTheDataModel) {
    Arrays a;
    const std::size_t n = 2;
    mxArray *Y = a.doubles(n, 2, {1, 2, 3, 4});
    auto second = [&](mxArray *element) {
        return call("vantresk", 1, {cellOf(a, 2, 1, {matrix(n, n, identity(n)), element}), Y});
    };
    EXPECT_EQ(second(mxCreateNumericMatrix(n, n, mxSINGLE_CLASS, mxREAL)).error, kElement);
    EXPECT_EQ(second(mxCreateSparse(n, n, 2, mxREAL)).error, kElement);
    EXPECT_EQ(second(mxCreateNumericMatrix(n, n, mxDOUBLE_CLASS, mxCOMPLEX)).error, kElement);
    EXPECT_EQ(second(mxCreateLogicalMatrix(n, n)).error, kElement);
    EXPECT_EQ(second(mxCreateNumericMatrix(n, n, mxCHAR_CLASS, mxREAL)).error, kElement);
    EXPECT_EQ(second(mxCreateStructMatrix(n, n, 0, nullptr)).error, kElement);
    EXPECT_EQ(second(mxCreateCellMatrix(n, n)).error, kElement);
    // An element without an array: the host returns none for it.
    EXPECT_EQ(second(nullptr).error, kNoArray);
    // The fixed size test comes first: an empty element, or a wrong-sized
    // one of another class, gets the dimension message.
    EXPECT_EQ(second(mxCreateDoubleMatrix(0, 0, mxREAL)).error, kDims);
    EXPECT_EQ(second(mxCreateNumericMatrix(0, 0, mxSINGLE_CLASS, mxREAL)).error, kDims);
    EXPECT_EQ(second(mxCreateString("abc")).error, kDims);
    EXPECT_EQ(second(mxCreateSparse(n + 1, n + 1, 1, mxREAL)).error, kDims);
    // An element's own test comes just before its solve: the first bad
    // element decides.
    EXPECT_EQ(call("vantresk", 1,
                   {cellOf(a, 3, 1,
                           {matrix(n, n, identity(n)), mxCreateLogicalMatrix(n, n), nullptr}),
                    a.doubles(n, 3)})
                  .error,
              kElement);
    EXPECT_EQ(call("vantresk", 1,
                   {cellOf(a, 3, 1, {nullptr, mxCreateLogicalMatrix(n, n), matrix(3, 3)}),
                    a.doubles(n, 3)})
                  .error,
              kNoArray);
    // Nothing of a refused call survives it.
    std::size_t before = standinLiveArrays();
    mxArray *R = cellOf(a, 2, 1, {matrix(n, n, identity(n)), mxCreateLogicalMatrix(n, n)});
    auto res = call("vantresk", 1, {R, Y});
    EXPECT_EQ(res.error, kElement);
    EXPECT_EQ(res.reclaimed, 1u);  // Z
    EXPECT_EQ(standinLiveArrays(), before + 3);
}

// The round trip: the factors of both builders, handed to vantresk, give
// solutions of the normal equations (sum of weighted outer products + lambda I) z = y.
namespace {

struct Normal {
    std::size_t r;
    std::vector<std::vector<double>> A;  // one r-by-r matrix per block
};

void expectSolves(const Normal &N, const mxArray *factors, const std::vector<double> &y) {
    Arrays a;
    const std::size_t blocks = N.A.size(), r = N.r;
    auto res = call("vantresk", 1, {factors, a.doubles(r, blocks, y)});
    ASSERT_TRUE(res.ok) << res.error;
    const double *z = mxGetPr(res.outputs[0]);
    for (std::size_t b = 0; b < blocks; ++b)
        for (std::size_t i = 0; i < r; ++i) {
            double s = 0;
            for (std::size_t j = 0; j < r; ++j) s += N.A[b][i + j * r] * z[j + b * r];
            EXPECT_NEAR(s, y[i + b * r], 1e-10 * (1 + std::fabs(y[i + b * r])))
                << "block " << b << " row " << i;
        }
}

void addOuter(std::vector<double> &A, const std::vector<double> &W, std::size_t m, std::size_t r,
              std::size_t row, double weight) {
    for (std::size_t i = 0; i < r; ++i)
        for (std::size_t j = 0; j < r; ++j)
            A[i + j * r] += weight * W[row + i * m] * W[row + j * m];
}

}  // namespace

TEST(Vantresk, RoundTripWithKorvanthe) {
    std::mt19937 gen(31);
    std::uniform_real_distribution<double> u(-2, 2);
    std::bernoulli_distribution keep(0.25);
    const std::size_t m = 30, r = 5, n = 12;
    const double lambda = 0.2;
    std::vector<double> W(m * r);
    for (double &v : W) v = u(gen);
    std::vector<mwIndex> jc{0}, ir;
    std::vector<double> pr;
    Normal N{r, std::vector<std::vector<double>>(n, std::vector<double>(r * r, 0.0))};
    for (std::size_t l = 0; l < n; ++l) {
        for (std::size_t i = 0; i < m; ++i)
            if (l != 3 && keep(gen)) {  // column 3 stays empty
                double c = u(gen);
                ir.push_back(i);
                pr.push_back(c);
                addOuter(N.A[l], W, m, r, i, c * c);
            }
        jc.push_back(ir.size());
        for (std::size_t d = 0; d < r; ++d) N.A[l][d + d * r] += lambda;
    }
    Arrays a;
    auto built = call("korvanthe", 1,
                      {a.sparse(m, n, jc, ir, pr), a.doubles(m, r, W), a.scalar(lambda)});
    ASSERT_TRUE(built.ok) << built.error;
    std::vector<double> y(r * n);
    for (double &v : y) v = u(gen);
    expectSolves(N, built.outputs[0], y);
}

TEST(Vantresk, RoundTripWithDelmirost) {
    std::mt19937 gen(41);
    std::uniform_real_distribution<double> u(-2, 2);
    const std::size_t m = 20, r = 4, blocks = 6;
    const double lambda = 0.1;
    std::vector<double> W(m * r);
    for (double &v : W) v = u(gen);
    std::vector<double> chat;
    std::vector<std::uint32_t> I, J;
    Normal N{r, std::vector<std::vector<double>>(blocks, std::vector<double>(r * r, 0.0))};
    for (std::size_t b = 0; b < blocks; ++b) {
        if (b != 2)  // block 3 stays empty
            for (std::size_t i = 0; i < m; i += 1 + b) {
                double c = 0.5 + std::fabs(u(gen));
                chat.push_back(c);
                I.push_back(static_cast<std::uint32_t>(i + 1));
                J.push_back(static_cast<std::uint32_t>(b + 1));
                addOuter(N.A[b], W, m, r, i, c);
            }
        for (std::size_t d = 0; d < r; ++d) N.A[b][d + d * r] += lambda;
    }
    Arrays a;
    std::size_t len = I.size();
    auto built = call("delmirost", 1,
                      {a.doubles(len, 1, chat), a.doubles(m, r, W), a.scalar(lambda),
                       a.uint32s(len, 1, I), a.uint32s(len, 1, J),
                       a.uint32s(1, 1, {static_cast<std::uint32_t>(blocks)})});
    ASSERT_TRUE(built.ok) << built.error;
    std::vector<double> y(r * blocks);
    for (double &v : y) v = u(gen);
    expectSolves(N, built.outputs[0], y);
}
