// The View help command through the real main dialog: the page and its pictures written out of
// the program into the user's data folder, the browser started on the page (recorded), and the
// messages when either fails.
#include <QDir>
#include <QUrl>
#include <cerrno>

#include "core/embedded_resources.h"
#include "dialog_session.h"
#include "support/qt/test_registry.h"
#include "workflow/help_flow.h"

namespace tavlo::test {

namespace {

std::string ResourceBytes(const HelpFile& file) {
    const auto resource = FindResource(file.resourceName, file.resourceType);
    return resource ? std::string(reinterpret_cast<const char*>(resource->data()), resource->size())
                    : std::string();
}

std::string PageAddress(const std::string& dataHome) {
    return "file://" + dataHome + "/tavlo/help/index.htm";
}

std::string LaunchFailure(const std::string& browser, int error, const std::string& address) {
    return "Tavlo could not launch " + browser +
           " to view \nthe built-in HTML help file. (An error #" + std::to_string(error) +
           " was returned)\n\nIf you have " + browser +
           " installed, try to point it directly to:\n" + address +
           "\n\nOr refer to the documentation on the Tavlo web site.";
}

}  // namespace

class ViewHelpTest : public QObject {
    Q_OBJECT

private slots:
    void writesThePageAndOpensItInTheBrowser() {
        DialogSession s;
        QVERIFY(s.work.WriteSettings("[Patch]\nSearchString = 'ATTENTION'\n"));
        const std::string dataHome = s.work.File("data");
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        s.Open();
        s.Type(QStringLiteral("typed.rgn"), QStringLiteral("typed"));
        const auto settingsBefore = s.Dialog().SettingsPath();
        s.Click(kIdViewHelp);

        QCOMPARE(s.log, CommandLog{"start xdg-open " + PageAddress(dataHome)});
        for (const HelpFile& file : HelpFiles()) {
            const std::string path = dataHome + "/tavlo/help/" + file.relativePath;
            QVERIFY2(!ResourceBytes(file).empty(), file.resourceName);
            QCOMPARE(Workspace::ReadFrom(path), std::optional(ResourceBytes(file)));
        }
        // Nothing else changed: fields, image, settings.
        QCOMPARE(s.FileField(), QStringLiteral("typed.rgn"));
        QCOMPARE(s.SearchField(), QStringLiteral("typed"));
        QCOMPARE(s.Dialog().SettingsPath(), settingsBefore);
        QCOMPARE(s.image.Length(), 0u);
        QVERIFY(!s.image.IsModified());
    }

    void writesOverAnEarlierCopy() {
        DialogSession s;
        const std::string dataHome = s.work.File("data");
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        QVERIFY(QDir().mkpath(QString::fromStdString(dataHome + "/tavlo/help/img")));
        QVERIFY(s.work.Write("data/tavlo/help/index.htm", "stale"));
        s.Open();
        s.Click(kIdViewHelp);
        QCOMPARE(Workspace::ReadFrom(dataHome + "/tavlo/help/index.htm"),
                 std::optional(ResourceBytes(HelpFiles()[0])));
        QVERIFY(s.ui.messages.empty());
    }

    // Without XDG_DATA_HOME, or with a relative one, the help goes below the home folder.
    void defaultDataFolder_data() {
        QTest::addColumn<QByteArray>("xdgDataHome");
        QTest::newRow("unset") << QByteArray();
        QTest::newRow("relative") << QByteArray("relative/data");
    }
    void defaultDataFolder() {
        QFETCH(QByteArray, xdgDataHome);
        DialogSession s;
        ScopedEnv home("HOME", s.work.File("home").c_str());
        ScopedEnv xdg("XDG_DATA_HOME", xdgDataHome.isEmpty() ? nullptr : xdgDataHome.constData());
        s.Open();
        s.Click(kIdViewHelp);
        const std::string dataHome = s.work.File("home") + "/.local/share";
        QCOMPARE(s.log, CommandLog{"start xdg-open " + PageAddress(dataHome)});
        QVERIFY(
            QFileInfo::exists(QString::fromStdString(dataHome + "/tavlo/help/img/zertxtr.gif")));
    }

    // $BROWSER's first word is the program, its further words go before the address.
    void browserFromEnvironment() {
        DialogSession s;
        const std::string dataHome = s.work.File("data");
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        ScopedEnv browser("BROWSER", "my-browser --new-window");
        s.Open();
        s.Click(kIdViewHelp);
        QCOMPARE(s.log, CommandLog{"start my-browser --new-window " + PageAddress(dataHome)});
    }

    void browserThatCannotStart() {
        DialogSession s;
        const std::string dataHome = s.work.File("data");
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        ScopedEnv browser("BROWSER", "my-browser");
        s.Open();
        s.starter.results = {ENOENT};
        s.Click(kIdViewHelp);
        QCOMPARE(s.log, (CommandLog{"start my-browser " + PageAddress(dataHome),
                                    "show Tavlo : Could not launch my-browser"}));
        QCOMPARE(s.ui.messages[0].text, LaunchFailure("my-browser", ENOENT, PageAddress(dataHome)));
        QCOMPARE(s.ui.messages[0].owner, &s.Dialog());
    }

    // The browsers of $BROWSER are tried in turn until one starts.
    void browsersTriedInTurn() {
        DialogSession s;
        const std::string dataHome = s.work.File("data");
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        ScopedEnv browser("BROWSER", "gone:my-browser %s --new-window");
        s.Open();
        s.starter.results = {ENOENT, 0};
        s.Click(kIdViewHelp);
        QCOMPARE(s.log,
                 (CommandLog{"start gone " + PageAddress(dataHome),
                             "start my-browser " + PageAddress(dataHome) + " --new-window"}));
    }

    // The address is a real file:// URL: a folder name with a space and an "é" is encoded.
    void addressOfAFolderWithUnusualCharacters() {
        DialogSession s;
        const std::string dataHome = s.work.File("my data \xC3\xA9");
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        s.Open();
        s.Click(kIdViewHelp);
        QCOMPARE(s.starter.started.size(), std::size_t{1});
        const QString address = s.starter.started[0].arguments.last();
        QVERIFY(address.contains(QStringLiteral("my%20data%20%C3%A9")));
        QCOMPARE(QUrl(address).toLocalFile(),
                 QString::fromStdString(dataHome + "/tavlo/help/index.htm"));
    }

    // The data folder cannot be made: a message, and no browser.
    void helpThatCannotBeWritten() {
        DialogSession s;
        QVERIFY(s.work.Write("plain", "a file, not a folder"));
        const std::string dataHome = s.work.File("plain");
        ScopedEnv xdg("XDG_DATA_HOME", dataHome.c_str());
        s.Open();
        s.Click(kIdViewHelp);
        QCOMPARE(s.log, CommandLog{"show Tavlo : Could not write the help file"});
        QVERIFY(s.ui.messages[0].text.find(dataHome + "/tavlo/help/index.htm") !=
                std::string::npos);
        QVERIFY(s.starter.started.empty());
    }
};

TAVLO_REGISTER_TEST(ViewHelpTest);

}  // namespace tavlo::test

#include "view_help_test.moc"
