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

TEST(PaginatedSeriesTest, AddPrependAndIndexKeepOrder)
{
    auto series = HCPaginatedSeries::paginatedSeries();
    series->addObject(HCResource::initWithId("2"));
    series->addObject(HCResource::initWithId("3"));
    series->prependObject(HCResource::initWithId("1"));
    series->addObject(nullptr);
    series->prependObject(nullptr);
    EXPECT_EQ(series->count(), 3u);
    EXPECT_EQ(ids(*series), (Ids{"1", "2", "3"}));
    EXPECT_EQ(platform::as<HCResource>(series->objectAtIndex(2))->resourceId(), "3");
    EXPECT_EQ(series->objectAtIndex(3), nullptr);
    EXPECT_EQ(series->httpResponseStatusCode(), -1);
}

TEST(PaginatedSeriesTest, FromSeriesClonesTheHeaderButNotMetadataOrStatus)
{
    auto original = HCPaginatedSeries::paginatedSeries();
    original->addObject(HCResource::initWithId("1"));
    original->setHeader(std::make_shared<HCPaginatedSeriesHeader>(10, 2, 4, 10, 35));
    original->setTableMetaDataObjects(platform::Array::make({HCResource::initWithId("m")}));
    original->setHttpResponseStatusCode(200);

    auto copy = HCPaginatedSeries::paginatedSeriesFromSeries(original);
    original->addObject(HCResource::initWithId("2"));
    EXPECT_EQ(ids(*copy), (Ids{"1"}));
    ASSERT_TRUE(copy->header());
    EXPECT_NE(copy->header(), original->header());
    EXPECT_EQ(copy->header()->currentOffset(), 10u);
    EXPECT_EQ(copy->header()->currentPage(), 2u);
    EXPECT_EQ(copy->header()->totalPages(), 4u);
    EXPECT_EQ(copy->header()->perPage(), 10u);
    EXPECT_EQ(copy->header()->totalObjects(), 35u);
    EXPECT_EQ(copy->tableMetaDataObjects(), nullptr);
    EXPECT_EQ(copy->httpResponseStatusCode(), -1);

    auto headerless = HCPaginatedSeries::paginatedSeriesFromSeries(HCPaginatedSeries::paginatedSeries());
    EXPECT_EQ(headerless->header(), nullptr);
    EXPECT_EQ(HCPaginatedSeries::paginatedSeriesFromSeries(nullptr)->count(), 0u);
}

TEST(PaginatedSeriesTest, SetObjectsDropsTheHeader)
{
    auto series = HCPaginatedSeries::paginatedSeriesWithObject(HCResource::initWithId("1"));
    series->setHeader(std::make_shared<HCPaginatedSeriesHeader>(0, 1, 2, 10, 20));
    series->setObjects({HCResource::initWithId("5"), nullptr, HCResource::initWithId("6")});
    EXPECT_EQ(series->header(), nullptr);
    EXPECT_EQ(ids(*series), (Ids{"5", "6"}));
}

}  // namespace
