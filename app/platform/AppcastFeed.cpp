#include "AppcastFeed.h"

#include <QStringList>
#include <QXmlStreamReader>

namespace quillet::app {

namespace {

constexpr auto sparkle = "http://www.andymatuschak.org/xml-namespaces/sparkle";

// Reads one <item>; the reader stands on its start element.
AppcastItem readItem(QXmlStreamReader& reader) {
    AppcastItem item;
    QString shortVersion;
    while (reader.readNextStartElement()) {
        const auto name = reader.name();
        if (reader.namespaceUri() == QLatin1String(sparkle)) {
            const QString text = reader.readElementText().trimmed();
            if (name == QLatin1String("shortVersionString")) {
                shortVersion = text;
            } else if (name == QLatin1String("version")) {
                item.version = text;
            }
        } else if (name == QLatin1String("title")) {
            item.title = reader.readElementText().trimmed();
        } else if (name == QLatin1String("link")) {
            item.downloadPage = reader.readElementText().trimmed();
        } else if (name == QLatin1String("description")) {
            item.notes = reader.readElementText().trimmed();
        } else if (name == QLatin1String("enclosure")) {
            const auto attributes = reader.attributes();
            if (item.version.isEmpty()) {
                item.version = attributes.value(QLatin1String(sparkle), "version").toString();
            }
            if (item.downloadPage.isEmpty()) {
                item.downloadPage = attributes.value("url").toString();
            }
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (!shortVersion.isEmpty()) {
        item.version = shortVersion; // the version people see is the one compared
    }
    return item;
}

} // namespace

std::optional<AppcastItem> AppcastFeed::newestItem(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    std::optional<AppcastItem> newest;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("item")) {
            AppcastItem item = readItem(reader);
            if (!item.version.isEmpty() &&
                (!newest || compareVersions(item.version, newest->version) > 0)) {
                newest = std::move(item);
            }
        }
    }
    if (reader.hasError()) {
        return std::nullopt;
    }
    return newest;
}

int AppcastFeed::compareVersions(const QString& left, const QString& right) {
    const QStringList leftParts = left.split('.');
    const QStringList rightParts = right.split('.');
    for (qsizetype i = 0; i < std::max(leftParts.size(), rightParts.size()); ++i) {
        const qulonglong a = i < leftParts.size() ? leftParts[i].toULongLong() : 0;
        const qulonglong b = i < rightParts.size() ? rightParts[i].toULongLong() : 0;
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return 0;
}

} // namespace quillet::app
