#pragma once
// An ordered list of HTTP header fields with case-insensitive lookup.
//
// Order is kept because it is what went over the wire; repeated names (such
// as Set-Cookie) stay separate entries.
//
// Thread: a value; owned by one thread at a time.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class HttpHeaders {
public:
    using Field = std::pair<std::string, std::string>;

    void add(std::string name, std::string value);
    // Replaces every field of that name with one field, kept at the first one's place.
    void set(const std::string& name, std::string value);
    void remove(const std::string& name);
    void clear() { fields_.clear(); }

    // The value of the field; repeated fields are joined with ", ". nullopt when absent.
    std::optional<std::string> value(const std::string& name) const;
    // Every value of that name, in order.
    std::vector<std::string> values(const std::string& name) const;
    bool contains(const std::string& name) const;

    const std::vector<Field>& fields() const { return fields_; }
    size_t size() const { return fields_.size(); }
    bool empty() const { return fields_.empty(); }

private:
    std::vector<Field> fields_;
};

bool equalsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace platform
