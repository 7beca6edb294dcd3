#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/IcuPattern.h"

namespace quillet {

// Recognises a quoted import line such as `#import "NSString+Extra.h"` and gives the header name.
class ImportLineParser {
public:
    std::optional<std::string> headerName(std::string_view line);

private:
    text::IcuPattern line_{"^\\s*#import\\s*\"[a-zA-Z_][\\w+]+.h\"\\s*$"};
    // The name is the second run of characters that are neither white space nor a quote, so a
    // tab after #import works as well as a space.
    text::IcuPattern word_{"[^\\s\"]+"};
};

} // namespace quillet
