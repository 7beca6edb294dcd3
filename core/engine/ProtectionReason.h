#pragma once

#include <string>

namespace quillet {

// Why a selector is never renamed. The user sees it (`quillet-cli methods`), so it names the
// header, file or class that decided it.
struct ProtectionReason {
    enum class Kind {
        sdk,                // the platform SDK declares it
        runtime,            // the runtime or Foundation calls it by name
        foreignHeader,      // declared in a header that is not one of the project's classes
        ignoredFile,        // used in a file under an ignored prefix, which is never rewritten
        unparsedFile,       // used in a file that could not be read as Objective-C, left as it is
        superCall,          // sent to super where the superclass is not the project's
        userList,           // the user asked for it
        swiftUse,           // Swift code, which is never rewritten, names it
        implementedOutside, // declared for a class the project never implements, defined nowhere
        privateFramework,   // a framework class has it, and calls it: the project only overrides
        macroFormed,        // a macro forms it in a way no rename can follow (pasting, ...)
        fixedText,          // named where it cannot be rewritten, as in a compiled nib
        unreadableSource,   // declared beside a source that could not be read
        propertyName,       // argument-less, and a property's name or getter
        otherName,          // argument-less, and written as another name: a variable, ...
        keyString,          // argument-less, and a string names it: a key-value coding key, ...
        definedNowhere,     // argument-less, declared but not defined: the runtime provides it
        archivedName,       // a class whose objects are archived (NSCoding) under its name
        resourceName,       // a class a nib or a Core Data entity is named after
        typeString,         // a class or protocol a string names where a rename cannot follow
        sharedName,         // a class or protocol name that also names something else
    };
    Kind kind = Kind::sdk;
    std::string detail; // the header, file or class, and what is wrong with it

    std::string describe() const;
};

} // namespace quillet
