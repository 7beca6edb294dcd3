#include "ObjcFileWriter.h"

#include <algorithm>
#include <cctype>

namespace quillet::bench {

namespace {

std::string valueFor(const std::string& type) {
    if (type == "BOOL") {
        return "YES";
    }
    if (type == "NSInteger" || type == "NSUInteger") {
        return "3";
    }
    if (type == "double" || type == "CGFloat") {
        return "0.25";
    }
    if (type == "NSString *") {
        return "@\"sample\"";
    }
    return "nil";
}

// Appends a line break and the indent that puts the colon after `label` under the first one,
// as Xcode aligns the parts of a long declaration or call.
void breakAligned(std::string& text, std::size_t firstColumn, const std::string& label) {
    text += '\n';
    text.append(firstColumn > label.size() ? firstColumn - label.size() : 4, ' ');
}

std::string baseOf(const PlannedClass& planned) {
    const auto plus = planned.name.find('+');
    return plus == std::string::npos ? planned.name : planned.name.substr(0, plus);
}

// "orderStore" for "ORDOrderStore": the class name past its prefix, lowerCamel, so each class's
// properties have names of their own.
std::string propertyStem(const std::string& className) {
    std::size_t start = 0;
    while (start + 1 < className.size() &&
           std::isupper(static_cast<unsigned char>(className[start + 1])) != 0) {
        ++start;
    }
    std::string stem = className.substr(start);
    stem[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(stem[0])));
    return stem;
}

std::string protocolOf(const std::string& className) {
    return className + "Resetting";
}

const std::vector<std::string> kComments = {
    "// Keep the order stable: the list view relies on it.",
    "// 刷新数据之前先检查缓存。",
    "// TODO: move this to the background queue once the store is thread-safe.",
    "/* The server sends dates as seconds since 1970; see the API notes. */",
    "// Called from both the cell and the controller; keep it cheap.",
    "// 注意：这里的顺序不能改变。"};

} // namespace

void ObjcFileWriter::Out::line(const std::string& content) {
    text += content;
    text += '\n';
    ++lines;
}

ObjcFileWriter::ObjcFileWriter(const CorpusPlan& plan, std::uint64_t seed, bool selectorsInText)
    : plan_(plan), random_(seed ^ 0x9e3779b97f4a7c15ULL), selectorsInText_(selectorsInText),
      ownerOfMethod_(plan.methods().size()) {
    for (std::size_t c = 0; c < plan.classes().size(); ++c) {
        for (const auto m : plan.classes()[c].methods) {
            ownerOfMethod_[m] = c;
        }
    }
}

std::size_t ObjcFileWriter::pickFrom(const std::vector<std::size_t>& values) {
    return values[random_.uniform(static_cast<std::uint32_t>(values.size()))];
}

bool ObjcFileWriter::chance(int percent) {
    return static_cast<int>(random_.uniform(100)) < percent;
}

std::string ObjcFileWriter::declaration(const PlannedMethod& method, bool asDefinition) const {
    std::string text = std::string(method.classMethod ? "+ (" : "- (") + method.returnType + ")";
    const std::size_t firstColumn = text.size() + method.arguments.front().label.size();
    for (std::size_t k = 0; k < method.arguments.size(); ++k) {
        const auto& argument = method.arguments[k];
        if (k > 0) {
            if (method.multiLine) {
                breakAligned(text, firstColumn, argument.label);
            } else {
                text += ' ';
            }
        }
        text += argument.label + ":(" + argument.type + ")" + argument.name;
    }
    return text + (asDefinition ? " {" : ";");
}

std::string ObjcFileWriter::receiverFor(std::size_t method) const {
    const auto& owner = plan_.classes()[ownerOfMethod_[method]];
    if (plan_.methods()[method].classMethod) {
        return owner.name.find('+') == std::string::npos ? owner.name : baseOf(owner);
    }
    return "self.peer";
}

std::string ObjcFileWriter::call(const PlannedMethod& method, const std::string& receiver,
                                 const std::string& indent) {
    const bool split = method.arguments.size() >= 2 && chance(25);
    std::string text = indent + "[" + receiver + " ";
    const std::size_t firstColumn = text.size() + method.arguments.front().label.size();
    for (std::size_t k = 0; k < method.arguments.size(); ++k) {
        const auto& argument = method.arguments[k];
        if (k > 0) {
            if (split) {
                breakAligned(text, firstColumn, argument.label);
            } else {
                text += ' ';
            }
        }
        text += argument.label + ":" + valueFor(argument.type);
    }
    return text + "];";
}

std::vector<std::size_t> ObjcFileWriter::visibleMethods(const PlannedClass& planned) const {
    std::vector<std::size_t> visible = planned.methods;
    auto addClass = [&](std::size_t c) {
        const auto& methods = plan_.classes()[c].methods;
        visible.insert(visible.end(), methods.begin(), methods.end());
    };
    for (const auto c : planned.headerImports) {
        addClass(c);
    }
    for (const auto c : planned.sourceImports) {
        addClass(c);
    }
    for (const auto m : planned.umbrellaImports) {
        for (const auto c : plan_.modules()[m].classes) {
            addClass(c);
        }
    }
    return visible;
}

std::string ObjcFileWriter::header(std::size_t classIndex) {
    const auto& planned = plan_.classes()[classIndex];
    const auto& module = plan_.modules()[planned.module];
    Out out;
    out.line("//");
    out.line("//  " + planned.name + ".h");
    out.line("//  " + module.name);
    out.line("//");
    out.line("");
    out.line(planned.name.starts_with("UI") ? "#import <UIKit/UIKit.h>"
                                            : "#import <Foundation/Foundation.h>");
    for (const auto c : planned.headerImports) {
        out.line("#import \"" + plan_.classes()[c].name + ".h\"");
    }
    out.line("");
    out.line("NS_ASSUME_NONNULL_BEGIN");
    out.line("");
    const bool isCategory = planned.name.find('+') != std::string::npos;
    if (!isCategory) {
        out.line("@protocol " + protocolOf(planned.name) + " <NSObject>");
        out.line("- (void)reset;");
        out.line("@end");
        out.line("");
    }
    out.line("/// Part of " + module.name + ".");
    out.line("@interface " + planned.interface +
             (isCategory ? std::string() : " <" + protocolOf(planned.name) + ">"));
    if (!isCategory) {
        const std::string stem = propertyStem(planned.name);
        out.line("");
        out.line("@property (nonatomic, copy) NSString *title;");
        out.line("@property (nonatomic, strong, nullable) id peer;");
        out.line("@property (nonatomic, assign) NSInteger " + stem + "Count;");
        out.line("@property (nonatomic, copy, nullable) NSString *" + stem + "Note;");
        out.line("");
        out.line("- (instancetype)initWithTitle:(NSString *)title;");
        out.line("- (void)setNeedsReload:(BOOL)needsReload;");
    }
    out.line("");
    for (const auto m : planned.methods) {
        const auto& method = plan_.methods()[m];
        if (chance(40)) {
            out.line("/**");
            out.line(" * Called by the " + module.name + " screens" +
                     (selectorsInText_ ? "; see " + method.selector() : std::string()) + ".");
            out.line(" */");
        }
        out.line(declaration(method, false));
        out.lines += static_cast<std::size_t>(method.multiLine) * (method.arguments.size() - 1);
    }
    if (chance(50)) {
        out.line("- (void)performBatchWithHandler:(void (^)(BOOL finished))handler;");
    }
    out.line("- (void)reset;");
    out.line("");
    out.line("@end");
    out.line("");
    out.line("NS_ASSUME_NONNULL_END");
    return out.text;
}

void ObjcFileWriter::definition(Out& out, const PlannedMethod& method,
                                const std::vector<std::size_t>& visible) {
    out.text += declaration(method, true) + "\n";
    out.lines += 1 + static_cast<std::size_t>(method.multiLine) * (method.arguments.size() - 1);
    out.line("    if (!" + method.arguments.front().name + ") {");
    out.line("        NSLog(@\"" + method.selector() + " got nothing\");");
    out.line("    }");
    const auto& callee = plan_.methods()[pickFrom(visible)];
    const std::string text = call(callee, "self.peer", "    ");
    out.line(text);
    out.lines += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    if (method.returnType != "void") {
        out.line(std::string("    return ") +
                 (method.returnType == "BOOL"        ? "NO"
                  : method.returnType == "NSInteger" ? "0"
                  : method.returnType == "double"    ? "0.0"
                                                     : "nil") +
                 ";");
    }
    out.line("}");
    out.line("");
}

void ObjcFileWriter::helperMethod(Out& out, std::size_t number,
                                  const std::vector<std::size_t>& visible,
                                  const PlannedClass& owner) {
    out.line("- (void)q_step" + std::to_string(number) + " {");
    if (chance(40)) {
        out.line("    " + kComments[random_.uniform(static_cast<std::uint32_t>(kComments.size()))]);
    }
    out.line("    NSInteger attempts = " + std::to_string(number % 5) + ";");
    out.line("    if (attempts > 2) {");
    const std::size_t calls = 2 + random_.uniform(3);
    for (std::size_t k = 0; k < calls; ++k) {
        const std::size_t m = pickFrom(visible);
        const auto& method = plan_.methods()[m];
        std::string text;
        switch (random_.uniform(6)) {
        case 0:
            text = "        [self.peer performSelector:@selector(" + method.selector() +
                   ") withObject:nil afterDelay:0];";
            break;
        case 1:
            text = "        if ([self.peer respondsToSelector:@selector(" + method.selector() +
                   ")]) { attempts++; }";
            break;
        default:
            text = call(method, receiverFor(m), "        ");
        }
        out.line(text);
        out.lines += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    out.line("    } else {");
    if (chance(10)) {
        // A selector this file cannot see: its class is not imported here.
        const auto& stranger =
            plan_.methods()[random_.uniform(static_cast<std::uint32_t>(plan_.methods().size()))];
        if (selectorsInText_) {
            out.line("        SEL later = NSSelectorFromString(@\"" + stranger.selector() + "\");");
            out.line("        (void)later;");
        }
    }
    out.line("        NSLog(@\"%@ step " + std::to_string(number) + " skipped\", @\"" +
             owner.implementation + "\");");
    out.line("    }");
    out.line("    dispatch_async(dispatch_get_main_queue(), ^{");
    out.line("        [self reset];");
    out.line("    });");
    out.line("}");
    out.line("");
}

std::string ObjcFileWriter::implementation(std::size_t classIndex) {
    const auto& planned = plan_.classes()[classIndex];
    const std::vector<std::size_t> visible = visibleMethods(planned);
    Out out;
    out.line("//");
    out.line("//  " + planned.name + (planned.objectiveCpp ? ".mm" : ".m"));
    out.line("//");
    out.line("");
    out.line("#import \"" + planned.name + ".h\"");
    for (const auto c : planned.sourceImports) {
        out.line("#import \"" + plan_.classes()[c].name + ".h\"");
    }
    for (const auto m : planned.umbrellaImports) {
        out.line("#import \"" + plan_.modules()[m].name + ".h\"");
    }
    out.line("");
    const bool isCategory = planned.name.find('+') != std::string::npos;
    if (!isCategory) {
        out.line("@interface " + planned.implementation + " ()");
        out.line("@property (nonatomic, strong) NSMutableDictionary *storage;");
        out.line("@end");
        out.line("");
    }
    out.line("@implementation " + planned.implementation);
    out.line("");
    if (!isCategory) {
        out.line("- (instancetype)initWithTitle:(NSString *)title {");
        out.line("    self = [super init];");
        out.line("    if (self) {");
        out.line("        _title = [title copy];");
        out.line("    }");
        out.line("    return self;");
        out.line("}");
        out.line("");
    }
    for (const auto m : planned.methods) {
        definition(out, plan_.methods()[m], visible);
    }
    const std::size_t target = 2 * plan_.linesPerFile();
    const std::size_t headerLines = 24 + 2 * planned.methods.size();
    for (std::size_t number = 1; out.lines + 3 + headerLines < target; ++number) {
        helperMethod(out, number, visible, planned);
    }
    out.line("- (void)reset {");
    if (!isCategory) {
        // Each kind of name a class dump shows, used as apps use it.
        const std::string stem = propertyStem(planned.implementation);
        out.line("    self." + stem + "Count += 1;");
        out.line("    [self setValue:self." + stem + "Note forKey:@\"" + stem + "Note\"];");
        out.line("    if ([self.peer conformsToProtocol:@protocol(" +
                 protocolOf(planned.implementation) + ")]) {");
        out.line("        [(id<" + protocolOf(planned.implementation) + ">)self.peer reset];");
        out.line("    }");
    }
    out.line("}");
    out.line("");
    out.line("@end");
    return out.text;
}

std::string ObjcFileWriter::umbrella(std::size_t moduleIndex) const {
    const auto& module = plan_.modules()[moduleIndex];
    std::string text = "// Everything " + module.name + " offers, for one import.\n\n";
    for (const auto c : module.classes) {
        text += "#import \"" + plan_.classes()[c].name + ".h\"\n";
    }
    return text;
}

} // namespace quillet::bench
