// The manual pages list every option and console command: an option or a
// command added to a program without its line in the page shows here.
#include "app/window/ProgramOptions.h"
#include "sim/SimConsole.h"
#include "sim/SimOptions.h"

#include <gtest/gtest.h>

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace {

// A page as a reader sees it: no font changes, plain hyphens, no quotes.
QString plainPage(const char *name)
{
    QFile file(QStringLiteral(ZENU_SOURCE_DIR "/packaging/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    text.remove(QLatin1Char('"'));
    return text;
}

// The long options ("--name") a help text names.
QSet<QString> longOptions(const QString &help)
{
    QSet<QString> found;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z][a-z-]*"));
    for (auto m = option.globalMatch(help); m.hasNext();)
        found.insert(m.next().captured());
    return found;
}

// Lines of the page that set a term in bold (.B, .BI, .BR), where options
// and commands are introduced.
QStringList boldLines(const QString &page)
{
    QStringList lines;
    for (const QString &line : page.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String(".B")))
            lines << line.mid(line.indexOf(QLatin1Char(' ')) + 1).simplified();
    return lines;
}

bool introduced(const QStringList &bold, const QString &term)
{
    for (const QString &line : bold)
        if (line.startsWith(term + QLatin1Char(' ')) || line == term || line.contains(QLatin1String("| ") + term) ||
            line.contains(QLatin1String(", ") + term))
            return true;
    return false;
}

TEST(ManualPages, ZenuSimListsEveryOption)
{
    const QStringList bold = boldLines(plainPage("zenu-sim.1.in"));
    const QSet<QString> options = longOptions(SimOptions::usage());
    ASSERT_GE(options.size(), 15);
    for (const QString &option : options)
        EXPECT_TRUE(introduced(bold, option)) << option.toStdString() << " is not in zenu-sim(1)";
}

TEST(ManualPages, ZenuSimListsEveryConsoleCommand)
{
    const QStringList bold = boldLines(plainPage("zenu-sim.1.in"));
    int commands = 0;
    for (const QString &line : SimConsole::help().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // The command's own words: the first, and a second one that is a
        // plain lower-case word (a sub-command, not an argument or a choice).
        const QStringList words = line.left(26).simplified().split(QLatin1Char(' '));
        QString command = words.value(0);
        static const QRegularExpression subCommand(QStringLiteral("^[a-z-]+$"));
        if (words.size() > 1 && subCommand.match(words[1]).hasMatch())
            command += QLatin1Char(' ') + words[1];
        ++commands;
        EXPECT_TRUE(introduced(bold, command)) << "\"" << command.toStdString() << "\" is not in zenu-sim(1)";
    }
    EXPECT_GE(commands, 25);
}

TEST(ManualPages, ZenuListsEveryOption)
{
    // The options as the program's entry adds them.
    QCommandLineParser parser;
    ProgramOptions::add(parser);
    const QStringList bold = boldLines(plainPage("zenu.1.in"));
    const QSet<QString> options = longOptions(parser.helpText());
    ASSERT_GE(options.size(), 11);
    for (const QString &option : options)
        EXPECT_TRUE(introduced(bold, option)) << option.toStdString() << " is not in zenu(1)";
    EXPECT_TRUE(parser.helpText().contains(QLatin1String("[FILE]")));
}

} // namespace
