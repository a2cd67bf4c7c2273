// The language switch on the real window: every text row reaches its control
// by name, the start-up choice of the stored key, the rows with special
// targets, choosing a language again, combo boxes keeping their choice, and
// texts that wait for their next rebuild.
#include "tests/app/WindowFixture.h"

#include "tests/live/LiveFrameBytes.h"

#include "app/window/LanguageView.h"
#include "app/live/LiveDisplay.h"

#include "i18n/LanguageTable.h"
#include "link/RegistryKey.h"
#include "i18n/TextRow.h"
#include "i18n/TextTarget.h"

#include "widgets/TAnalogCControl.h"
#include "widgets/TAnalogGControl.h"
#include "widgets/TToggleSwitch.h"

#include <QAbstractButton>
#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QValueAxis>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const TextTarget &t, std::ostream *os)
{
    *os << "row " << t.row << ' ' << t.objectName;
}

namespace {

// --- reading back what a control shows, independently of the switch --------

QObject *named(TZENU &window, const QString &name)
{
    if (QObject *o = window.findChild<QObject *>(name))
        return o;
    // Chart series hang off the chart, not off a widget.
    for (QChartView *view : window.findChildren<QChartView *>()) {
        for (QAbstractSeries *s : view->chart()->series()) {
            if (s->objectName() == name)
                return s;
        }
    }
    return nullptr;
}

TSignalSettings *signalOf(QObject *o)
{
    if (auto *g = qobject_cast<TAnalogGControl *>(o))
        return &g->SignalSettings();
    if (auto *c = qobject_cast<TAnalogCControl *>(o))
        return &c->SignalSettings();
    return nullptr;
}

// What the target's control shows for that kind of text; nothing if the
// control is missing or has no such text.
std::optional<QString> shown(TZENU &window, const TextTarget &t)
{
    QObject *o = named(window, QString::fromLatin1(t.objectName));
    if (!o)
        return std::nullopt;
    switch (t.kind) {
    case TextTargetKind::Caption:
        if (auto *l = qobject_cast<QLabel *>(o))
            return l->text();
        if (auto *g = qobject_cast<QGroupBox *>(o))
            return g->title();
        if (auto *b = qobject_cast<QAbstractButton *>(o))
            return b->text();
        if (auto *m = qobject_cast<QMenu *>(o))
            return m->title();
        if (auto *a = qobject_cast<QAction *>(o))
            return a->text();
        if (auto *s = qobject_cast<QAbstractSeries *>(o))
            return s->name();
        if (auto *w = qobject_cast<QWidget *>(o); w && window.tab_control->indexOf(w) >= 0)
            return window.tab_control->tabText(window.tab_control->indexOf(w));
        return std::nullopt;
    case TextTargetKind::Name1:
        if (TSignalSettings *s = signalOf(o))
            return s->Name1();
        return std::nullopt;
    case TextTargetKind::Name2:
        if (TSignalSettings *s = signalOf(o))
            return s->Name2();
        return std::nullopt;
    case TextTargetKind::Item:
        if (auto *c = qobject_cast<QComboBox *>(o); c && t.item < c->count())
            return c->itemText(t.item);
        return std::nullopt;
    case TextTargetKind::OffText:
        if (auto *s = qobject_cast<TToggleSwitch *>(o))
            return s->TextOff();
        return std::nullopt;
    case TextTargetKind::Hint:
        if (auto *w = qobject_cast<QWidget *>(o))
            return w->toolTip();
        return std::nullopt;
    case TextTargetKind::LeftAxisTitle:
        if (auto *v = qobject_cast<QChartView *>(o)) {
            for (QAbstractAxis *a : v->chart()->axes(Qt::Vertical))
                if (a->alignment() == Qt::AlignLeft)
                    return a->titleText();
        }
        return std::nullopt;
    }
    return std::nullopt;
}

// A table in which every cell is different ("R<row>-<language>"), so a text
// set on the wrong control, from the wrong row or in the wrong way shows.
LanguageTable distinctTexts()
{
    QByteArray data;
    for (int row = 0; row < LanguageTable::RowCount; ++row)
        for (const char *lang : {"pl", "en", "de", "cs", "ru"})
            data += QByteArray::number(row) + '\t' + lang + "\t\"R" + QByteArray::number(row) + '-' + lang + "\"\n";
    return LanguageTable::fromData(data);
}

QString distinct(int row, const char *lang)
{
    return QStringLiteral("R%1-%2").arg(row).arg(QLatin1String(lang));
}

// --- every control row reaches a control that exists --------------------------

// One window for the whole table: the distinct German column is put in once.
class EveryTarget : public ::testing::TestWithParam<TextTarget>
{
protected:
    static void SetUpTestSuite()
    {
        s_config = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", s_config->path().toLocal8Bit());
        s_window = std::make_unique<TZENU>([] { return QStringList{}; }, [](const QUrl &) { return true; });
        s_missed = LanguageView(s_window.get()).apply(distinctTexts(), LanguageTable::German);
    }
    static void TearDownTestSuite()
    {
        s_window.reset();
        s_config.reset();
    }

    static inline std::unique_ptr<QTemporaryDir> s_config;
    static inline std::unique_ptr<TZENU> s_window;
    static inline std::vector<TextTarget> s_missed;
};

TEST_P(EveryTarget, ShowsItsRowsText)
{
    const TextTarget &t = GetParam();
    const std::optional<QString> text = shown(*s_window, t);
    ASSERT_TRUE(text.has_value()) << "no control takes this text";
    EXPECT_EQ(*text, distinct(t.row, "de"));
}

INSTANTIATE_TEST_SUITE_P(Table, EveryTarget, ::testing::ValuesIn(textTargets().begin(), textTargets().end()),
                         [](const auto &info) {
                             return "row" + std::to_string(info.param.row) + "_" + info.param.objectName
                                    + (info.param.kind == TextTargetKind::Item
                                           ? "_item" + std::to_string(info.param.item)
                                           : std::string());
                         });

TEST_F(EveryTarget, NothingIsMissedAndEveryRowFrom21To119HasATarget)
{
    EXPECT_TRUE(s_missed.empty()) << ::testing::PrintToString(s_missed);
    for (int row = TextRow::FirstControlText; row <= TextRow::LastControlText; ++row)
        EXPECT_FALSE(textTargetsOfRow(row).empty()) << row;
}

TEST_F(EveryTarget, HelpPageAndLinkLabelsTakeTheLastRows)
{
    EXPECT_EQ(s_window->component<QPlainTextEdit>(QStringLiteral("Help_Memo"))->toPlainText(),
              distinct(TextRow::HelpText, "de"));
    EXPECT_EQ(s_window->component<QLabel>(QStringLiteral("ZENU_Linl_label"))->text(), distinct(TextRow::WebAddress, "de"));
    EXPECT_EQ(s_window->component<QLabel>(QStringLiteral("Label23"))->text(), distinct(TextRow::MailLink, "de"));
}

// --- the switch on a window of its own -----------------------------------------

class LanguageSwitch : public WindowFixture
{
protected:
    void choose(const char *key) { item(QString::fromLatin1(key))->trigger(); }

    template <class T = QWidget>
    T *w(const char *name)
    {
        T *found = window->component<T>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString helpText() { return w<QPlainTextEdit>("Help_Memo")->toPlainText(); }
    QString tabText(const char *page) { return window->tab_control->tabText(window->tab_control->indexOf(w(page))); }
};

TEST_F(LanguageSwitch, FirstStartAppliesPolishEverywhere)
{
    start({});
    EXPECT_EQ(stored(kLangKey, QStringLiteral("CurLang")), QStringLiteral("PolskiPL"));
    EXPECT_EQ(checkedNames(window->Jazyk), QStringList{"PolskiPL"});
    EXPECT_EQ(window->languageTable()->message(11), QStringLiteral("Brak Sterownika"));
    // Texts the definition has differently from the Polish column.
    EXPECT_EQ(window->PortCOM->title(), QStringLiteral("Port"));
    EXPECT_EQ(w<QLabel>("Label18")->text(), QStringLiteral("Błędy zapamiętane"));
    EXPECT_EQ(w<QGroupBox>("GroupBox4")->title(), QStringLiteral("Sonda Lambda"));
    EXPECT_TRUE(helpText().startsWith(QStringLiteral("ZENU – pomoc"))) << helpText().toStdString();
    EXPECT_EQ(w<QLabel>("Label23")->text(), window->languageTable()->message(TextRow::MailLink));
    EXPECT_TRUE(w<QLabel>("Label23")->text().startsWith(QStringLiteral("mailto:")));
}

struct UnusableKey
{
    const char *label;
    const char *key;
};

class StoredKeyNotUsable : public LanguageSwitch, public ::testing::WithParamInterface<UnusableKey>
{
};

TEST_P(StoredKeyNotUsable, KeepsTheDefinitionsTextsAndTheBuiltInMessages)
{
    seed(kLangKey, QStringLiteral("CurLang"), QString::fromLatin1(GetParam().key));
    start({});
    EXPECT_EQ(checkedNames(window->Jazyk), QStringList{"PolskiPL"});
    EXPECT_EQ(window->languageTable()->message(18), QStringLiteral("Wyliczono mnożnik = "));
    EXPECT_EQ(window->PortCOM->title(), QStringLiteral("Porty"));
    EXPECT_EQ(w<QLabel>("Label18")->text(), QStringLiteral("Błędy zarejestrowane"));
    EXPECT_TRUE(helpText().isEmpty());
    // Nothing chosen, so nothing written back.
    EXPECT_EQ(stored(kLangKey, QStringLiteral("CurLang")), QString::fromLatin1(GetParam().key));
}

INSTANTIATE_TEST_SUITE_P(Store, StoredKeyNotUsable,
                         ::testing::Values(UnusableKey{"russian", "Russian"}, UnusableKey{"unknown", "Espanol"}),
                         [](const auto &info) { return std::string(info.param.label); });

struct HintCase
{
    const char *key;
    const char *hint;    // PaintBox1
    const char *caption; // GroupBox25
};

class HintAndCylinderGroup : public LanguageSwitch, public ::testing::WithParamInterface<HintCase>
{
};

TEST_P(HintAndCylinderGroup, FollowTheLanguage)
{
    // Start from the other language of the pair, so each is set, not left.
    const bool czech = QLatin1String(GetParam().key) == QLatin1String("Ceski");
    seed(kLangKey, QStringLiteral("CurLang"), czech ? QStringLiteral("AngielskiGB") : QStringLiteral("Ceski"));
    start({});
    choose(GetParam().key);
    EXPECT_EQ(w("PaintBox1")->toolTip(), QString::fromUtf8(GetParam().hint));
    EXPECT_EQ(w<QGroupBox>("GroupBox25")->title(), QString::fromUtf8(GetParam().caption));
}

INSTANTIATE_TEST_SUITE_P(Languages, HintAndCylinderGroup,
                         ::testing::Values(HintCase{"AngielskiGB", "", ""}, HintCase{"Ceski", "Cz", "Počet válců"}),
                         [](const auto &info) { return std::string(info.param.key); });

TEST_F(LanguageSwitch, OneRowNamesBothPetrolTimeLabels)
{
    start({});
    choose("AngielskiGB");
    EXPECT_EQ(w<QLabel>("Label6")->text(), QStringLiteral("Petrol [ms]"));
    EXPECT_EQ(w<QLabel>("Label3")->text(), QStringLiteral("Petrol [ms]"));
}

TEST_F(LanguageSwitch, GermanReachesMenusTabsChartAndInstruments)
{
    start({});
    choose("NiemieckiDE");
    EXPECT_EQ(window->Pliki1->title(), QStringLiteral("Date"));
    EXPECT_EQ(window->Jazyk->title(), QStringLiteral("Sprache"));
    EXPECT_EQ(window->polacz->text(), QStringLiteral("Verbinden"));
    EXPECT_EQ(tabText("TabSheet3"), QStringLiteral("Kalibrierung"));
    EXPECT_EQ(tabText("TabSheet12"), QStringLiteral("Info")); // not in the table
    EXPECT_EQ(w<TToggleSwitch>("Polacz_switch")->TextOff(), QStringLiteral("Trennen"));
    EXPECT_EQ(w<TAnalogCControl>("T_zwloki_changer")->SignalSettings().Name2(), QStringLiteral("Druck Zeit Fehl"));
    EXPECT_EQ(w<TAnalogGControl>("TempWoda")->SignalSettings().Name1(), QStringLiteral("Verd"));
    EXPECT_TRUE(helpText().startsWith(QStringLiteral("ZENU – Hilfe"))) << helpText().toStdString();
    // The help keeps its paragraphs as lines.
    EXPECT_GT(helpText().count(QLatin1Char('\n')), 5);
    EXPECT_FALSE(helpText().contains(QLatin1Char('\r')));
}

TEST_F(LanguageSwitch, SameLanguageAgainWritesTheKeyAndPutsEveryTextBack)
{
    start({});
    seed(kLangKey, QStringLiteral("CurLang"), QStringLiteral("elsewhere"));
    w<QLabel>("Label18")->setText(QStringLiteral("changed"));
    window->tab_control->setTabText(0, QStringLiteral("changed"));

    choose("PolskiPL");

    EXPECT_EQ(stored(kLangKey, QStringLiteral("CurLang")), QStringLiteral("PolskiPL"));
    EXPECT_EQ(w<QLabel>("Label18")->text(), QStringLiteral("Błędy zapamiętane"));
    EXPECT_EQ(window->tab_control->tabText(0), QStringLiteral("Panel Petrol"));
}

// The settings store refuses the key: the window is wholly in the chosen
// language with the check mark on it, and the user hears that it will not be
// remembered.
TEST_F(LanguageSwitch, StoreThatRefusesTheKeyLeavesOneLanguageAndSaysSo)
{
    start({});
    ASSERT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
    // A plain file where the store's folder belongs: nothing can be written.
    const QString folder = QFileInfo(RegistryKey::storeLocation()).absolutePath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    choose("AngielskiGB");

    EXPECT_EQ(w<QLabel>("Label34")->text(), window->languageTable()->text(118, LanguageTable::English));
    EXPECT_EQ(w<QLabel>("Label18")->text(), window->languageTable()->text(80, LanguageTable::English));
    EXPECT_EQ(window->tab_control->tabText(0), window->languageTable()->text(32, LanguageTable::English));
    EXPECT_EQ(window->languageTable()->message(11), window->languageTable()->text(11, LanguageTable::English));
    EXPECT_EQ(checkedNames(window->Jazyk), QStringList{QStringLiteral("AngielskiGB")});
    EXPECT_EQ(window->currentLanguageKey(), QStringLiteral("AngielskiGB"));
    ASSERT_EQ(messages.size(), 1) << messages.join(" | ").toStdString();
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("The language choice was not stored")))
        << messages[0].toStdString();
}

TEST_F(LanguageSwitch, ComboBoxesKeepTheirChoiceAndSignalNothing)
{
    start({});
    auto *cylinders = w<QComboBox>("Sel_cyl");
    auto *pulses = w<QComboBox>("Sel_Impuls");
    cylinders->setCurrentIndex(2);
    pulses->setCurrentIndex(1);
    QSignalSpy picked(cylinders, &QComboBox::activated);
    QSignalSpy moved(cylinders, &QComboBox::currentIndexChanged);
    QSignalSpy pulsesMoved(pulses, &QComboBox::currentIndexChanged);

    choose("NiemieckiDE");

    EXPECT_EQ(cylinders->currentIndex(), 2);
    EXPECT_EQ(cylinders->currentText(), QStringLiteral("5 zyl."));
    EXPECT_EQ(cylinders->count(), 5);
    EXPECT_EQ(pulses->currentIndex(), 1);
    EXPECT_EQ(pulses->currentText(), QStringLiteral("Doppelspule"));
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(pulsesMoved.count(), 0);
}

TEST_F(LanguageSwitch, ShownFaultTextChangesWithTheNextFrameOnly)
{
    start({});
    LiveDisplay &live = window->liveDisplay();
    // Low gas pressure reported, everything else healthy.
    const QByteArray frame = liveFrame({{4, 0x01}, {34, 0xEF}, {35, 0xFF}, {48, 0xFF}});
    auto *memo = w<QPlainTextEdit>("Actual_errors_Memo");
    live.applyLiveFrame(frame);
    const QString polish = memo->toPlainText();
    ASSERT_TRUE(polish.contains(QStringLiteral("Cisnienie gazu za niskie"))) << polish.toStdString();

    choose("AngielskiGB");
    EXPECT_EQ(memo->toPlainText(), polish);

    live.applyLiveFrame(frame);
    EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("LPG pressure too low"))) << memo->toPlainText().toStdString();
}

} // namespace
