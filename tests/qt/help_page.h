#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

// The help page as the program carries it, taken apart for the tests.
namespace tavlo::test {

QString HelpPageText();

// Every value of the attribute in the page ("src", "href", "id", ...), in order.
QStringList AttributeValues(const QString& html, const QString& attribute);

// Every address inside a style's url(...), in order.
QStringList StyleUrls(const QString& html);

struct MapArea {
    QRect rect;  // from the coords "left,top,right,bottom" (right and bottom exclusive)
    QString href;
    QString title;
};

// The <area> elements of the <map> of this name.
std::vector<MapArea> MapAreas(const QString& html, const QString& mapName);

}  // namespace tavlo::test
