#include "help_page.h"

#include <QRegularExpression>

#include "core/embedded_resources.h"

namespace tavlo::test {

QString HelpPageText() {
    const auto page = FindResource("INDEX.HTM", "23");
    if (!page) {
        return {};
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(page->data()),
                             static_cast<qsizetype>(page->size()));
}

QStringList AttributeValues(const QString& html, const QString& attribute) {
    const QRegularExpression pattern(QStringLiteral("\\s%1\\s*=\\s*\"([^\"]*)\"").arg(attribute),
                                     QRegularExpression::CaseInsensitiveOption);
    QStringList values;
    for (const auto& match : pattern.globalMatch(html)) {
        values << match.captured(1);
    }
    return values;
}

QStringList StyleUrls(const QString& html) {
    const QRegularExpression pattern(QStringLiteral("url\\(\\s*['\"]?([^'\")]*)['\"]?\\s*\\)"),
                                     QRegularExpression::CaseInsensitiveOption);
    QStringList values;
    for (const auto& match : pattern.globalMatch(html)) {
        values << match.captured(1);
    }
    return values;
}

std::vector<MapArea> MapAreas(const QString& html, const QString& mapName) {
    const QRegularExpression mapPattern(
        QStringLiteral("<map\\s[^>]*name=\"%1\"[^>]*>(.*?)</map>").arg(mapName),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch map = mapPattern.match(html);
    std::vector<MapArea> areas;
    if (!map.hasMatch()) {
        return areas;
    }
    const QRegularExpression areaPattern(QStringLiteral("<area\\s[^>]*>"));
    for (const auto& match : areaPattern.globalMatch(map.captured(1))) {
        const QString tag = QStringLiteral(" ") + match.captured(0).mid(5);
        const QStringList coords =
            AttributeValues(tag, QStringLiteral("coords")).value(0).split(QLatin1Char(','));
        QRect rect;
        if (coords.size() == 4) {
            rect = QRect(QPoint(coords[0].toInt(), coords[1].toInt()),
                         QPoint(coords[2].toInt() - 1, coords[3].toInt() - 1));
        }
        areas.push_back({rect, AttributeValues(tag, QStringLiteral("href")).value(0),
                         AttributeValues(tag, QStringLiteral("title")).value(0)});
    }
    return areas;
}

}  // namespace tavlo::test
