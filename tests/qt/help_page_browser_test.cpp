// The help page in a real browser: headless Chromium opens the page as View help writes it out
// and reports, from inside the page, whether every picture loaded at its size, what the image
// maps hold and where the page's links and requests go. Skipped where Chromium is not installed
// (setup.sh installs it, so it runs in CI).
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "support/qt/test_registry.h"
#include "workflow/help_flow.h"

namespace tavlo::test {

namespace {

QString Chromium() {
    for (const char* name : {"chromium", "chromium-browser"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

// The page's DOM after it has loaded and its check has run, or empty (with the reason).
QString DumpDom(const QString& chromium, const QString& page, QString& error) {
    QTemporaryDir profile;
    QProcess browser;
    browser.setProgram(chromium);
    browser.setArguments(
        {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
         QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
         QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
         QStringLiteral("--user-data-dir=") + profile.path(),
         QStringLiteral("--virtual-time-budget=10000"), QStringLiteral("--dump-dom"),
         QString::fromLatin1(QUrl::fromLocalFile(page).toEncoded())});
    browser.start();
    if (!browser.waitForFinished(120000)) {
        browser.kill();
        browser.waitForFinished();
        error = QStringLiteral("chromium did not finish");
        return {};
    }
    if (browser.exitStatus() != QProcess::NormalExit || browser.exitCode() != 0) {
        error = QStringLiteral("chromium failed: ") +
                QString::fromLocal8Bit(browser.readAllStandardError().right(2000));
        return {};
    }
    return QString::fromUtf8(browser.readAllStandardOutput());
}

QJsonObject Results(const QString& dom) {
    const QRegularExpression pattern(QStringLiteral("<pre id=\"results\">(.*?)</pre>"),
                                     QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(dom);
    if (!match.hasMatch()) {
        return {};
    }
    QString json = match.captured(1);
    json.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

}  // namespace

class HelpPageBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void pageLoadsWholeInARealBrowser() {
        const QString chromium = Chromium();
        if (chromium.isEmpty()) {
            QSKIP(
                "chromium is not installed here (setup.sh installs it): the page was not "
                "opened in a browser");
        }
        QTemporaryDir data;
        const QString folder = data.filePath(QStringLiteral("tavlo/help"));
        QVERIFY(!WriteHelpFiles(QFile::encodeName(folder).toStdString()).has_value());

        // A copy of the page beside it, with the check added before the end of its body.
        QFile page(folder + QStringLiteral("/index.htm"));
        QFile check(QStringLiteral(TAVLO_PAGE_CHECK_SCRIPT));
        QVERIFY(page.open(QIODevice::ReadOnly) && check.open(QIODevice::ReadOnly));
        QByteArray html = page.readAll();
        QVERIFY(html.contains("</body>"));
        html.replace("</body>", "<script>\n" + check.readAll() + "</script>\n</body>");
        const QString checkedPage = folder + QStringLiteral("/checked.htm");
        QFile out(checkedPage);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(html) == html.size());
        out.close();

        QString error;
        const QString dom = DumpDom(chromium, checkedPage, error);
        QVERIFY2(!dom.isEmpty(), qPrintable(error));
        const QJsonObject results = Results(dom);
        QVERIFY2(!results.isEmpty(), "the page's check did not report");

        CheckPicturesMapsAndLinks(
            results, QString::fromLatin1(QUrl::fromLocalFile(folder).toEncoded()) + '/');
    }

private:
    // Every picture of the page loaded at its size, both image maps with their titled areas,
    // and every link and request inside the page's folder `base`.
    static void CheckPicturesMapsAndLinks(const QJsonObject& results, const QString& base) {
        struct Expected {
            QString file;
            int width;
            int height;
        };
        const QList<Expected> pictures = {{QStringLiteral("img/screen1.gif"), 486, 184},
                                          {QStringLiteral("img/screen2.gif"), 494, 355}};
        const QJsonArray images = results[QStringLiteral("images")].toArray();
        QCOMPARE(images.size(), pictures.size());
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            const QJsonObject image = images[i].toObject();
            QCOMPARE(image[QStringLiteral("src")].toString(), base + pictures[i].file);
            QVERIFY(image[QStringLiteral("complete")].toBool());
            QCOMPARE(image[QStringLiteral("width")].toInt(), pictures[i].width);
            QCOMPARE(image[QStringLiteral("height")].toInt(), pictures[i].height);
        }
        const QList<Expected> styled = {{QStringLiteral("img/zertxtr.gif"), 216, 18},
                                        {QStringLiteral("img/zerbul1a.gif"), 15, 15}};
        const QJsonArray cssImages = results[QStringLiteral("cssImages")].toArray();
        QCOMPARE(cssImages.size(), styled.size());
        for (qsizetype i = 0; i < styled.size(); ++i) {
            const QJsonObject image = cssImages[i].toObject();
            QCOMPARE(image[QStringLiteral("src")].toString(), base + styled[i].file);
            QVERIFY2(image[QStringLiteral("complete")].toBool(), qPrintable(styled[i].file));
            QCOMPARE(image[QStringLiteral("width")].toInt(), styled[i].width);
            QCOMPARE(image[QStringLiteral("height")].toInt(), styled[i].height);
        }

        const QJsonArray maps = results[QStringLiteral("maps")].toArray();
        QCOMPARE(maps.size(), 2);
        for (const QJsonValue& map : maps) {
            QCOMPARE(map[QStringLiteral("areas")].toInt(), 7);
            QCOMPARE(map[QStringLiteral("titled")].toInt(), 7);
        }

        // Every link and every request stays inside the page's folder.
        const QJsonArray links = results[QStringLiteral("links")].toArray();
        QVERIFY(links.size() > 20);
        QStringList addresses;
        for (const QJsonValue& link : links) {
            addresses << link.toString();
        }
        for (const QJsonValue& resource : results[QStringLiteral("resources")].toArray()) {
            addresses << resource.toString();
        }
        for (const QString& address : addresses) {
            QVERIFY2(address.startsWith(base), qPrintable(address));
        }
    }
};

TAVLO_REGISTER_TEST(HelpPageBrowserTest);

}  // namespace tavlo::test

#include "help_page_browser_test.moc"
