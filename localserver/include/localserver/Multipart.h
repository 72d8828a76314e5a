#pragma once
// A strict reader of multipart/form-data bodies. Pure functions; any thread.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace localserver {

struct MultipartPart {
    std::string name;
    std::optional<std::string> filename;  // present for file parts
    std::string contentType;              // empty when the part named none
    std::string bytes;
};

// The boundary parameter of a Content-Type value, quoted or not; nothing
// when the value is not multipart/form-data or has no boundary.
std::optional<std::string> multipartBoundary(std::string_view contentType);

// The parts in body order; nothing when the body does not follow the
// boundary framing or a part lacks a form-data name.
std::optional<std::vector<MultipartPart>> parseMultipart(std::string_view body, std::string_view boundary);

}  // namespace localserver
