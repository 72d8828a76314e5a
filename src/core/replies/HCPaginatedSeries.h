#pragma once
// What a successful reply yields: its objects in document order (resources,
// or HCTableSectionDescription objects for a sectioned reply), the
// pagination header, the table's metadata resources and the HTTP status.
//
// Thread: built on the thread that reads the reply, then handed whole to the
// caller's thread; one thread uses it at a time.
#include <memory>
#include <vector>

#include "core/replies/HCPaginatedSeriesHeader.h"
#include "platform/foundation/Values.h"

class HCPaginatedSeries final : public platform::Object {
public:
    using Objects = std::vector<platform::ObjectPtr>;

    HCPaginatedSeries();

    static std::shared_ptr<HCPaginatedSeries> paginatedSeries();
    static std::shared_ptr<HCPaginatedSeries> paginatedSeriesFromArray(const Objects& objects);
    // A nil object gives an empty series.
    static std::shared_ptr<HCPaginatedSeries> paginatedSeriesWithObject(const platform::ObjectPtr& object);
    // The other's objects and a copy of its header; no table metadata, status
    // -1. Nil gives an empty series.
    static std::shared_ptr<HCPaginatedSeries> paginatedSeriesFromSeries(const std::shared_ptr<HCPaginatedSeries>& other);

    // Nil objects are ignored.
    void addObject(const platform::ObjectPtr& object);
    void prependObject(const platform::ObjectPtr& object);
    size_t count() const { return objects_.size(); }
    // nullptr when the index is out of range.
    platform::ObjectPtr objectAtIndex(size_t index) const;

    const Objects& objects() const { return objects_; }
    // Clears the header first: the new objects are no longer that page.
    void setObjects(Objects objects);

    // Nil when the reply had no pagination header.
    const std::shared_ptr<HCPaginatedSeriesHeader>& header() const { return header_; }
    void setHeader(std::shared_ptr<HCPaginatedSeriesHeader> header) { header_ = std::move(header); }

    // Nil when the reply had no "table_meta_data".
    const std::shared_ptr<platform::Array>& tableMetaDataObjects() const { return tableMetaDataObjects_; }
    void setTableMetaDataObjects(std::shared_ptr<platform::Array> objects) { tableMetaDataObjects_ = std::move(objects); }

    // -1 until the reply handler stores the reply's status.
    int httpResponseStatusCode() const { return httpResponseStatusCode_; }
    void setHttpResponseStatusCode(int status) { httpResponseStatusCode_ = status; }

    Objects::const_iterator begin() const { return objects_.begin(); }
    Objects::const_iterator end() const { return objects_.end(); }

private:
    Objects objects_;
    std::shared_ptr<HCPaginatedSeriesHeader> header_;
    std::shared_ptr<platform::Array> tableMetaDataObjects_;
    int httpResponseStatusCode_ = -1;
};

using HCPaginatedSeriesPtr = std::shared_ptr<HCPaginatedSeries>;
