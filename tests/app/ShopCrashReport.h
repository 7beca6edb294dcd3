#pragma once

#include <QString>
#include <string>

namespace quillet::test {

// The names a precise run gave a small shop app, as its QuilletNames.tsv holds them: two
// methods, an argument-less method, a property and two classes.
std::string shopNamesTable();
// What an older run of the same project wrote: its two methods only, as MethodReplaceList.txt.
std::string shopMethodList();

// A crash report of the renamed shop app, and the same report as the old build would have
// written it, by hand.
extern const QString renamedShopReport;
extern const QString originalShopReport;

} // namespace quillet::test
