// The whole job in the main dialog with scripted message boxes, file dialog and patch answers:
// Search, the patch answers, Find Next, Exit with its question, and the ways to leave without
// one.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "expected_texts.h"
#include "support/qt/test_registry.h"
#include "support/qt/workspace.h"
#include "workflow/main_dialog_template.h"

namespace tavlo::test {

namespace {

using namespace std::string_literals;

const std::string kFirstMessage = "WARNING: this unit is not yours";
const std::string kSecondMessage = "WARNING second";

// A working folder with firmware.rgn, English user, and the dialog on it.
struct Session {
    Workspace work;
    bool written = work.Write("firmware.rgn", TwoMessageFirmware());
    ScopedEnv lcAll{"LC_ALL", "en_US.UTF-8"};
    DialogUnderTest t{work.ProgramPath()};
};

// The firmware with `text` written over the first message, fitted to its 31 bytes.
std::string FirstPatched(std::string text) {
    text.resize(kFirstMessage.size(), ' ');
    std::string bytes = TwoMessageFirmware();
    bytes.replace(bytes.find(kFirstMessage), kFirstMessage.size(), text);
    return bytes;
}

}  // namespace

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void patchThenExitYesWritesFileAndBackup() {
        Session s;
        QCOMPARE(s.t.FileField()->text(), QStringLiteral("firmware.rgn"));
        s.t.confirmer.answers.push_back({Answer::Ok, "Call 555-0100\n"s});
        s.t.Click(kIdSearch);

        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{1});
        const PatchRequest& request = s.t.confirmer.requests[0];
        QCOMPARE(request.currentText, kFirstMessage);
        QCOMPARE(request.infoText, "String to be replaced is 31 bytes long:\n"s);
        QCOMPARE(request.newText.size(), kFirstMessage.size());  // the proposal, fitted
        QVERIFY(s.t.ui.messages.empty());
        QVERIFY(s.t.image.IsModified());

        QSignalSpy finished(&s.t.Dialog(), &QDialog::finished);
        s.t.ui.answers.push_back(true);
        s.t.Click(kIdExit);
        QCOMPARE(s.t.ui.questions.size(), std::size_t{1});
        QCOMPARE(s.t.ui.questions[0].title, kSaveTitle);
        QCOMPARE(s.t.ui.questions[0].text, SaveQuestion("firmware.rgn"));
        QCOMPARE(s.t.ui.questions[0].owner, static_cast<QWidget*>(&s.t.Dialog()));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
        QVERIFY(!s.t.Dialog().isVisible());

        QCOMPARE(s.work.Read("firmware.rgn"), std::optional(FirstPatched("Call 555-0100\n")));
        QCOMPARE(s.work.Read("firmware.bak"), std::optional(TwoMessageFirmware()));
    }

    void patchThenExitNoLeavesDiskUntouched() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
        s.t.Click(kIdSearch);
        s.t.ui.answers.push_back(false);
        QSignalSpy finished(&s.t.Dialog(), &QDialog::finished);
        s.t.Click(kIdExit);
        QCOMPARE(s.t.ui.questions.size(), std::size_t{1});
        QCOMPARE(finished.size(), 1);
        QCOMPARE(s.work.Read("firmware.rgn"), std::optional(TwoMessageFirmware()));
        QVERIFY(!FileExists(s.work.File("firmware.bak")));
    }

    void cancelLeavesImageUnchangedWithoutMessage() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Cancel, "ignored"s});
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{1});
        QVERIFY(s.t.ui.messages.empty());
        QVERIFY(!s.t.image.IsModified());
        QCOMPARE(std::string(reinterpret_cast<const char*>(s.t.image.Data()), s.t.image.Length()),
                 TwoMessageFirmware());
        // Nothing patched: Exit closes at once.
        QSignalSpy finished(&s.t.Dialog(), &QDialog::finished);
        s.t.Click(kIdExit);
        QVERIFY(s.t.ui.questions.empty());
        QCOMPARE(finished.size(), 1);
    }

    void findNextThroughEveryMatchEndsNotFound() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::FindNext, std::nullopt});
        s.t.confirmer.answers.push_back({Answer::FindNext, std::nullopt});
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{2});
        QCOMPARE(s.t.confirmer.requests[0].currentText, kFirstMessage);
        QCOMPARE(s.t.confirmer.requests[1].currentText, kSecondMessage);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].title, kNotFoundTitle);
        QCOMPARE(s.t.ui.messages[0].text, kNotFoundText);
        QCOMPARE(s.t.ui.messages[0].icon, MessageIcon::None);
        QCOMPARE(s.t.ui.messages[0].owner, static_cast<QWidget*>(&s.t.Dialog()));
        QVERIFY(!s.t.image.IsModified());
    }

    void findNextThenOkPatchesTheSecondMatch() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::FindNext, std::nullopt});
        s.t.confirmer.answers.push_back({Answer::Ok, "Owner"s});
        s.t.Click(kIdSearch);
        QVERIFY(s.t.ui.messages.empty());
        QVERIFY(s.t.image.IsModified());
        const std::string bytes(reinterpret_cast<const char*>(s.t.image.Data()),
                                s.t.image.Length());
        QVERIFY(bytes.find(kFirstMessage) != std::string::npos);
        QVERIFY(bytes.find("Owner         "s + '\0' + "tail") != std::string::npos);
    }

    void textNotInFileSaysNotFound() {
        Session s;
        s.t.SetSearchText("warning");  // the search is case-sensitive
        s.t.Click(kIdSearch);
        QVERIFY(s.t.confirmer.requests.empty());
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].title, kNotFoundTitle);
    }

    void enterRunsSearch() {
        Session s;
        s.t.SetSearchText("absent");
        s.t.SearchBox()->setFocus();
        QTest::keyClick(s.t.SearchBox(), Qt::Key_Return);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].title, kNotFoundTitle);
        QCOMPARE(s.t.SearchBox()->count(), 5);  // Enter adds nothing to the list
    }

    void missingFileIsReportedAndImageKept() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
        s.t.Click(kIdSearch);
        QVERIFY(s.t.image.IsModified());

        s.t.SetFileField("no such file.rgn");
        s.t.ui.answers.push_back(false);
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].title, kLoadFailedTitle);
        QCOMPARE(s.t.ui.messages[0].text, LoadFailedText("no such file.rgn"));
        // The image keeps what it held: Exit still asks about the earlier patch.
        QVERIFY(s.t.image.IsModified());
        QCOMPARE(s.t.image.FileName(), "firmware.rgn"s);
        s.t.ui.answers.push_back(false);
        s.t.Click(kIdExit);
        QCOMPARE(s.t.ui.questions.size(), std::size_t{2});
    }

    void folderInsteadOfFileCannotBeLoaded() {
        Session s;
        std::filesystem::create_directory(s.work.Folder() / "folder.rgn");
        s.t.SetFileField("folder.rgn");
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].text, LoadFailedText("folder.rgn"));
        QVERIFY(s.t.confirmer.requests.empty());
    }

    void unreadableFileCannotBeLoaded() {
        if (::geteuid() == 0) {
            QSKIP("root reads files whatever their permissions");
        }
        Session s;
        std::filesystem::permissions(s.work.File("firmware.rgn"), std::filesystem::perms::none);
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].text, LoadFailedText("firmware.rgn"));
    }

    void patternThatMatchedNothingIsReportedAsIs() {
        Workspace work;
        ScopedEnv lcAll("LC_ALL", "en_US.UTF-8");
        DialogUnderTest t(work.ProgramPath());
        t.Click(kIdSearch);
        QCOMPARE(t.ui.messages.size(), std::size_t{1});
        QCOMPARE(t.ui.messages[0].title, kLoadFailedTitle);
        QCOMPARE(t.ui.messages[0].text, LoadFailedText("*.rgn"));
    }

    void emptySearchTextLoadsFileThenSaysSo() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
        s.t.Click(kIdSearch);
        QVERIFY(s.t.image.IsModified());

        s.t.SetSearchText("");
        s.t.ui.answers.push_back(false);
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].title, kNothingTitle);
        QCOMPARE(s.t.ui.messages[0].text, kNothingText);
        // The file was loaded afresh first: the unsaved patch is gone.
        QVERIFY(!s.t.image.IsModified());
        QVERIFY(!s.t.Dialog().isWindowModified());
        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{1});
    }

    void searchAgainReloadsFromDisk() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
        s.t.Click(kIdSearch);
        s.t.confirmer.answers.push_back({Answer::Cancel, std::nullopt});
        s.t.ui.answers.push_back(false);  // the pending patch is not saved
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{2});
        QCOMPARE(s.t.confirmer.requests[1].currentText, kFirstMessage);  // the original again
        QVERIFY(!s.t.image.IsModified());
        s.t.Click(kIdExit);
        QCOMPARE(s.t.ui.questions.size(), std::size_t{1});
    }

    void onePatchPerSearch() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
        s.t.Click(kIdSearch);
        // The second match is not offered: the accepted patch ended the command.
        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{1});
        QVERIFY(s.t.ui.messages.empty());
    }

    // Every way of leaving, and a second Search, asks about the pending patch first: Cancel
    // keeps the window, the patch and the marker; No then leaves (or reloads) without writing.
    void everyWayOutAsksAndCancelKeepsThePatch() {
        struct Way {
            const char* name;
            std::function<void(DialogUnderTest&)> take;
            bool reloads;
        };
        const Way ways[] = {
            {"Exit", [](DialogUnderTest& t) { t.Click(kIdExit); }, false},
            {"Escape", [](DialogUnderTest& t) { QTest::keyClick(&t.Dialog(), Qt::Key_Escape); },
             false},
            {"close box", [](DialogUnderTest& t) { t.Dialog().close(); }, false},
            {"Search", [](DialogUnderTest& t) { t.Click(kIdSearch); }, true},
        };
        for (const Way& way : ways) {
            Session s;
            s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
            s.t.Click(kIdSearch);
            QVERIFY2(s.t.Dialog().isWindowModified(), way.name);

            QSignalSpy finished(&s.t.Dialog(), &QDialog::finished);
            s.t.ui.answers.push_back(YesNoCancel::Cancel);
            way.take(s.t);
            QCOMPARE(s.t.ui.questions.size(), std::size_t{1});
            QCOMPARE(s.t.ui.questions[0].title, kSaveTitle);
            QVERIFY2(s.t.Dialog().isVisible() && finished.isEmpty(), way.name);
            QVERIFY2(s.t.image.IsModified() && s.t.Dialog().isWindowModified(), way.name);
            QCOMPARE(s.t.confirmer.requests.size(), std::size_t{1});

            s.t.ui.answers.push_back(false);
            s.t.confirmer.answers.push_back({Answer::Cancel, std::nullopt});
            way.take(s.t);
            QCOMPARE(s.t.ui.questions.size(), std::size_t{2});
            QCOMPARE(finished.size(), way.reloads ? 0 : 1);
            if (way.reloads) {
                // The file on disk again: the original message, nothing pending.
                QCOMPARE(s.t.confirmer.requests.back().currentText, kFirstMessage);
                QVERIFY2(!s.t.Dialog().isWindowModified(), way.name);
            }
            QCOMPARE(s.work.Read("firmware.rgn"), std::optional(TwoMessageFirmware()));
            QVERIFY(!FileExists(s.work.File("firmware.bak")));
        }
    }

    // Yes before a second Search saves first; the search then runs on the saved file.
    void searchAgainYesSavesThenSearchesTheSavedFile() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
        s.t.Click(kIdSearch);
        s.t.ui.answers.push_back(true);
        s.t.confirmer.answers.push_back({Answer::Cancel, std::nullopt});
        s.t.Click(kIdSearch);
        QVERIFY(
            s.t.ui.questions[0].text.ends_with("search the file on disk again without saving "
                                               "your changes."));
        QCOMPARE(s.work.Read("firmware.rgn"), std::optional(FirstPatched("Mine")));
        QCOMPARE(s.work.Read("firmware.bak"), std::optional(TwoMessageFirmware()));
        QVERIFY(!s.t.Dialog().isWindowModified());
        // The first message is patched away: the second one is offered.
        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{2});
        QCOMPARE(s.t.confirmer.requests[1].currentText, kSecondMessage);
    }

    void exitBeforeAnySearchClosesAtOnce() {
        Session s;
        QSignalSpy finished(&s.t.Dialog(), &QDialog::finished);
        s.t.Click(kIdExit);
        QVERIFY(s.t.ui.questions.empty());
        QCOMPARE(finished.size(), 1);
    }

    // The window stays with the patch pending, so the user can free the file and try again.
    void failedSaveKeepsTheWindowAndThePatch() {
        Session s;
        s.t.confirmer.answers.push_back({Answer::Ok, "Mine"s});
        s.t.Click(kIdSearch);
        // The file's place is taken by a folder: nothing can be written there.
        std::filesystem::remove(s.work.File("firmware.rgn"));
        std::filesystem::create_directory(s.work.File("firmware.rgn"));
        s.t.ui.answers.push_back(true);
        QSignalSpy finished(&s.t.Dialog(), &QDialog::finished);
        s.t.Click(kIdExit);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].title, "Tavlo"s);
        QVERIFY(s.t.Dialog().isWindowModified());
        QVERIFY(s.t.image.IsModified());
    }

    void fileNameOver128IsReportedThenStillLoaded() {
        Session s;
        // A long name arrives through Browse or a drop; typing stops at 128 characters.
        const std::string longName = std::string(140, 'n') + ".rgn";
        QVERIFY(s.work.Write(longName, TwoMessageFirmware()));
        s.t.SetFileField(longName);
        s.t.SetSearchText("absent");
        s.t.confirmer.answers.push_back({Answer::Cancel, std::nullopt});
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{1});
        QCOMPARE(s.t.ui.messages[0].title, "Tavlo"s);  // the program file's name, capitalised
        QCOMPARE(s.t.ui.messages[0].text, kTooLongText);
        QCOMPARE(s.t.ui.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.t.FileField()));
        QCOMPARE(s.t.FileField()->selectedText().size(), s.t.FileField()->text().size());
        // The exchange stopped at the file name: the search text ("absent") was not read, so
        // the long file was loaded and searched with the start-up text.
        QCOMPARE(s.t.Dialog().FileName(), longName);
        QCOMPARE(s.t.Dialog().SearchText(), "WARNING"s);
        QCOMPARE(s.t.image.FileName(), longName);
        QCOMPARE(s.t.confirmer.requests.size(), std::size_t{1});
        QCOMPARE(s.t.confirmer.requests[0].currentText, kFirstMessage);
    }

    void searchTextOver128IsReportedThenSearched() {
        Session s;
        s.t.SetSearchText(std::string(129, 'W'));
        s.t.Click(kIdSearch);
        QCOMPARE(s.t.ui.messages.size(), std::size_t{2});
        QCOMPARE(s.t.ui.messages[0].text, kTooLongText);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.t.SearchBox()));
        // The text was taken before the check failed, and the search went on with it.
        QCOMPARE(s.t.Dialog().SearchText(), std::string(129, 'W'));
        QVERIFY(s.t.confirmer.requests.empty());
        QCOMPARE(s.t.ui.messages[1].title, kNotFoundTitle);
    }

    void exactly128IsAccepted() {
        Session s;
        s.t.SetFileField(std::string(128, 'f'));
        QVERIFY(s.t.Dialog().UpdateData(true));
        QVERIFY(s.t.ui.messages.empty());
    }
};

TAVLO_REGISTER_TEST(SearchTest);

}  // namespace tavlo::test

#include "search_test.moc"
