// Start-up values of the main dialog: settings file, user language, the file name pattern, the
// search words, the welcome line, and the dialog built from its template.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include "qt/dialog_builder.h"
#include "qt/dialog_units.h"
#include "qt/text_boundary.h"
#include "settings/settings_file.h"
#include "support/qt/test_registry.h"
#include "support/qt/workspace.h"
#include "workflow/main_dialog_template.h"

namespace tavlo::test {

namespace {

// The locale variables the user's language comes from, all set for one test.
struct Locale {
    explicit Locale(const char* all) : lcAll("LC_ALL", all) {}
    ScopedEnv lcAll;
    ScopedEnv lcMessages{"LC_MESSAGES", nullptr};
    ScopedEnv lang{"LANG", nullptr};
};

QStringList ListEntries(QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i) {
        entries << box->itemText(i);
    }
    return entries;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void noSettingsGermanOneFile() {
        Workspace work;
        QVERIFY(work.Write("a.rgn", TwoMessageFirmware()));
        Locale german("de_DE.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.FileField()->text(), QStringLiteral("a.rgn"));
        QCOMPARE(t.SearchBox()->currentText(), QStringLiteral("WARNUNG"));
        QCOMPARE(t.Dialog().FileName(), std::string("a.rgn"));
        QCOMPARE(t.Dialog().SearchText(), std::string("WARNUNG"));
        QVERIFY(!t.Dialog().SettingsPath().has_value());
        QVERIFY(t.ui.messages.empty());
    }

    void languageDefault_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("searchText");
        QTest::newRow("German") << "de_AT.UTF-8" << QByteArray("WARNUNG");
        QTest::newRow("French") << "fr_FR.UTF-8" << QByteArray("ATTENTION");
        QTest::newRow("Italian") << "it_IT" << QByteArray("ATTENZIONE");
        QTest::newRow("Spanish") << "es_ES.UTF-8" << QByteArray("ATENCI\xD3N");
        QTest::newRow("Dutch") << "nl_NL.UTF-8" << QByteArray("WARNING");
        QTest::newRow("English") << "en_GB.UTF-8" << QByteArray("WARNING");
        QTest::newRow("C") << "C" << QByteArray("WARNING");
    }

    void languageDefault() {
        QFETCH(QString, locale);
        QFETCH(QByteArray, searchText);
        Workspace work;
        const QByteArray localeName = locale.toLatin1();
        Locale user(localeName.constData());
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.Dialog().SearchText(), searchText.toStdString());
        // The field shows the Windows-1252 text as Unicode: "ATENCIÓN" with U+00D3.
        QCOMPARE(t.SearchBox()->currentText(), FromWindows1252(searchText.toStdString()));
        QCOMPARE(t.FileField()->text(), QStringLiteral("*.rgn"));  // no file matches
    }

    void languageFromLangWhenNothingElseIsSet() {
        Workspace work;
        ScopedEnv lcAll("LC_ALL", nullptr);
        ScopedEnv lcMessages("LC_MESSAGES", nullptr);
        ScopedEnv lang("LANG", "fr_CA.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.Dialog().SearchText(), std::string("ATTENTION"));
    }

    void searchStringFromSettingsWinsOverLanguage() {
        Workspace work;
        QVERIFY(work.WriteSettings("[Patch]\nSearchString = 'ATTENZIONE'\n"));
        Locale german("de_DE.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.Dialog().SearchText(), std::string("ATTENZIONE"));
        QVERIFY(t.Dialog().SettingsPath().has_value());
        QCOMPARE(std::filesystem::path(*t.Dialog().SettingsPath()).filename().string(),
                 std::string("tavlo.cfg"));
    }

    void noMatchingFileKeepsPattern() {
        Workspace work;
        QVERIFY(work.Write("firmware.bin", TwoMessageFirmware()));
        Locale english("en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.FileField()->text(), QStringLiteral("*.rgn"));
    }

    void firstMatchInNameOrder() {
        Workspace work;
        QVERIFY(work.Write("b.rgn", "b"));
        QVERIFY(work.Write("c.rgn", "c"));
        QVERIFY(work.Write("a2.rgn", "a"));
        std::filesystem::create_directory(work.Folder() / "a1.rgn");  // a folder is no file
        Locale english("en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.FileField()->text(), QStringLiteral("a2.rgn"));
    }

    void patternFromSettingsKeepsItsFolder() {
        Workspace work;
        std::filesystem::create_directory(work.Folder() / "units");
        QVERIFY(work.Write("units/GPS_0420.RGN", TwoMessageFirmware()));
        QVERIFY(work.Write("units/readme.txt", "x"));
        QVERIFY(work.WriteSettings("[Image]\nFilename = units/gps_*.rgn\n"));
        Locale english("en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        // Letters match in either case, and the name is shown as the folder spells it.
        QCOMPARE(t.FileField()->text(), QStringLiteral("units/GPS_0420.RGN"));
    }

    void fullPathPatternFromSettings() {
        Workspace work;
        QVERIFY(work.Write("x.rgn", "x"));
        const std::string pattern = (work.Folder() / "?.rgn").string();
        QVERIFY(work.WriteSettings("[Image]\nFilename = " + pattern + "\n"));
        Locale english("en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        QCOMPARE(t.Dialog().FileName(), work.File("x.rgn"));
    }

    // A file opened from the file manager takes the settings' file name's place; the search
    // text still comes from the settings.
    void fileGivenAtStartTakesThePatternsPlace() {
        Workspace work;
        QVERIFY(work.Write("x.rgn", "x"));
        QVERIFY(work.WriteSettings("[Image]\nFilename = x.rgn\n[Patch]\nSearchString = WARNUNG\n"));
        Locale english("en_US.UTF-8");
        const std::string opened = work.File("M\xC3\xBCller unit.rgn");
        DialogUnderTest t(work.ProgramPath(), opened);
        QCOMPARE(t.FileField()->text(), QString::fromStdString(opened));
        QCOMPARE(t.Dialog().SearchText(), std::string("WARNUNG"));
    }

    void searchWordsSortedEachOnce() {
        Workspace work;
        Locale english("en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        const QStringList expected = {FromWindows1252("ATENCI\xD3N"), "ATTENTION", "ATTENZIONE",
                                      "WARNING", "WARNUNG"};
        QCOMPARE(ListEntries(t.SearchBox()), expected);
        t.Dialog().ApplySettings();
        t.Dialog().ApplySettings();
        QCOMPARE(ListEntries(t.SearchBox()), expected);
    }

    void choosingAWordFillsTheSearchField() {
        Workspace work;
        Locale english("en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        t.SearchBox()->setCurrentIndex(0);
        QCOMPARE(t.SearchBox()->currentText(), FromWindows1252("ATENCI\xD3N"));
        QVERIFY(t.Dialog().UpdateData(true));
        QCOMPARE(t.Dialog().SearchText(), std::string("ATENCI\xD3N"));
    }

    void applySettingsReplacesTypedValues() {
        Workspace work;
        QVERIFY(work.Write("a.rgn", "a"));
        Locale english("en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        t.SetFileField("typed.rgn");
        t.SetSearchText("typed");
        QVERIFY(work.WriteSettings("[Patch]\nSearchString = ATTENTION\n"));
        t.Dialog().ApplySettings();
        QCOMPARE(t.FileField()->text(), QStringLiteral("a.rgn"));
        QCOMPARE(t.SearchBox()->currentText(), QStringLiteral("ATTENTION"));
        QVERIFY(t.Dialog().SettingsPath().has_value());
        // The file is read afresh each time: gone again, the language default is back.
        std::filesystem::remove(work.File("tavlo.cfg"));
        t.Dialog().ApplySettings();
        QCOMPARE(t.SearchBox()->currentText(), QStringLiteral("WARNING"));
        QVERIFY(!t.Dialog().SettingsPath().has_value());
    }

    void welcomeLineCarriesProductVersion() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        const std::string expected =
            "Welcome to Tavlo, the firmware patch program (Version 1, 0, 3, 0)";
        QCOMPARE(t.Dialog().Welcome(), expected);
        auto* welcome = t.Dialog().findChild<QLabel*>(QStringLiteral("control1012"));
        QVERIFY(welcome);
        QCOMPARE(welcome->text(), QString::fromStdString(expected));
    }

    void focusStartsInFileField() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        t.Dialog().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t.Dialog()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(t.FileField()));
    }

    void iconIsTheProgramIcon() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        QVERIFY(!t.Dialog().windowIcon().isNull());
        auto* icon = t.Dialog().findChild<QLabel*>(QStringLiteral("control1010"));
        QVERIFY(icon);
        QCOMPARE(icon->pixmap().size(), QSize(32, 32));
        // A 16-colour icon: at most 16 colours besides the transparent background.
        const QImage picture = icon->pixmap().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (qAlpha(picture.pixel(x, y)) != 0) {
                    colours.insert(picture.pixel(x, y));
                }
            }
        }
        QVERIFY(colours.size() >= 2);
        QVERIFY(colours.size() <= 16);
    }

    // Every control of template 102: id, kind, text, tab order, default button.
    void controlsFollowTheTemplate() {
        Workspace work;
        DialogUnderTest t(work.ProgramPath());
        // "[*]" is where the modified marker shows while a patch is pending.
        QCOMPARE(t.Dialog().windowTitle(), QStringLiteral("Tavlo[*]"));
        QVERIFY(!t.Dialog().isWindowModified());
        QCOMPARE(t.Button(kIdBrowse)->text(), QStringLiteral("&Browse ..."));
        QCOMPARE(t.Button(kIdSearch)->text(), QStringLiteral("&Search !"));
        QCOMPARE(t.Button(kIdViewHelp)->text(), QStringLiteral("View &help"));
        QCOMPARE(t.Button(kIdEditSettings)->text(), QStringLiteral("&Edit settings"));
        QCOMPARE(t.Button(kIdExit)->text(), QStringLiteral("E&xit"));
        QVERIFY(t.Button(kIdSearch)->isDefault());
        QVERIFY(!t.Button(kIdExit)->isDefault());

        // The labels' mnemonics lead to the field after them.
        const auto labels = t.Dialog().findChildren<QLabel*>();
        int buddies = 0;
        for (QLabel* label : labels) {
            if (label->text() == QStringLiteral("&Filename (RGN file) to patch:")) {
                QCOMPARE(label->buddy(), static_cast<QWidget*>(t.FileField()));
                ++buddies;
            } else if (label->text() == QStringLiteral("Start of &text to search for:")) {
                QCOMPARE(label->buddy(), static_cast<QWidget*>(t.SearchBox()));
                ++buddies;
            }
        }
        QCOMPARE(buddies, 2);

        // Tab goes through the tab stops in template order and wraps around.
        const QList<QWidget*> order = {
            t.FileField(),         t.Button(kIdBrowse),       t.SearchBox(),    t.Button(kIdSearch),
            t.Button(kIdViewHelp), t.Button(kIdEditSettings), t.Button(kIdExit)};
        QWidget* widget = order.first();
        for (int i = 1; i <= order.size(); ++i) {
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !order.contains(widget)) {
                widget = widget->nextInFocusChain();
            }
            QCOMPARE(widget, order.at(i % order.size()));
        }
    }

    // Positions in dialog units become pixels with the dialog font's metrics, so the layout
    // keeps its proportions at any font size.
    void geometryFromDialogUnits_data() {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("8 point, as the template says") << 8;
        QTest::newRow("14 point") << 14;
    }

    void geometryFromDialogUnits() {
        QFETCH(int, pointSize);
        DialogTemplate scaled = kMainDialogTemplate;
        scaled.fontPointSize = pointSize;
        QDialog dialog;
        const DialogControls controls = BuildDialog(dialog, scaled, QPixmap());
        const DialogUnits units(dialog.font());
        QCOMPARE(dialog.size(), QSize(units.ToPixelsX(320), units.ToPixelsY(98)));
        QCOMPARE(controls.InOrder().size(), std::size(kMainDialogControls));
        for (std::size_t i = 0; i < std::size(kMainDialogControls); ++i) {
            const ControlTemplate& c = kMainDialogControls[i];
            const QRect expected = units.ToPixels(c.x, c.y, c.width, c.height);
            const QRect actual = controls.InOrder()[i]->geometry();
            QCOMPARE(actual.topLeft(), expected.topLeft());
            QCOMPARE(actual.width(), expected.width());
            if (c.kind == ControlKind::DropDownCombo) {
                // Closed, the box shows its edit part only; the list drops below it.
                QVERIFY(actual.height() < expected.height());
            } else {
                QCOMPARE(actual.height(), expected.height());
            }
        }
    }
};

TAVLO_REGISTER_TEST(StartupTest);

}  // namespace tavlo::test

#include "startup_test.moc"
