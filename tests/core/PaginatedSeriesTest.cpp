// The reply series and its header as values.
#include <gtest/gtest.h>

#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"

namespace {

std::vector<std::string> ids(const HCPaginatedSeries& series)
{
    std::vector<std::string> out;
    for (const auto& object : series) {
        out.push_back(platform::as<HCResource>(object)->resourceId().value_or("-"));
    }
    return out;
}

using Ids = std::vector<std::string>;

TEST(PaginatedSeriesTest, NilIsNeverAddedAndACopyClonesOnlyTheHeader)
{
    auto original = HCPaginatedSeries::paginatedSeries();
    original->addObject(HCResource::initWithId("2"));
    original->prependObject(HCResource::initWithId("1"));
    original->addObject(nullptr);
    original->prependObject(nullptr);
    EXPECT_EQ(ids(*original), (Ids{"1", "2"}));
    EXPECT_EQ(original->objectAtIndex(2), nullptr);
    original->setHeader(std::make_shared<HCPaginatedSeriesHeader>(10, 2, 4, 10, 35));
    original->setTableMetaDataObjects(platform::Array::make({HCResource::initWithId("m")}));
    original->setHttpResponseStatusCode(200);

    auto copy = HCPaginatedSeries::paginatedSeriesFromSeries(original);
    original->addObject(HCResource::initWithId("3"));
    EXPECT_EQ(ids(*copy), (Ids{"1", "2"}));
    ASSERT_TRUE(copy->header());
    EXPECT_NE(copy->header(), original->header());
    EXPECT_EQ(copy->header()->totalObjects(), 35u);
    EXPECT_EQ(copy->tableMetaDataObjects(), nullptr);
    EXPECT_EQ(copy->httpResponseStatusCode(), -1);
    EXPECT_EQ(HCPaginatedSeries::paginatedSeriesFromSeries(nullptr)->count(), 0u);

    // New objects make the old header wrong: it goes.
    copy->setObjects({HCResource::initWithId("5"), nullptr});
    EXPECT_EQ(copy->header(), nullptr);
    EXPECT_EQ(ids(*copy), (Ids{"5"}));
}

}  // namespace
