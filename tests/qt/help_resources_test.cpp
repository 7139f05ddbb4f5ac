// What the program carries for the two commands: the help page, its pictures and the default
// settings file, found by name in any letter case; the page's structure, links and image maps;
// the pictures' format and sizes; and the generators that made the pictures.
#include <QImage>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <fstream>
#include <iterator>

#include "core/embedded_resources.h"
#include "help_page.h"
#include "support/qt/test_registry.h"
#include "tools/help_pictures/dialog_pictures.h"
#include "tools/help_pictures/gif_file.h"
#include "tools/help_pictures/help_decorations.h"
#include "workflow/help_flow.h"

namespace tavlo::test {

namespace {

QByteArray Resource(const char* name, const char* type) {
    const auto resource = FindResource(name, type);
    return resource ? QByteArray(reinterpret_cast<const char*>(resource->data()),
                                 static_cast<qsizetype>(resource->size()))
                    : QByteArray();
}

QByteArray Bytes(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

QByteArray BuiltFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return QByteArray::fromStdString(bytes);
}

QByteArray SourceFile(const std::string& relativePath) {
    return BuiltFile(std::string(TAVLO_SOURCE_DIR) + "/" + relativePath);
}

struct Picture {
    const char* name;
    int width;
    int height;
};
constexpr Picture kPictures[] = {
    {"SCREEN1.GIF", 486, 184},
    {"SCREEN2.GIF", 494, 355},
    {"ZERBUL1A.GIF", 15, 15},
    {"ZERTXTR.GIF", 216, 18},
};

int Word(const QByteArray& bytes, int at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// Every area lies on the picture, links to a place on the page and has a one-line tooltip.
void CheckMap(const QString& page, const QString& mapName, QSize pictureSize, int count) {
    const std::vector<MapArea> areas = MapAreas(page, mapName);
    QCOMPARE(static_cast<int>(areas.size()), count);
    const QStringList ids = AttributeValues(page, QStringLiteral("id"));
    for (const MapArea& area : areas) {
        QVERIFY2(!area.rect.isEmpty() && QRect(QPoint(0, 0), pictureSize).contains(area.rect),
                 qPrintable(area.href));
        QVERIFY2(!area.title.trimmed().isEmpty() && !area.title.contains(QLatin1Char('\n')),
                 qPrintable(area.href));
        QVERIFY2(area.href.startsWith(QLatin1Char('#')) && ids.contains(area.href.mid(1)),
                 qPrintable(area.href));
    }
}

// The page's areas lie on the controls of the dialogs as the program draws them now.
void CheckMapAgainstDialog(const QString& page, const QString& mapName,
                           const tools::DialogShot& framed) {
    const std::vector<MapArea> areas = MapAreas(page, mapName);
    QCOMPARE(areas.size(), framed.regions.size());
    constexpr int kTolerance = 3;  // pixels: a font's rounding, not a different control
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const tools::PictureRegion& control = framed.regions[i];
        QCOMPARE(areas[i].href, QLatin1Char('#') + control.anchor);
        QCOMPARE(areas[i].title, control.tooltip);
        const QRect& a = areas[i].rect;
        const QRect& c = control.rect;
        const bool close = std::abs(a.left() - c.left()) <= kTolerance &&
                           std::abs(a.top() - c.top()) <= kTolerance &&
                           std::abs(a.right() - c.right()) <= kTolerance &&
                           std::abs(a.bottom() - c.bottom()) <= kTolerance;
        QVERIFY2(close, qPrintable(QStringLiteral("%1: page %2,%3 %4x%5, control %6,%7 %8x%9")
                                       .arg(control.anchor)
                                       .arg(a.x())
                                       .arg(a.y())
                                       .arg(a.width())
                                       .arg(a.height())
                                       .arg(c.x())
                                       .arg(c.y())
                                       .arg(c.width())
                                       .arg(c.height())));
    }
}

}  // namespace

class HelpResourcesTest : public QObject {
    Q_OBJECT

private slots:
    void carriedAndFoundInAnyLetterCase() {
        for (const HelpFile& file : HelpFiles()) {
            const QByteArray bytes = Resource(file.resourceName, file.resourceType);
            QVERIFY2(!bytes.isEmpty(), file.resourceName);
            const QByteArray lower = QByteArray(file.resourceName).toLower();
            QCOMPARE(Resource(lower.constData(), QByteArray(file.resourceType).toLower()), bytes);
            // The file the page links is the resource of that name.
            QCOMPARE(QByteArray(file.relativePath).split('/').last(), lower);
            if (std::string(file.relativePath) != "index.htm") {
                QCOMPARE(SourceFile(std::string("resources/help/") + file.relativePath), bytes);
            }
        }
        // The page as the build wrote it for this platform from resources/help/index.htm.
        QCOMPARE(Resource("index.htm", "23"), BuiltFile(TAVLO_HELP_PAGE));
        const QByteArray settings = Resource("TAVLO.CFG", "RT_TAVLO");
        QVERIFY(!settings.isEmpty());
        QCOMPARE(Resource("tavlo.cfg", "rt_tavlo"), settings);
        QCOMPARE(settings, SourceFile("resources/tavlo.cfg"));
        QVERIFY(Resource("index.htm", "IMG").isEmpty());  // the type counts too
    }

    void picturesAreGif89aOfTheirSizes() {
        for (const Picture& picture : kPictures) {
            const QByteArray bytes = Resource(picture.name, "IMG");
            QVERIFY2(bytes.startsWith("GIF89a"), picture.name);
            QCOMPARE(Word(bytes, 6), picture.width);
            QCOMPARE(Word(bytes, 8), picture.height);
            QImage image;
            QVERIFY2(image.loadFromData(bytes, "GIF"), picture.name);
            QCOMPARE(image.size(), QSize(picture.width, picture.height));
        }
    }

    // The committed bullet and tile are what the generator draws.
    void decorationsMatchTheirGenerator() {
        for (const auto& [name, drawing] :
             {std::pair{"ZERBUL1A.GIF", tools::DrawListBullet()},
              std::pair{"ZERTXTR.GIF", tools::DrawBackgroundTile()}}) {
            QCOMPARE(Resource(name, "IMG"),
                     Bytes(tools::EncodeGif(drawing.picture, drawing.colourCount,
                                            drawing.transparentIndex)));
        }
        // The bullet's corners are transparent, its middle is not; the tile is dark.
        QImage bullet;
        QVERIFY(bullet.loadFromData(Resource("ZERBUL1A.GIF", "IMG"), "GIF"));
        QCOMPARE(bullet.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(bullet.pixelColor(7, 7).alpha(), 255);
        QImage tile;
        QVERIFY(tile.loadFromData(Resource("ZERTXTR.GIF", "IMG"), "GIF"));
        for (int y = 0; y < tile.height(); ++y) {
            for (int x = 0; x < tile.width(); ++x) {
                QVERIFY(tile.pixelColor(x, y).lightness() < 40);
            }
        }
    }

    // Pictures of every palette size come back pixel for pixel through a real GIF reader, over
    // many clear codes.
    void gifEncoderRoundTrip_data() {
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("transparent");
        for (const int colours : {2, 3, 4, 5, 16, 17, 100, 256}) {
            QTest::addRow("%d colours", colours) << colours << -1;
        }
        QTest::newRow("transparent") << 7 << 3;
    }
    void gifEncoderRoundTrip() {
        QFETCH(int, colours);
        QFETCH(int, transparent);
        QRandomGenerator random(static_cast<quint32>(colours));
        IndexedPicture picture;
        picture.width = 53;
        picture.height = 37;
        for (int i = 0; i < colours; ++i) {
            picture.palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                  static_cast<std::uint8_t>(random.bounded(256))};
        }
        for (int i = 0; i < picture.width * picture.height; ++i) {
            // Runs of one colour and single pixels alike.
            picture.pixels.push_back(static_cast<std::uint8_t>(
                i % 97 < 40 ? (i / 97) % colours : random.bounded(colours)));
        }
        const auto transparentIndex =
            transparent < 0 ? std::nullopt : std::optional(static_cast<std::uint8_t>(transparent));
        QImage image;
        QVERIFY(
            image.loadFromData(Bytes(tools::EncodeGif(picture, colours, transparentIndex)), "GIF"));
        QCOMPARE(image.size(), QSize(picture.width, picture.height));
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const std::uint8_t index = picture.pixels[y * picture.width + x];
                const QColor got = image.pixelColor(x, y);
                if (transparentIndex && index == *transparentIndex) {
                    QCOMPARE(got.alpha(), 0);
                    continue;
                }
                const Rgb want = picture.palette[index];
                QCOMPARE(got.rgb(), qRgb(want.red, want.green, want.blue));
            }
        }
    }

    void pageStructure() {
        const QString page = HelpPageText();
        QVERIFY(!page.isEmpty());
        QCOMPARE(page.count(QStringLiteral("<h1")), 1);
        // Each question of the page is a second-level heading.
        const QStringList questions = {QStringLiteral("What is new in version"),
                                       QStringLiteral("What was new in version"),
                                       QStringLiteral("Why Tavlo?"),
                                       QStringLiteral("What is Tavlo and how does it work?"),
                                       QStringLiteral("Where do I get Tavlo?"),
                                       QStringLiteral("What does it cost?"),
                                       QStringLiteral("How should I go about it?"),
                                       QStringLiteral("Are there any drawbacks?"),
                                       QStringLiteral("Does it work with other devices?"),
                                       QStringLiteral("My receiver speaks another language"),
                                       QStringLiteral("What is the settings file for?"),
                                       QStringLiteral("Can Tavlo save my settings?"),
                                       QStringLiteral("How do I view this help?"),
                                       QStringLiteral("Where can I find out more?")};
        QCOMPARE(page.count(QStringLiteral("<h2")), questions.size());
        for (const QString& question : questions) {
            QVERIFY2(page.contains(QRegularExpression(QStringLiteral("<h2[^>]*>") +
                                                      QRegularExpression::escape(question))),
                     qPrintable(question));
        }
        // White on black, the tile behind and the bullets in front.
        QVERIFY(page.contains(QStringLiteral("background: #000 url(img/zertxtr.gif)")));
        QVERIFY(page.contains(QStringLiteral("color: #fff;")));
        QVERIFY(page.contains(QStringLiteral("list-style-image: url(img/zerbul1a.gif)")));
        QCOMPARE(
            AttributeValues(page, QStringLiteral("src")),
            (QStringList{QStringLiteral("img/screen1.gif"), QStringLiteral("img/screen2.gif")}));
        QCOMPARE(
            AttributeValues(page, QStringLiteral("usemap")),
            (QStringList{QStringLiteral("#mainDialogMap"), QStringLiteral("#patchDialogMap")}));
        QCOMPARE(AttributeValues(page, QStringLiteral("width")),
                 (QStringList{QStringLiteral("486"), QStringLiteral("494")}));
        QCOMPARE(AttributeValues(page, QStringLiteral("height")),
                 (QStringList{QStringLiteral("184"), QStringLiteral("355")}));
    }

    void pageRefersToNothingOutsideIt() {
        const QString page = HelpPageText();
        const QStringList ids = AttributeValues(page, QStringLiteral("id"));
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());  // anchors unique
        const QSet<QString> pictures = {
            QStringLiteral("img/screen1.gif"), QStringLiteral("img/screen2.gif"),
            QStringLiteral("img/zerbul1a.gif"), QStringLiteral("img/zertxtr.gif")};
        QStringList links = AttributeValues(page, QStringLiteral("href"));
        links << AttributeValues(page, QStringLiteral("src")) << StyleUrls(page)
              << AttributeValues(page, QStringLiteral("background"))
              << AttributeValues(page, QStringLiteral("action"));
        QVERIFY(links.size() > 20);
        for (const QString& link : links) {
            const bool inPage = link.startsWith(QLatin1Char('#')) && ids.contains(link.mid(1));
            QVERIFY2(inPage || pictures.contains(link), qPrintable(link));
        }
        for (const char* outside :
             {"http:", "https:", "ftp:", "mailto:", "www.", "//", "@import"}) {
            // "//" would be a protocol-relative address.
            QVERIFY2(!page.contains(QLatin1String(outside), Qt::CaseInsensitive), outside);
        }
        for (const char* program : {"Internet Explorer", "Notepad", "xdg-open", "Chromium"}) {
            QVERIFY2(!page.contains(QLatin1String(program), Qt::CaseInsensitive), program);
        }
    }

    void imageMapsHaveSevenRegionsWithTooltips() {
        const QString page = HelpPageText();
        CheckMap(page, QStringLiteral("mainDialogMap"), tools::kMainPictureSize, 7);
        CheckMap(page, QStringLiteral("patchDialogMap"), tools::kPatchPictureSize, 7);
    }

    // The regions are the real controls: the dialogs photographed now put them in the same
    // places (within a few pixels) as the page's maps.
    void imageMapsLieOnTheRealControls() {
        const QString page = HelpPageText();
        const tools::DialogShot main = tools::GrabMainDialog(TAVLO_SAMPLE_FIRMWARE_FILE);
        QVERIFY(!main.client.isNull());
        CheckMapAgainstDialog(page, QStringLiteral("mainDialogMap"),
                              tools::FramePicture(main, tools::kMainPictureSize));
        const tools::DialogShot patch = tools::GrabPatchDialog(TAVLO_SAMPLE_FIRMWARE_FILE);
        QVERIFY(!patch.client.isNull());
        CheckMapAgainstDialog(page, QStringLiteral("patchDialogMap"),
                              tools::FramePicture(patch, tools::kPatchPictureSize));
    }
};

TAVLO_REGISTER_TEST(HelpResourcesTest);

}  // namespace tavlo::test

#include "help_resources_test.moc"
