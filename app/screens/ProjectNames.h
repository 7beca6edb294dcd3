#pragma once

#include <QString>
#include <memory>

namespace quillet {
class NameTranslation;
}

namespace quillet::app {

// The names a project's last rename gave, for reading the renamed app's crash reports:
// QuilletNames.tsv, or MethodReplaceList.txt where an older run wrote only that.
class ProjectNames {
public:
    static const QString tableFile;
    static const QString methodListFile;

    // Reads the names file of the folder `project`. A QuilletNames.tsv that does not read is
    // reported, not passed over for the method list: that would put back only some names.
    static ProjectNames of(const QString& project);

    // The translation of the names file, when there is one that reads.
    std::shared_ptr<const quillet::NameTranslation> translation() const { return translation_; }
    // Which names file is used and how many names it holds, or why there is none to use.
    const QString& summary() const { return summary_; }

private:
    ProjectNames(std::shared_ptr<const quillet::NameTranslation> translation, QString summary);

    std::shared_ptr<const quillet::NameTranslation> translation_;
    QString summary_;
};

} // namespace quillet::app
