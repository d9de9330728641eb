// nzoverwrite through the stand-in host: the checks in order, values written
// into M's own value array up to its capacity and nowhere else, and the
// refusals of calls it could not serve safely.
#include "support.h"

using support::Arrays;
using support::call;

namespace {

const char *kClass = "M and X must be of type DOUBLE.";
const char *kSparse = "M must be sparse.";
const char *kRoom = "M must be able to contain at least as many elements as X.";

// 3-by-3 with entries (0,0)=1, (2,0)=2, (1,2)=3, and room for five values;
// the spare room holds -1 and -2 so that writes there show.
mxArray *pattern(Arrays &a) {
    mxArray *M = a.sparse(3, 3, {0, 2, 2, 3}, {0, 2, 1}, {1, 2, 3}, 5);
    mxGetPr(M)[3] = -1;
    mxGetPr(M)[4] = -2;
    return M;
}

std::vector<double> stored(const mxArray *M) {
    const double *pr = mxGetPr(M);
    return std::vector<double>(pr, pr + mxGetNzmax(M));
}

// The pattern of M, as the kernel must leave it.
void expectPattern(const mxArray *M) {
    EXPECT_EQ(mxGetM(M), 3u);
    EXPECT_EQ(mxGetN(M), 3u);
    const mwIndex *jc = mxGetJc(M), *ir = mxGetIr(M);
    EXPECT_EQ(std::vector<mwIndex>(jc, jc + 4), (std::vector<mwIndex>{0, 2, 2, 3}));
    EXPECT_EQ(std::vector<mwIndex>(ir, ir + 3), (std::vector<mwIndex>{0, 2, 1}));
}

}  // namespace

TEST(Nzoverwrite, ValuesLandInStorageOrderUpToTheCapacity) {
    struct Case {
        std::vector<double> X;
        std::vector<double> after;
    };
    const std::vector<Case> cases = {
        {{}, {1, 2, 3, -1, -2}},                // nothing to write
        {{7, 8}, {7, 8, 3, -1, -2}},            // fewer than the entries in use
        {{7, 0, 9}, {7, 0, 9, -1, -2}},         // as many: a zero stays stored
        {{7, 8, 9, 10}, {7, 8, 9, 10, -2}},     // into the spare room
        {{7, 8, 9, 10, 11}, {7, 8, 9, 10, 11}}, // the whole capacity
    };
    for (const Case &c : cases) {
        Arrays a;
        mxArray *M = pattern(a);
        mxArray *X = a.doubles(1, c.X.size(), c.X);
        double *values = mxGetPr(M);
        auto res = call("nzoverwrite", 0, {M, X});
        ASSERT_TRUE(res.ok) << res.error;
        EXPECT_TRUE(res.outputs.empty());
        EXPECT_TRUE(res.leaks.empty());
        EXPECT_EQ(mxGetPr(M), values);  // M's own array, not a copy
        EXPECT_EQ(stored(M), c.after);
        EXPECT_EQ(support::values(X), c.X);
        expectPattern(M);
    }
}

TEST(Nzoverwrite, ShapeOfXDoesNotMatterAndOutputsAreNotRefused) {
    for (auto shape : {std::pair<std::size_t, std::size_t>{1, 4}, {4, 1}, {2, 2}}) {
        Arrays a;
        mxArray *M = pattern(a);
        auto res = call("nzoverwrite", 1, {M, a.doubles(shape.first, shape.second, {4, 5, 6, 7})});
        ASSERT_TRUE(res.ok) << res.error;
        EXPECT_EQ(res.outputs, std::vector<mxArray *>{nullptr});  // nothing is returned
        EXPECT_EQ(stored(M), (std::vector<double>{4, 5, 6, 7, -2}));
    }
    // Inputs past the second are ignored.
    Arrays a;
    mxArray *M = pattern(a);
    EXPECT_TRUE(call("nzoverwrite", 0, {M, a.scalar(9), a.numeric(1, 1, mxINT8_CLASS)}).ok);
    EXPECT_EQ(stored(M)[0], 9);
}

TEST(Nzoverwrite, ChecksInOrderLeaveMUnchanged) {
    Arrays a;
    mxArray *M = pattern(a);
    mxArray *X = a.doubles(1, 2, {7, 8});
    mxArray *single = a.numeric(1, 2, mxSINGLE_CLASS);
    auto message = [](std::vector<const mxArray *> in) { return call("nzoverwrite", 0, in).error; };

    EXPECT_EQ(message({a.keep(mxCreateSparseLogicalMatrix(3, 3, 2)), X}), kClass);
    EXPECT_EQ(message({M, single}), kClass);
    // Class before storage: a full single M is refused for its class.
    EXPECT_EQ(message({a.numeric(3, 3, mxSINGLE_CLASS), X}), kClass);
    EXPECT_EQ(message({a.doubles(3, 3), single}), kClass);
    EXPECT_EQ(message({a.doubles(3, 3), X}), kSparse);
    // The capacity (5) bounds X, not the entries in use (3).
    EXPECT_EQ(message({M, a.doubles(2, 3)}), kRoom);
    EXPECT_EQ(stored(M), (std::vector<double>{1, 2, 3, -1, -2}));
    expectPattern(M);
}

TEST(Nzoverwrite, RefusesMissingInputsAndSparseX) {
    Arrays a;
    mxArray *M = pattern(a);
    const std::string two = "Two input arguments, M and X, are required.";
    EXPECT_EQ(call("nzoverwrite", 0, {}).error, two);
    EXPECT_EQ(call("nzoverwrite", 0, {M}).error, two);

    // A sparse X holds fewer values than elements; its three stored values
    // would fit, but X has four elements.
    mxArray *S = a.sparse(2, 2, {0, 1, 2}, {0, 1}, {7, 8}, 3);
    EXPECT_EQ(call("nzoverwrite", 0, {M, S}).error, "X must be a full array, not sparse.");
    // The capacity check still comes first.
    EXPECT_EQ(call("nzoverwrite", 0, {M, a.sparse(3, 2, {0, 0, 0}, {}, {})}).error, kRoom);
    EXPECT_EQ(stored(M), (std::vector<double>{1, 2, 3, -1, -2}));
}

TEST(Nzoverwrite, RefusesComplexMAfterTheOtherChecks) {
    Arrays a;
    mxArray *Mc = a.keep(mxCreateSparse(3, 3, 4, mxCOMPLEX));
    mxGetPr(Mc)[0] = 5;
    const std::string complexM = "M must be real: a complex M cannot be written in place.";
    EXPECT_EQ(call("nzoverwrite", 0, {Mc, a.doubles(1, 2, {7, 8})}).error, complexM);
    EXPECT_EQ(call("nzoverwrite", 0, {Mc, a.doubles(1, 0)}).error, complexM);
    // The capacity is still checked first.
    EXPECT_EQ(call("nzoverwrite", 0, {Mc, a.doubles(1, 5)}).error, kRoom);
    EXPECT_EQ(mxGetPr(Mc)[0], 5);
}
