// The README and the documents of docs/ stay true: every kashidashi-admin
// command and option they name is one the built program knows (its usage),
// every file of the repository they name is there, and every link between
// them leads to a file and a heading that exist.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

const QString kRepository = QDir::cleanPath(QStringLiteral(KX_TEST_DATA "/.."));

struct Document {
    QString path;  // repository-relative, "docs/admin.md"
    QString text;
};

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

std::vector<Document> Documents() {
    std::vector<Document> documents{{"README.md", ReadText(kRepository + "/README.md")}};
    const QDir docs(kRepository + "/docs");
    for (const QString& name : docs.entryList({"*.md"}, QDir::Files, QDir::Name))
        documents.push_back({"docs/" + name, ReadText(docs.filePath(name))});
    return documents;
}

// The anchor a heading gets on the forge and in most renderers: lower case,
// letters, digits, marks, "-" and "_" kept, blanks made "-", the rest dropped
// ("延滞・督促" → "延滞督促", "The server mode (PostgreSQL)" →
// "the-server-mode-postgresql").
QString Anchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c.isMark() || c == u'-' || c == u'_')
            anchor += c;
        else if (c == u' ')
            anchor += u'-';
    }
    return anchor;
}

QSet<QString> Anchors(const QString& text) {
    QSet<QString> anchors;
    static const QRegularExpression heading(QStringLiteral("^#{1,6} +(.+)$"),
                                            QRegularExpression::MultilineOption);
    for (const auto& match : heading.globalMatch(text)) anchors.insert(Anchor(match.captured(1)));
    return anchors;
}

// The paragraphs of a text (lines between blank lines), each with the line
// it starts on.
std::vector<std::pair<int, QString>> Paragraphs(const QString& text) {
    std::vector<std::pair<int, QString>> paragraphs;
    const QStringList lines = text.split(u'\n');
    QString current;
    int start = 0;
    for (int i = 0; i <= lines.size(); ++i) {
        const bool blank = i == lines.size() || lines[i].trimmed().isEmpty();
        if (blank) {
            if (!current.isEmpty()) paragraphs.emplace_back(start + 1, current);
            current.clear();
        } else {
            if (current.isEmpty()) start = i;
            current += lines[i] + u'\n';
        }
    }
    return paragraphs;
}

// What the documents may name: the commands and options of kashidashi-admin
// (and the options of kashidashi-opac).
struct Known {
    QSet<QString> commands;
    QSet<QString> options;
};

Known FromUsage(const QString& usage) {
    Known known;
    static const QRegularExpression command(QStringLiteral("^ *kashidashi-admin ([a-z][a-z-]*)"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z0-9_-]*"));
    for (const auto& match : command.globalMatch(usage)) known.commands.insert(match.captured(1));
    for (const auto& match : option.globalMatch(usage)) known.options.insert(match.captured(0));
    return known;
}

// A repository path as a document names it: "scripts/desk",
// "src/library/inventory*" (a pattern: some file must match),
// "docs/report-*.png". Placeholders ("command_<name>.cpp") are not checked.
bool RepositoryHas(QString path) {
    while (path.endsWith(u'.') || path.endsWith(u'/')) path.chop(1);
    if (path.contains(u'<') || path.contains(u'…') || path.contains(u'{')) return true;
    if (!path.contains(u'*')) return QFileInfo::exists(kRepository + "/" + path);
    const QFileInfo info(kRepository + "/" + path);
    return !QDir(info.path()).entryList({info.fileName()}, QDir::AllEntries).isEmpty();
}

// Every problem of one document, one line each ("docs/admin.md:12: ...").
QStringList Problems(const Document& document, const Known& known,
                     const std::vector<Document>& all) {
    QStringList problems;
    auto say = [&](int line, const QString& what) {
        problems << QStringLiteral("%1:%2: %3").arg(document.path).arg(line).arg(what);
    };
    static const QRegularExpression command(QStringLiteral("kashidashi-admin ([a-z][a-z-]*)"));
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z][a-z0-9_-]*"));
    static const QRegularExpression path(
        QStringLiteral("(?<![\\w./~-])((?:docs|scripts|packaging|src|tests|bench|\\.ci)/"
                       "[^\\s`)\\]|,;:'\"（）、。#]*)"));
    static const QRegularExpression link(QStringLiteral("!?\\[[^\\]]*\\]\\(([^)\\s]+)\\)"));
    static const QRegularExpression gtest(QStringLiteral("_tests\\b"));
    const QString folder = QFileInfo(document.path).path();

    for (const auto& [line, paragraph] : Paragraphs(document.text)) {
        for (const auto& match : command.globalMatch(paragraph))
            if (!known.commands.contains(match.captured(1)))
                say(line, "kashidashi-admin has no command " + match.captured(1) +
                              " (write the program's name alone as `kashidashi-admin`)");
        QStringList named;  // the repository files this paragraph names
        for (const auto& match : path.globalMatch(paragraph)) {
            named << match.captured(1);
            if (!RepositoryHas(match.captured(1))) say(line, "no such file " + match.captured(1));
        }
        for (const auto& match : option.globalMatch(paragraph)) {
            const QString name = match.captured(0);
            if (known.options.contains(name)) continue;
            if (name.startsWith("--gtest_") && gtest.match(paragraph).hasMatch()) continue;
            // An option of a script the paragraph names (bench/load --desks).
            bool ofScript = false;
            for (const QString& file : named)
                ofScript = ofScript || ReadText(kRepository + "/" + file).contains(name);
            if (!ofScript) say(line, "no command knows the option " + name);
        }
        for (const auto& match : link.globalMatch(paragraph)) {
            const QString target = match.captured(1);
            if (target.startsWith("http://") || target.startsWith("https://")) continue;
            const QString file = target.section(u'#', 0, 0);
            const QString anchor = target.section(u'#', 1);
            const QString resolved =
                file.isEmpty() ? document.path : QDir::cleanPath(folder + "/" + file);
            if (!QFileInfo::exists(kRepository + "/" + resolved)) {
                say(line, "the link " + target + " leads to no file");
                continue;
            }
            if (anchor.isEmpty()) continue;
            QString text = ReadText(kRepository + "/" + resolved);
            for (const auto& other : all)
                if (other.path == resolved) text = other.text;
            if (!Anchors(text).contains(anchor))
                say(line, "the link " + target + " leads to no heading of " + resolved);
        }
    }
    return problems;
}

class DocumentsTest : public ToolsFixture {
  protected:
    Known ProgramKnows() {
        const CommandRun run = RunBuiltTool({"--help"});
        EXPECT_EQ(run.status, 0);
        Known known = FromUsage(QString::fromStdString(run.out));
#ifdef KX_OPAC_PROGRAM
        // The web catalogue's options too (kashidashi-opac --help).
        QProcess opac;
        opac.start(QStringLiteral(KX_OPAC_PROGRAM), {QStringLiteral("--help")});
        EXPECT_TRUE(opac.waitForFinished(10000));
        known.options.unite(FromUsage(QString::fromUtf8(opac.readAllStandardOutput())).options);
#endif
        return known;
    }
};

TEST_F(DocumentsTest, NameOnlyCommandsOptionsFilesAndHeadingsThatExist) {
#ifndef KX_ADMIN_TOOL
    GTEST_SKIP() << "kashidashi-admin is not built";
#endif
    const Known known = ProgramKnows();
    ASSERT_TRUE(known.commands.contains("inventory"));
    ASSERT_TRUE(known.options.contains("--other-school"));
    const auto documents = Documents();
    ASSERT_GE(documents.size(), 4u);  // README, the guide, administration, development
    QStringList problems;
    for (const auto& document : documents) {
        ASSERT_FALSE(document.text.isEmpty()) << document.path.toStdString();
        problems << Problems(document, known, documents);
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

// The README is the way in: short, and linking to the three documents.
TEST_F(DocumentsTest, TheReadmeFitsOnTwoScreensAndLinksToTheDocuments) {
    const QString readme = ReadText(kRepository + "/README.md");
    EXPECT_LE(readme.count(u'\n'), 100);
    for (const char* document : {"docs/guide-ja.md", "docs/admin.md", "docs/development.md"})
        EXPECT_TRUE(readme.contains(QStringLiteral("](%1)").arg(QLatin1String(document))))
            << document;
}

// Each check catches a wrong name planted in a document.
TEST_F(DocumentsTest, AWrongNameOfEachKindIsFound) {
    const Known known =
        FromUsage(QStringLiteral("  kashidashi-admin backup SOURCE FILE\n"
                                 "  kashidashi-admin check SOURCE [--repair]\n"));
    const std::vector<Document> all{
        {"docs/admin.md", "# Admin\n\n## Backups and restore\n\ntext\n"}};
    const struct {
        const char* text;
        const char* found;
    } cases[] = {
        {"Run `kashidashi-admin backups SOURCE FILE`.", "no command backups"},
        {"    kashidashi-admin check SOURCE --mend", "the option --mend"},
        {"`scripts/nothing-here` makes it.", "no such file scripts/nothing-here"},
        {"![a picture](docs/no-such-picture.png)", "no such file docs/no-such-picture.png"},
        {"See [backups](admin.md#backup-and-restore).", "leads to no heading of docs/admin.md"},
        {"See [the guide](guide-en.md).", "the link guide-en.md leads to no file"},
    };
    for (const auto& planted : cases) {
        const QStringList problems =
            Problems({"docs/planted.md", QString::fromUtf8(planted.text)}, known, all);
        EXPECT_TRUE(problems.join(u'\n').contains(QString::fromUtf8(planted.found)))
            << planted.text << " gave: " << problems.join(u'\n').toStdString();
    }
    // The right names pass.
    const char* right =
        "Run `kashidashi-admin backup SOURCE FILE`, then `kashidashi-admin check --repair`\n"
        "(`scripts/desk`, `src/library/*`, [backups](admin.md#backups-and-restore)).";
    EXPECT_TRUE(Problems({"docs/planted.md", QString::fromUtf8(right)}, known, all).isEmpty());
}

}  // namespace
}  // namespace tools_test
