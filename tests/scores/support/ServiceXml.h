#pragma once
// A reply document read through the name map of service S, as the provider
// reads a reply to S, with S running for the test.
//
// Thread: main thread.
#include <gtest/gtest.h>

#include <string>

#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"
#include "kernel/xml/HCXmlDocument.h"

namespace testsupport {

template <class S>
class ServiceXmlTest : public ::testing::Test {
protected:
    void SetUp() override { S::initializeService(); }
    void TearDown() override { S::shutdownService(); }

    static HCPaginatedSeriesPtr read(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        return HCResource::resourcesFromXml(*document, S::sharedInstance()->getKnownResources().get());
    }
};

}  // namespace testsupport
