#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "http/HttpResponse.h"

namespace quillet::service {

// The web site's files: the help pages under pages/ and the update feed appcast.xml.
class SiteFiles {
public:
    explicit SiteFiles(std::string folder) : folder_(std::move(folder)) {}

    bool present() const { return !folder_.empty(); }
    // The page named by `encodedName`, the percent-encoded rest of the path after
    // "/index.php/". Nothing when there is no such file, or when the decoded name could reach
    // outside pages/ or hides a NUL byte.
    std::optional<HttpResponse> page(std::string_view encodedName) const;
    std::optional<HttpResponse> feed() const;

private:
    std::optional<HttpResponse> file(const std::string& relative, std::string contentType) const;

    std::string folder_;
};

} // namespace quillet::service
