#include "SdkHeaders.h"

#include <fstream>
#include <string>
#include <vector>

#include "random/RandomSource.h"

namespace quillet::bench {

namespace {

const std::vector<std::string> words = {
    "view",   "layer",    "color",   "image",   "session", "request", "item",   "index",
    "frame",  "bounds",   "data",    "string",  "object",  "value",   "key",    "path",
    "action", "target",   "content", "offset",  "style",   "font",    "scroll", "animation",
    "cell",   "section",  "row",     "window",  "scene",   "context", "buffer", "device",
    "format", "duration", "delay",   "options", "handler", "error",   "state",  "mode"};

const char* license = "//\n//  Copyright (c) 2008-2026 The SDK authors. All rights reserved.\n"
                      "//\n//  Redistribution and use in source and binary forms, with or "
                      "without modification,\n//  are permitted provided that the conditions "
                      "in the accompanying notice are met.\n//\n\n";

std::string capitalised(std::string word) {
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

class HeaderWriter {
public:
    explicit HeaderWriter(std::uint64_t seed) : random_(seed) {}

    std::string header(const std::string& framework, const std::string& name) {
        std::string text = license;
        text += "#import <Foundation/NSObject.h>\n#import <" + framework + "/" + framework +
                "Defines.h>\n\nNS_ASSUME_NONNULL_BEGIN\n\n";
        text += "typedef NS_ENUM(NSInteger, " + name + "Style) {\n";
        for (int i = 0; i < 5; ++i) {
            text += "    " + name + "Style" + capitalised(word()) + " = " + std::to_string(i) +
                    ", // the " + word() + "'s look\n";
        }
        text += "} API_AVAILABLE(ios(" + std::to_string(8 + pick(10)) + ".0));\n\n";
        text += "@protocol " + name + "Delegate <NSObject>\n@optional\n";
        for (int i = 0; i < 6; ++i) {
            text += method("(void)" + lower(name) + ":(" + name + " *)" + lower(name)) + "\n";
        }
        text += "@end\n\n";
        text += "/// " + name + " manages a " + word() + " and its " + word() + "s.\n";
        text += "API_AVAILABLE(macos(10.10), ios(8.0)) NS_SWIFT_UI_ACTOR\n";
        text += "@interface " + name + " : NSObject <NSCopying, NSSecureCoding>\n\n";
        for (int i = 0; i < 10; ++i) {
            text += "@property (nonatomic, copy, nullable) NSString *" + word() +
                    capitalised(word()) + " API_AVAILABLE(ios(9.0));\n";
        }
        text += "@property (nonatomic, weak, nullable) id<" + name + "Delegate> delegate;\n\n";
        for (int i = 0; i < 25; ++i) {
            text += "/**\n * Returns the " + word() + " for the given " + word() + ".\n * @param " +
                    word() + " The " + word() + " to use; see -" + word() + ":.\n */\n";
            text += method(pick(4) == 0 ? "(instancetype)" : "(nullable id)") + "\n";
        }
        text += "- (instancetype)init NS_UNAVAILABLE;\n@end\n\n";
        text += "@interface NSObject (" + name + "Additions)\n";
        for (int i = 0; i < 4; ++i) {
            text += method("(BOOL)") + "\n";
        }
        text += "@end\n\nNS_ASSUME_NONNULL_END\n";
        return text;
    }

private:
    int pick(int n) { return static_cast<int>(random_.uniform(static_cast<std::uint32_t>(n))); }
    const std::string& word() {
        return words[random_.uniform(static_cast<std::uint32_t>(words.size()))];
    }
    static std::string lower(std::string name) {
        name[0] = static_cast<char>(name[0] - 'A' + 'a');
        return name;
    }

    // A declaration of one to four keywords after `returns`, with the attributes SDKs add.
    std::string method(const std::string& returns) {
        std::string text = (pick(5) == 0 ? "+ " : "- ") + returns;
        const int keywords = 1 + pick(4);
        for (int k = 0; k < keywords; ++k) {
            text += (k == 0  ? ""
                     : k % 2 ? "\n    "
                             : " ") +
                    word() + capitalised(word()) + ":(nullable " +
                    (pick(3) == 0 ? "void (^)(NSError *)" : "NSString *") + ")" + word() +
                    std::to_string(k);
        }
        switch (pick(4)) {
        case 0:
            text += " API_AVAILABLE(ios(13.0)) NS_SWIFT_NAME(" + word() + "(_:))";
            break;
        case 1:
            text += " API_DEPRECATED_WITH_REPLACEMENT(\"-" + word() + ":\", ios(2.0, 13.0))";
            break;
        default:
            break;
        }
        return text + ";";
    }

    SeededRandom random_;
};

} // namespace

std::uintmax_t writeSdkHeaders(const std::filesystem::path& root, std::size_t count,
                               std::uint64_t seed) {
    HeaderWriter writer(seed);
    std::uintmax_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string framework = "Kit" + std::to_string(i / 40);
        const std::string name = "SDK" + capitalised(words[i % words.size()]) + std::to_string(i);
        const auto folder =
            root / "System/Library/Frameworks" / (framework + ".framework") / "Headers";
        std::filesystem::create_directories(folder);
        const std::string text = writer.header(framework, name);
        std::ofstream(folder / (name + ".h"), std::ios::binary) << text;
        bytes += text.size();
    }
    return bytes;
}

} // namespace quillet::bench
