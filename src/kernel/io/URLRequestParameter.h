#pragma once
// One parameter of a service request: a name with a text value, or a name with
// a binary value and its data type (the file extension that a multipart form
// puts in the part's file name).
//
// Thread: a plain value; copy it freely between threads.
#include <cstdint>
#include <string>
#include <vector>

class URLRequestParameter {
public:
    URLRequestParameter(std::string name, std::string value);
    URLRequestParameter(std::string name, std::vector<uint8_t> blob, std::string dataType);

    const std::string& name() const { return name_; }
    // The text of a text parameter; empty for a binary one.
    const std::string& value() const { return value_; }
    bool isBinary() const { return isBinary_; }
    const std::vector<uint8_t>& blob() const { return blob_; }
    const std::string& dataType() const { return dataType_; }

    bool operator==(const URLRequestParameter& other) const = default;

private:
    std::string name_;
    std::string value_;
    bool isBinary_ = false;
    std::vector<uint8_t> blob_;
    std::string dataType_;
};
