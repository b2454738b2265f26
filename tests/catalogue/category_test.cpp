#include "catalogue/category.h"
#include "catalogue/load_category.h"
#include "catalogue/markers.h"

#include <gtest/gtest.h>

using namespace brisma;
using namespace brisma::catalogue;

namespace {

TEST(Category, IndexPathsAndCaptionsInButtonOrder)
{
    const auto& table = categories();
    const Text captions[] = {"最新热门电影", "BD高清", "1018P", "720P", "3D电影专区"};
    const Text paths[] = {"/ys/", "/bd/", "/1080p/", "/720P/", "/3d/"};
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table[i].caption, captions[i]);
        EXPECT_EQ(table[i].indexPath, paths[i]);
    }
}

TEST(Category, IndexPageAddresses)
{
    const Category& threeD = categories()[4];
    EXPECT_EQ(indexPageAddress("http://movies.test", threeD, 1), "http://movies.test/3d/");
    EXPECT_EQ(indexPageAddress("http://movies.test", threeD, 2),
              "http://movies.test/3d/index_2.htm");
    EXPECT_EQ(indexPageAddress("http://movies.test", threeD, 10),
              "http://movies.test/3d/index_10.htm");
}

TEST(Category, MarkerLengths)
{
    EXPECT_EQ(markers::titleLeft.size(), 11u);
    EXPECT_EQ(markers::titleRight.size(), 38u);
    EXPECT_EQ(markers::dateLeft.size(), 103u);
    EXPECT_EQ(markers::dateRight.size(), 115u);
    EXPECT_EQ(markers::addressLeft.size(), 105u);
    EXPECT_EQ(markers::addressRight.size(), 28u);
}

} // namespace
