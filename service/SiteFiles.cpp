#include "SiteFiles.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "http/UrlText.h"

namespace quillet::service {

namespace {

bool isSafeName(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos ||
        name.find('\\') != std::string_view::npos) {
        return false;
    }
    while (!name.empty()) {
        const auto slash = name.find('/');
        const auto segment = name.substr(0, slash);
        if (segment.empty() || segment == "." || segment == "..") {
            return false;
        }
        name = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
    }
    return true;
}

std::string contentTypeOf(const std::string& name) {
    const auto extension = std::filesystem::path(name).extension().string();
    if (extension == ".html" || extension == ".htm") {
        return "text/html; charset=utf-8";
    }
    if (extension == ".css") {
        return "text/css; charset=utf-8";
    }
    if (extension == ".js") {
        return "text/javascript; charset=utf-8";
    }
    if (extension == ".png") {
        return "image/png";
    }
    if (extension == ".svg") {
        return "image/svg+xml";
    }
    if (extension == ".jpg" || extension == ".jpeg") {
        return "image/jpeg";
    }
    return "application/octet-stream";
}

} // namespace

std::optional<HttpResponse> SiteFiles::page(std::string_view encodedName) const {
    const auto name = percentDecoded(encodedName, false);
    if (!name || !isSafeName(*name)) {
        return std::nullopt;
    }
    return file("pages/" + *name, contentTypeOf(*name));
}

std::optional<HttpResponse> SiteFiles::feed() const {
    return file("appcast.xml", "application/xml; charset=utf-8");
}

std::optional<HttpResponse> SiteFiles::file(const std::string& relative,
                                            std::string contentType) const {
    if (folder_.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path path = std::filesystem::path(folder_) / relative;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in) {
        return std::nullopt;
    }
    HttpResponse response;
    response.contentType = std::move(contentType);
    response.body = content.str();
    return response;
}

} // namespace quillet::service
