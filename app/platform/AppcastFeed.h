#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillet::app {

// One release listed in an update feed.
struct AppcastItem {
    QString version;
    QString title;
    QString downloadPage; // the item's link, else its enclosure's address
    QString notes;        // HTML
};

// A QXmlStreamReader parser; named after the appcasts of Sparkle, the macOS updater.
// Reads the update feed (an RSS channel with the Sparkle version elements) the service serves.
class AppcastFeed {
public:
    // The newest release in `xml`, or none when the feed lists none or is not a feed.
    static std::optional<AppcastItem> newestItem(const QByteArray& xml);
    // Compares dotted versions part by part as numbers; missing parts count as 0.
    static int compareVersions(const QString& left, const QString& right);
};

} // namespace quillet::app
