// Wildcards in the "Filename" setting and the file-name boundary between fields and disk.
#include <QTest>

#include "core/file_names.h"
#include "support/qt/test_registry.h"
#include "support/qt/workspace.h"

namespace tavlo::test {

namespace {
using namespace std::string_literals;
}

class FileNamesTest : public QObject {
    Q_OBJECT

private slots:
    void wildcards_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star suffix") << "*.rgn"
                                     << "a.rgn" << true;
        QTest::newRow("other case") << "*.rgn"
                                    << "A.RGN" << true;
        QTest::newRow("wrong extension") << "*.rgn"
                                         << "a.rgnx" << false;
        QTest::newRow("star matches nothing") << "*.rgn"
                                              << ".rgn" << true;
        QTest::newRow("question mark is one") << "?.rgn"
                                              << "ab.rgn" << false;
        QTest::newRow("question marks") << "gps_??.rgn"
                                        << "GPS_42.rgn" << true;
        QTest::newRow("two stars") << "*_*.rgn"
                                   << "a_b_c.rgn" << true;
        QTest::newRow("backtracking") << "*ab*ab"
                                      << "xabyabab" << true;
        QTest::newRow("no wildcard") << "fw.rgn"
                                     << "fw.rgn" << true;
        QTest::newRow("no wildcard, other") << "fw.rgn"
                                            << "fw2.rgn" << false;
        QTest::newRow("brackets are letters") << "[a].rgn"
                                              << "a.rgn" << false;
        QTest::newRow("empty name") << "*"
                                    << "" << true;
        QTest::newRow("star only at end") << "a*"
                                          << "abc" << true;
    }

    void wildcards() {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(WildcardMatch(pattern.toStdString(), name.toStdString()), matches);
    }

    void nonAsciiLettersMatchExactly() {
        QVERIFY(WildcardMatch("\xDC*",
                              "\xDC"
                              "ber"));
        QVERIFY(!WildcardMatch("\xFC*",
                               "\xDC"
                               "ber"));  // only ASCII letters fold
    }

    void firstMatchingFile() {
        Workspace work;
        QVERIFY(work.Write("b.rgn", ""));
        QVERIFY(work.Write("B.rgn", ""));  // upper case sorts first, byte by byte
        QVERIFY(work.Write("a.txt", ""));
        QCOMPARE(FirstMatchingFile("*.rgn"), std::optional("B.rgn"s));
        QCOMPARE(FirstMatchingFile("*.RGN"), std::optional("B.rgn"s));
        QCOMPARE(FirstMatchingFile("*.bin"), std::nullopt);
        QCOMPARE(FirstMatchingFile("./*.txt"), std::optional("./a.txt"s));
        QCOMPARE(FirstMatchingFile("missing/*.rgn"), std::nullopt);
        QCOMPARE(FirstMatchingFile("folder/"), std::nullopt);
    }

    void namesOutsideWindows1252AreSkipped() {
        Workspace work;
        QVERIFY(work.Write("\xCE\xA9.rgn", ""));           // Greek Omega, UTF-8 on disk
        QVERIFY(work.Write("\xC3\xA9t\xC3\xA9.rgn", ""));  // "été"
        QCOMPARE(FirstMatchingFile("*.rgn"), std::optional("\xE9t\xE9.rgn"s));
    }

    void boundaryConversions() {
        QCOMPARE(NativePath("M\xFCller.rgn"), "M\xC3\xBCller.rgn"s);
        QCOMPARE(FieldTextOfPath("M\xC3\xBCller.rgn"), std::optional("M\xFCller.rgn"s));
        QCOMPARE(FieldTextOfPath("\xCE\xA9"), std::nullopt);
        QCOMPARE(FieldTextOfPath("\xFF\xFE"), std::nullopt);  // not UTF-8 at all
    }
};

TAVLO_REGISTER_TEST(FileNamesTest);

}  // namespace tavlo::test

#include "file_names_test.moc"
