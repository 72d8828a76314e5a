#include "core/replies/HCPaginatedSeries.h"

HCPaginatedSeries::HCPaginatedSeries()
{
    objects_.reserve(8);
}

std::shared_ptr<HCPaginatedSeries> HCPaginatedSeries::paginatedSeries()
{
    return std::make_shared<HCPaginatedSeries>();
}

std::shared_ptr<HCPaginatedSeries> HCPaginatedSeries::paginatedSeriesFromArray(const Objects& objects)
{
    auto series = paginatedSeries();
    for (const auto& object : objects) {
        series->addObject(object);
    }
    return series;
}

std::shared_ptr<HCPaginatedSeries> HCPaginatedSeries::paginatedSeriesWithObject(const platform::ObjectPtr& object)
{
    auto series = paginatedSeries();
    series->addObject(object);
    return series;
}

std::shared_ptr<HCPaginatedSeries> HCPaginatedSeries::paginatedSeriesFromSeries(
    const std::shared_ptr<HCPaginatedSeries>& other)
{
    if (!other) {
        return paginatedSeries();
    }
    auto series = paginatedSeriesFromArray(other->objects_);
    series->header_ = HCPaginatedSeriesHeader::paginationHeaderClonedFrom(other->header_);
    return series;
}

void HCPaginatedSeries::addObject(const platform::ObjectPtr& object)
{
    if (object) {
        objects_.push_back(object);
    }
}

void HCPaginatedSeries::prependObject(const platform::ObjectPtr& object)
{
    if (object) {
        objects_.insert(objects_.begin(), object);
    }
}

platform::ObjectPtr HCPaginatedSeries::objectAtIndex(size_t index) const
{
    return index < objects_.size() ? objects_[index] : nullptr;
}

void HCPaginatedSeries::setObjects(Objects objects)
{
    header_ = nullptr;
    objects_.clear();
    for (auto& object : objects) {
        addObject(object);
    }
}
